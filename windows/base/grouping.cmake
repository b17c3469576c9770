# Interval cutting and grouping rules: no widgets, shared by the engine and the sibling modules.
add_library(plotcore_grouping STATIC ${CMAKE_CURRENT_LIST_DIR}/Agrupacion.cpp)
target_include_directories(plotcore_grouping PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(plotcore_grouping PUBLIC host plotcore_resources)
plotcore_warnings(plotcore_grouping)
target_link_libraries(plotcore_engine PUBLIC plotcore_grouping)
