# Intake of the chosen variables and their distribution into graph windows.
target_sources(plotcore_engine PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Intake.cpp ${CMAKE_CURRENT_LIST_DIR}/Reparto.cpp)
