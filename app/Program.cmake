# Vantrel.exe and the libraries its parts are built in; the test programs link
# the same libraries. A library's include directories are the folders of the
# parts it uses, so that every header is included by its name alone.

# The notification icon, its handlers, the icon's retries and the popup
# menu's check marks: Win32 and the framework's object base only.
add_library(vantrel_tray STATIC tray/IconRetry.cpp tray/ModeMenuChecks.cpp tray/NotifyIconRecord.cpp
    tray/RegisteredMessages.cpp tray/TrayIcon.cpp tray/TrayIconHandler.cpp)
target_include_directories(vantrel_tray PUBLIC tray mode resources framework)
target_link_libraries(vantrel_tray PUBLIC shell32 user32)
vantrel_warnings(vantrel_tray)

# Binding of the filter library at run time: only its header is used, never
# its import library.
add_library(vantrel_filter_binding STATIC hook/FilterLibrary.cpp startup/ModulePath.cpp)
target_include_directories(vantrel_filter_binding PUBLIC hook mode startup ${CMAKE_SOURCE_DIR}/filter)
vantrel_warnings(vantrel_filter_binding)

# The rest of the program but the application object, which is built into
# Vantrel.exe itself, so that the linker takes it and the framework's entry
# point (a test program linking this library has neither).
# The programs where the buttons work as usual, their storage and policy
# lists, and the names of programs with a window now: Win32 only.
add_library(vantrel_normal_programs STATIC settings/NormalPrograms.cpp settings/RunningPrograms.cpp)
target_include_directories(vantrel_normal_programs PUBLIC settings ${CMAKE_SOURCE_DIR}/filter)
target_link_libraries(vantrel_normal_programs PUBLIC user32 advapi32 version)
vantrel_warnings(vantrel_normal_programs)

add_library(vantrel_program STATIC AboutDialog.cpp MainDialog.cpp hook/FilterWatch.cpp mode/ButtonModePolicy.cpp
    mode/InputSettings.cpp mode/InputSettingsInForce.cpp mode/StoredButtonMode.cpp mode/ToggleHotkey.cpp
    settings/SettingsDialog.cpp startup/RunningInstance.cpp tray/TrayMenuHandler.cpp)
target_include_directories(vantrel_program PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vantrel_program PUBLIC vantrel_tray vantrel_filter_binding vantrel_normal_programs
    vantrel_framework vantrel_registry gdi32 user32 wtsapi32 advapi32)
vantrel_warnings(vantrel_program)

add_executable(Vantrel WIN32 VantrelApp.cpp $<TARGET_OBJECTS:vantrel_resources>)
target_link_libraries(Vantrel PRIVATE
    vantrel_program vantrel_commandline vantrel_autostart comctl32 shell32 user32 advapi32 gdi32 wtsapi32 version)
set_target_properties(Vantrel PROPERTIES OUTPUT_NAME Vantrel)
vantrel_warnings(Vantrel)
# The program loads VantrelDll.dll from its own folder at run time; building
# it with the program puts it there.
add_dependencies(Vantrel VantrelDll)
