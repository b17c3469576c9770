# Data file catalogue and series alignment: no widgets, so the engine, the sibling modules,
# the tests and the benchmarks link it on its own.
add_library(plotcore_catalogue STATIC ${CMAKE_CURRENT_LIST_DIR}/CatalogoFicheros.cpp)
target_include_directories(plotcore_catalogue PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(plotcore_catalogue PUBLIC host)
plotcore_warnings(plotcore_catalogue)
target_link_libraries(plotcore_engine PUBLIC plotcore_catalogue)
