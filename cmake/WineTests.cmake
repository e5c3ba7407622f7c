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

set(VANTREL_SESSION_DIR ${CMAKE_BINARY_DIR}/test-session)
set(VANTREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VANTREL_CAN_RUN_32BIT ${CMAKE_SOURCE_DIR}/scripts/can-run-32bit.sh)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(VANTREL_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTREL_WINE_RUN} CACHE FILEPATH "Runs Windows programs" FORCE)

foreach(action start stop)
    add_test(NAME ${VANTREL_ARCH}.session.${action}
        COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/test-session.sh ${action} ${VANTREL_SESSION_DIR} ${VANTREL_WINEPREFIX}
            ${VANTREL_ARCH})
endforeach()
set_tests_properties(${VANTREL_ARCH}.session.start PROPERTIES
    FIXTURES_SETUP wine_session_${VANTREL_ARCH} TIMEOUT 240 SKIP_RETURN_CODE ${VANTREL_SKIP_CODE})
set_tests_properties(${VANTREL_ARCH}.session.stop PROPERTIES
    FIXTURES_CLEANUP wine_session_${VANTREL_ARCH} TIMEOUT 60 SKIP_RETURN_CODE ${VANTREL_SKIP_CODE})

# vantrel_add_session_test(NAME [DESKTOP] [TIMEOUT s] COMMAND ...): a test that
# runs Windows programs of this tree in its session, named ARCH.NAME. DESKTOP
# marks tests that use real input, the tray or the foreground window: they
# never run side by side with another of the same tree (whose display they
# share), but may beside the other tree's, which has a display of its own.
function(vantrel_add_session_test name)
    cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "COMMAND" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 180)
    endif()
    add_test(NAME ${VANTREL_ARCH}.${name} COMMAND ${ARG_COMMAND})
    set_tests_properties(${VANTREL_ARCH}.${name} PROPERTIES FIXTURES_REQUIRED wine_session_${VANTREL_ARCH}
        TIMEOUT ${ARG_TIMEOUT} SKIP_RETURN_CODE ${VANTREL_SKIP_CODE})
    if(ARG_DESKTOP)
        set_tests_properties(${VANTREL_ARCH}.${name} PROPERTIES RESOURCE_LOCK desktop_${VANTREL_ARCH})
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
