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

# The rest of the program: the main window, the menu handler, the About dialog
# and the stored mode. The application object is not in here: it is built
# into Vantrel.exe itself, so that the linker takes it and the framework's
# entry point (a test program linking this library has neither).
if(TARGET vantrel_framework AND TARGET vantrel_registry AND TARGET vantrel_commandline)
    add_library(vantrel_program STATIC
        ${CMAKE_CURRENT_LIST_DIR}/AboutDialog.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ButtonModePolicy.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FilterWatch.cpp
        ${CMAKE_CURRENT_LIST_DIR}/IconRetry.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MainDialog.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RunningInstance.cpp
        ${CMAKE_CURRENT_LIST_DIR}/StoredButtonMode.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TrayMenuHandler.cpp)
    target_link_libraries(vantrel_program PUBLIC
        vantrel_tray vantrel_filter_binding vantrel_framework vantrel_registry gdi32 user32 wtsapi32 advapi32)
    vantrel_warnings(vantrel_program)

    add_executable(Vantrel WIN32 ${CMAKE_CURRENT_LIST_DIR}/VantrelApp.cpp)
    if(TARGET vantrel_resources)
        target_sources(Vantrel PRIVATE $<TARGET_OBJECTS:vantrel_resources>)
    endif()
    target_link_libraries(Vantrel PRIVATE
        vantrel_program vantrel_commandline vantrel_autostart comctl32 shell32 user32 advapi32 gdi32 wtsapi32)
    set_target_properties(Vantrel PROPERTIES OUTPUT_NAME Vantrel)
    vantrel_warnings(Vantrel)
    # The program loads VantrelDll.dll from its own folder at run time; building
    # it with the program puts it there.
    add_dependencies(Vantrel VantrelDll)
endif()
