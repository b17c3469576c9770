# COMTRADE import: its own folder and library (app/comtrade).
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/comtrade ${CMAKE_CURRENT_BINARY_DIR}/comtrade)
