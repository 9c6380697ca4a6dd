# hwsense for Windows: hwsense.dll cross-compiled with mingw-w64 from the same sources, in a build
# of its own in windows/ of the build tree, and its tests run under wine through CTest. Each part
# is left out, with a line saying why, when this machine lacks what it needs.
if("hwsense" IN_LIST QUORVEX_SKIP_DIRS)
    return()
endif()

find_program(QUORVEX_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT QUORVEX_MINGW_CXX)
    message(STATUS "hwsense for Windows: not built, no mingw-w64 cross compiler "
                   "(x86_64-w64-mingw32-g++-posix)")
    return()
endif()

# The Windows tests are built with GoogleTest from its sources, which the Debian package of the
# Linux GoogleTest brings along.
set(QUORVEX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(windows_gtest_source_dir ${QUORVEX_GTEST_SOURCE_DIR})
if(NOT EXISTS ${QUORVEX_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(STATUS "hwsense for Windows: tests not built, no GoogleTest sources in "
                   "${QUORVEX_GTEST_SOURCE_DIR}")
    set(windows_gtest_source_dir "")
endif()

set(QUORVEX_WINDOWS_BUILD_DIR ${CMAKE_BINARY_DIR}/windows)
include(ExternalProject)
ExternalProject_Add(hwsense_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/windows
    BINARY_DIR ${QUORVEX_WINDOWS_BUILD_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DQUORVEX_GTEST_SOURCE_DIR=${windows_gtest_source_dir}
    # The inner build knows its own sources; asking it every time is what keeps it current.
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
message(STATUS "hwsense for Windows: built into ${QUORVEX_WINDOWS_BUILD_DIR}/bin")

if(NOT windows_gtest_source_dir)
    return()
endif()
find_program(QUORVEX_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(NOT QUORVEX_WINE)
    message(STATUS "hwsense for Windows: tests built but not run, no wine (wine64)")
    return()
endif()

# Wine sets up its prefix, a Windows installation of its own, on the first run: that takes some
# seconds and is done once per build tree. Nothing here needs a display, nor wine's .NET or web
# browser replacements, whose installers it would otherwise offer to fetch on that first run.
add_test(NAME hwsense_windows_test
    COMMAND ${QUORVEX_WINE} ${QUORVEX_WINDOWS_BUILD_DIR}/tests/hwsense_windows_test.exe)
set_tests_properties(hwsense_windows_test PROPERTIES
    ENVIRONMENT "WINEPREFIX=${QUORVEX_WINDOWS_BUILD_DIR}/wineprefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml="
    ENVIRONMENT_MODIFICATION "DISPLAY=unset:;WAYLAND_DISPLAY=unset:"
    TIMEOUT 300)
message(STATUS "hwsense for Windows: tests run under ${QUORVEX_WINE}")
