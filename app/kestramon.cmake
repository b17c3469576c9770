# The host application executable.
add_executable(kestramon ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(kestramon PRIVATE kestramon_gui kestramon_comtrade kestramon_data host Qt6::Widgets)
set_target_properties(kestramon PROPERTIES AUTOMOC ON)
plotcore_warnings(kestramon)
