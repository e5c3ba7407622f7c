# Windows test programs run through Wine, in a prefix of this build tree and on
# a private Xvfb display that a CTest fixture starts before the first test and
# stops after the last one, also when tests fail or time out.

set(VANTREL_SESSION_DIR ${CMAKE_BINARY_DIR}/test-session)
set(VANTREL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(VANTREL_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTREL_WINE_RUN} CACHE FILEPATH "Runs Windows programs" FORCE)

add_test(NAME session.start
    COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/test-session.sh start ${VANTREL_SESSION_DIR} ${VANTREL_WINEPREFIX})
add_test(NAME session.stop
    COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/test-session.sh stop ${VANTREL_SESSION_DIR} ${VANTREL_WINEPREFIX})
set_tests_properties(session.start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 240)
set_tests_properties(session.stop PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 60)

# vantrel_add_wine_test(NAME SOURCES ... [LIBRARIES ...] [TIMEOUT s] [DESKTOP])
# One CTest test per GoogleTest program. DESKTOP marks programs that use real
# input, the tray or the foreground window: they never run side by side.
function(vantrel_add_wine_test name)
    cmake_parse_arguments(ARG "DESKTOP" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} vantrel_test_support GTest::gtest GTest::gtest_main)
    vantrel_warnings(${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 180)
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_session TIMEOUT ${ARG_TIMEOUT})
    if(ARG_DESKTOP)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
endfunction()
