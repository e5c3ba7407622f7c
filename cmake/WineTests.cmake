# Windows test programs run through Wine, in a prefix of this build tree and on
# a private Xvfb display that a CTest fixture starts before the first test and
# stops after the last one, also when tests fail or time out.
#
# Both build trees carry the tests, and build/CTestTestfile.cmake runs them as
# one suite: every name, session fixture and desktop lock carries the tree's
# architecture, so a failure says which build failed and the two trees'
# sessions (display, prefix, Wine server) never meet. The i686 tests run under
# 32-bit Wine in a 64-bit prefix of their own, as 32-bit Windows runs them.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(VANTREL_ARCH i686)
    set(VANTREL_WINE_LOADER /usr/lib/wine/wine)
else()
    set(VANTREL_ARCH x86_64)
    set(VANTREL_WINE_LOADER /usr/lib/wine/wine64)
endif()
# What the run scripts exit with when this machine cannot run the tree's
# programs: CTest then reports the test as skipped, never as passed.
set(VANTREL_SKIP_CODE 77)

# Lanes: a tree's tests run in VANTREL_TEST_LANES sessions side by side, each
# with its own display, prefix and Wine server, so that desktop tests of
# different lanes never meet. A desktop test spends most of its time waiting
# on Wine and the tray rather than computing, so two cores serve more lanes.
set(VANTREL_TEST_LANES 3 CACHE STRING "Sessions (display, prefix, Wine server) that a tree's tests share out")
set(VANTREL_SESSION_DIR ${CMAKE_BINARY_DIR}/test-session)
set(VANTREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VANTREL_CAN_RUN_32BIT ${CMAKE_SOURCE_DIR}/scripts/can-run-32bit.sh)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(VANTREL_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTREL_WINE_RUN} CACHE FILEPATH "Runs Windows programs" FORCE)

# Lane N uses VANTREL_SESSION_DIR-N and VANTREL_WINEPREFIX-N (wine-run.sh picks
# them by VANTREL_TEST_LANE). Each lane's prefix is a copy of one made once per
# tree (VANTREL_WINEPREFIX-template): wineboot costs far more than a copy.
# TrayKeeper holds an icon in each lane's tray (why: tests/support/TrayKeeper.cpp).
add_executable(TrayKeeper WIN32 ${CMAKE_SOURCE_DIR}/tests/support/TrayKeeper.cpp)
target_link_libraries(TrayKeeper PRIVATE shell32 user32)
vantrel_warnings(TrayKeeper)
foreach(lane RANGE 1 ${VANTREL_TEST_LANES})
    foreach(action start stop)
        add_test(NAME ${VANTREL_ARCH}.session${lane}.${action}
            COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/test-session.sh ${action} ${VANTREL_SESSION_DIR}-${lane}
                ${VANTREL_WINEPREFIX}-${lane} ${VANTREL_ARCH} ${VANTREL_WINEPREFIX}-template $<TARGET_FILE:TrayKeeper>)
    endforeach()
    set_tests_properties(${VANTREL_ARCH}.session${lane}.start PROPERTIES
        FIXTURES_SETUP wine_session_${VANTREL_ARCH}_${lane} TIMEOUT 240 SKIP_RETURN_CODE ${VANTREL_SKIP_CODE})
    set_tests_properties(${VANTREL_ARCH}.session${lane}.stop PROPERTIES
        FIXTURES_CLEANUP wine_session_${VANTREL_ARCH}_${lane} TIMEOUT 60 SKIP_RETURN_CODE ${VANTREL_SKIP_CODE})
    set_property(GLOBAL PROPERTY vantrel_lane_load_${lane} 0)
endforeach()

# Seconds each long program took (2-core machine, three lanes), longest first:
# each goes to the lane with the least work so far, so that the lanes end
# together. Programs not listed count as short and are shared out alike.
set(vantrel_test_seconds
    e2e_soak_tests 195 e2e_mode_tests 110 e2e_filter_library_tests 69 e2e_stored_mode_number_tests 67
    e2e_settings_tests 65 e2e_stored_mode_text_tests 64 e2e_exit_tests 38 e2e_tray_tests 35 program_desktop_tests 32
    e2e_stored_mode_edge_tests 31 e2e_nested_loop_tests 28 framework_dialog_tests 20 commandline_run_tests 17
    e2e_harness_tests 16 e2e_about_tests 13 filter_tests 13 bench_smoke 11 framework_loop_tests 7)
set(vantrel_short_test_seconds 3)

# vantrel_take_lane(NAME SECONDS OUT): the least loaded lane, now loaded with NAME.
function(vantrel_take_lane name seconds out)
    set(best 1)
    get_property(bestLoad GLOBAL PROPERTY vantrel_lane_load_1)
    foreach(lane RANGE 1 ${VANTREL_TEST_LANES})
        get_property(load GLOBAL PROPERTY vantrel_lane_load_${lane})
        if(load LESS bestLoad)
            set(best ${lane})
            set(bestLoad ${load})
        endif()
    endforeach()
    math(EXPR bestLoad "${bestLoad} + ${seconds}")
    set_property(GLOBAL PROPERTY vantrel_lane_load_${best} ${bestLoad})
    set_property(GLOBAL PROPERTY vantrel_lane_of_${name} ${best})
    set(${out} ${best} PARENT_SCOPE)
endfunction()

set(vantrel_pairs ${vantrel_test_seconds})
while(vantrel_pairs)
    list(POP_FRONT vantrel_pairs vantrel_name vantrel_seconds)
    vantrel_take_lane(${vantrel_name} ${vantrel_seconds} vantrel_lane)
endwhile()

# vantrel_add_session_test(NAME [DESKTOP] [TIMEOUT s] COMMAND ...): a test that
# runs Windows programs of this tree in its session, named ARCH.NAME. DESKTOP
# marks tests that use real input, the tray or the foreground window: they
# never run side by side with another of the same lane (whose display they
# share), but may beside other lanes' and the other tree's, which have
# displays of their own.
function(vantrel_add_session_test name)
    cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "COMMAND" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 180)
    endif()
    get_property(lane GLOBAL PROPERTY vantrel_lane_of_${name})
    if(NOT lane)
        vantrel_take_lane(${name} ${vantrel_short_test_seconds} lane)
    endif()
    add_test(NAME ${VANTREL_ARCH}.${name} COMMAND ${ARG_COMMAND})
    set_tests_properties(${VANTREL_ARCH}.${name} PROPERTIES FIXTURES_REQUIRED wine_session_${VANTREL_ARCH}_${lane}
        ENVIRONMENT VANTREL_TEST_LANE=${lane} TIMEOUT ${ARG_TIMEOUT} SKIP_RETURN_CODE ${VANTREL_SKIP_CODE})
    if(ARG_DESKTOP)
        set_tests_properties(${VANTREL_ARCH}.${name} PROPERTIES RESOURCE_LOCK desktop_${VANTREL_ARCH}_${lane})
    endif()
endfunction()

# vantrel_add_wine_test(NAME SOURCES ... [LIBRARIES ...] [TIMEOUT s] [DESKTOP])
# One GoogleTest program, run by CTest as ARCH.NAME in each build tree.
function(vantrel_add_wine_test name)
    cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} vantrel_test_support GTest::gtest GTest::gtest_main)
    vantrel_warnings(${name})
    set(desktop "")
    if(ARG_DESKTOP)
        set(desktop DESKTOP)
    endif()
    set(timeout "")
    if(ARG_TIMEOUT)
        set(timeout TIMEOUT ${ARG_TIMEOUT})
    endif()
    vantrel_add_session_test(${name} ${desktop} ${timeout} COMMAND ${name} --gtest_color=no)
endfunction()
