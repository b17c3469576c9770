# Recording files, data drivers, the demonstration recording and CSV import: the host
# application's side of the data, kept free of widgets so tests and tools link it directly.
add_library(kestramon_data STATIC
    ${CMAKE_CURRENT_LIST_DIR}/data/Recording.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data/RecordingFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data/DataDrivers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data/DemoRecording.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data/CsvImport.cpp)
target_include_directories(kestramon_data PUBLIC ${CMAKE_CURRENT_LIST_DIR}/data)
target_link_libraries(kestramon_data PUBLIC host SQLite::SQLite3 Qt6::Core)
plotcore_warnings(kestramon_data)
