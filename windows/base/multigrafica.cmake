# The multigraphic window and the read-out texts it shares with the other time-series windows.
target_sources(plotcore_engine PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LecturaCursor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DatosMultigrafica.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TWMiGrafica.cpp)
target_include_directories(plotcore_engine PUBLIC ${CMAKE_CURRENT_LIST_DIR})
