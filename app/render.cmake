# The headless main job: every graph of a recording rendered to image files.
target_sources(kestramon PRIVATE ${CMAKE_CURRENT_LIST_DIR}/render/RenderJob.cpp)
target_include_directories(kestramon PRIVATE ${CMAKE_CURRENT_LIST_DIR}/render)
