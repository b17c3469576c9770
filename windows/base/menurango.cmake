# The print-range dialog.
target_sources(plotcore_engine PRIVATE ${CMAKE_CURRENT_LIST_DIR}/TMenuRang.h ${CMAKE_CURRENT_LIST_DIR}/TMenuRang.cpp)
