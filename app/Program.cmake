# Vantrel.exe and the libraries its parts are built in; the test programs link
# the same libraries.

# The notification icon, its handlers and the popup menu's check marks: Win32
# and the framework's object base only.
add_library(vantrel_tray STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ModeMenuChecks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NotifyIconRecord.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegisteredMessages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrayIcon.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrayIconHandler.cpp)
target_include_directories(vantrel_tray PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/framework)
target_link_libraries(vantrel_tray PUBLIC shell32 user32)
vantrel_warnings(vantrel_tray)

# Binding of the filter library at run time: only its header is used, never
# its import library.
add_library(vantrel_filter_binding STATIC
    ${CMAKE_CURRENT_LIST_DIR}/FilterLibrary.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModulePath.cpp)
target_include_directories(vantrel_filter_binding PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/filter)
vantrel_warnings(vantrel_filter_binding)
