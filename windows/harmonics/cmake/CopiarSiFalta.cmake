# Copies ORIGEN to DESTINO unless DESTINO exists.
if(NOT EXISTS "${DESTINO}")
    get_filename_component(carpeta "${DESTINO}" DIRECTORY)
    file(MAKE_DIRECTORY "${carpeta}")
    file(COPY_FILE "${ORIGEN}" "${DESTINO}")
endif()
