# The host application's main window and property editor.
add_library(kestramon_gui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/gui/MainWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gui/PropertyDock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gui/RecordingSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gui/GraphWindowDriver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gui/GuiApp.cpp)
target_include_directories(kestramon_gui PUBLIC ${CMAKE_CURRENT_LIST_DIR}/gui)
target_link_libraries(kestramon_gui PUBLIC plotcore_hostui kestramon_data host plotcore_resources Qt6::Widgets)
set_target_properties(kestramon_gui PROPERTIES AUTOMOC ON)
plotcore_warnings(kestramon_gui)
