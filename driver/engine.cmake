# The graph driver: TGrafica, its property pages, the appearance preferences and the window
# class table.
target_sources(plotcore_engine PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TGrafica.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PaginasGrafica.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Apariencia.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FabricaVentanas.cpp)
