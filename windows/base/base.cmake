# The generic graph window, its zoom history and its toolbar images.
target_sources(plotcore_engine PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TWGraficaGenerica.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HistorialZoom.cpp
    ${CMAKE_SOURCE_DIR}/resources/icons/iconos.qrc)
target_include_directories(plotcore_engine PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# SVG export of the chart.
target_link_libraries(plotcore_engine PRIVATE Qt6::Svg)
set_target_properties(plotcore_engine PROPERTIES AUTORCC ON)
