# Copies SRC to DST only when DST does not exist: the user's own intervals file is never
# replaced by the shipped one.
if(NOT EXISTS "${DST}")
    configure_file("${SRC}" "${DST}" COPYONLY)
endif()
