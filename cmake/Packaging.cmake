# Release packages: Vantrel-<version>-win32.zip from the i686 build and
# Vantrel-<version>-win64.zip from the x86_64 build, each with a SHA-256 file.
# `cmake --build <tree> --target package` writes them into <tree>/packages.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(vantrel_package_platform win32)
else()
    set(vantrel_package_platform win64)
endif()

# Windows users open it in Notepad: CRLF line ends.
configure_file(${CMAKE_SOURCE_DIR}/cmake/package-readme.txt.in ${CMAKE_BINARY_DIR}/generated/README.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS VantrelDll RUNTIME DESTINATION . LIBRARY DESTINATION .)
if(TARGET Vantrel)
    install(TARGETS Vantrel RUNTIME DESTINATION .)
endif()
install(FILES ${CMAKE_BINARY_DIR}/generated/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vantrel)
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Vantrel-${PROJECT_VERSION}-${vantrel_package_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
include(CPack)
