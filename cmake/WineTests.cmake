# Running the tests of the Windows build under Wine.
#
# Included by tests/CMakeLists.txt (and win32/CMakeLists.txt) when cross-compiling. Gives:
#   - GoogleTest built for Windows from Debian's sources (/usr/src/googletest, package
#     googletest): GTest::gtest, GTest::gtest_main, and GTest::gmock, GTest::gmock_main,
#     which are only compiled when something links them;
#   - the tool korvane_launch (tools/win32_launch.cpp), which starts a GUI program and
#     checks its window appears, it stays up and it closes cleanly on WM_CLOSE;
#   - korvane_wine_test(TARGET [NAME test-name] [DPI n] [args...]): TARGET run under Wine as
#     a test, in the build tree's Wine prefix.
#
# The prefix, ${CMAKE_BINARY_DIR}/wine-prefix, is a CTest fixture: the test
# wine_prefix_start creates it when missing (about 7 s, 700 MB; later runs reuse it) and
# starts a persistent wineserver, so that each test starts in a fraction of a second instead
# of 3-4 s; wine_prefix_stop ends the server after the last test that needs it. ctest runs
# them on its own before and after the Wine tests, also for a single test (ctest -R).
# scripts/wine-prefix.sh does the work; it runs Wine headless (null graphics driver), with
# LANG=zh_CN.UTF-8 so that Wine picks a Simplified Chinese face for the UI fonts, and with
# LOCPATH naming the zh_CN.UTF-8 locale it compiles into ${CMAKE_BINARY_DIR}/locales: without
# a real glibc locale Wine runs in code page 1252 and Chinese file names fail.
#
# ctest and daemons: Wine starts helpers (rpcss.exe, explorer.exe /desktop) from the first
# program that needs them, and they outlive it. A helper that inherited a test's stdout would
# keep ctest waiting for the end of that output for ever. So the test programs run through
# `wine-prefix.sh exec`, which gives Wine a file for the output and copies it out when the
# program has ended, and the fixture starts the wineserver and the services detached.
#
# Screen resolution: Wine reports the dpi set in the prefix's registry,
# HKCU\Control Panel\Desktop, LogPixels (REG_DWORD; 96 by default). With the null graphics
# driver, LogPixels = 144 makes GetDeviceCaps(LOGPIXELSX), GetDpiForSystem and
# GetDpiForWindow all return 144, SM_CX*/SM_CY* metrics and the message font grow to match
# (lfHeight -11 -> -17), and the screen stays 1024 x 768. Wine 8 reads the value when a
# process starts, and it is one value per prefix: a per-test setting in the shared prefix
# would change the dpi under tests running in parallel. So `DPI n` runs the test in a second
# prefix, wine-prefix-<n>dpi, a copy of the first with LogPixels = n and its own wineserver
# (its own fixture; copying takes about 1-3 s, and only when a test asks for that dpi). The
# test is named TARGET_<n>dpi unless NAME is given, and finds the dpi it should see in the
# environment variable KORVANE_EXPECTED_DPI (96 in the main prefix), so that it can fail
# rather than pass at the wrong scale. The programs of one prefix share one desktop, and with
# it the focus and the foreground window: its tests hold the prefix's lock and run one at a
# time, so that a window of one test never takes the keys of another.
#
# Two things Wine 8 does not do as Windows does: it does not scale DPI-unaware programs (they
# too see 144), and every process reports itself per-monitor aware whatever its manifest
# says; the manifest's DPI settings and the look of bitmap-scaled windows need a real
# Windows to check.

include_guard(GLOBAL)

if(NOT CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "WineTests.cmake is for the Windows cross build (cmake --preset windows)")
endif()

# --- GoogleTest, cross-built -------------------------------------------------------------
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gmock_build_tests OFF CACHE BOOL "" FORCE)
# The static C++ runtime, like everything else in this build.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
include(${CMAKE_CURRENT_LIST_DIR}/CrossGoogleTest.cmake)

# --- the launcher --------------------------------------------------------------------------
add_executable(korvane_launch ${PROJECT_SOURCE_DIR}/tools/win32_launch.cpp)
# In the top of the build tree, where the scripts look for it.
set_target_properties(korvane_launch PROPERTIES OUTPUT_NAME launch RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_options(korvane_launch PRIVATE -municode)
target_link_libraries(korvane_launch PRIVATE version gdi32 user32)

# --- the Wine prefix fixture ---------------------------------------------------------------
# Cache entries, not variables: the functions below are called from other directories than
# the one this file was included in (include_guard skips it there).
set(KORVANE_WINE_SCRIPT ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh CACHE INTERNAL "")
set(KORVANE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE INTERNAL "")

# The fixture of the prefix at DPI (96: the main one). Defined once, where first needed.
function(korvane_wine_fixture dpi out_fixture out_prefix)
    if(dpi EQUAL 96)
        set(fixture korvane_wine)
        set(prefix ${KORVANE_WINE_PREFIX})
        set(suffix "")
    else()
        set(fixture korvane_wine_${dpi}dpi)
        set(prefix ${KORVANE_WINE_PREFIX}-${dpi}dpi)
        set(suffix _${dpi}dpi)
    endif()
    get_property(defined GLOBAL PROPERTY KORVANE_WINE_FIXTURE_${dpi} SET)
    if(NOT defined)
        set_property(GLOBAL PROPERTY KORVANE_WINE_FIXTURE_${dpi} ON)
        if(dpi EQUAL 96)
            add_test(NAME wine_prefix_start COMMAND bash ${KORVANE_WINE_SCRIPT} start ${prefix})
        else()
            korvane_wine_fixture(96 base_fixture base_prefix)
            add_test(NAME wine_prefix${suffix}_start
                     COMMAND bash ${KORVANE_WINE_SCRIPT} start ${prefix} --dpi ${dpi} --copy-of ${base_prefix})
            set_tests_properties(wine_prefix${suffix}_start PROPERTIES FIXTURES_REQUIRED ${base_fixture})
        endif()
        add_test(NAME wine_prefix${suffix}_stop COMMAND bash ${KORVANE_WINE_SCRIPT} stop ${prefix})
        set_tests_properties(wine_prefix${suffix}_start PROPERTIES
            FIXTURES_SETUP ${fixture} TIMEOUT 300 LABELS wine)
        set_tests_properties(wine_prefix${suffix}_stop PROPERTIES
            FIXTURES_CLEANUP ${fixture} TIMEOUT 60 LABELS wine)
    endif()
    set(${out_fixture} ${fixture} PARENT_SCOPE)
    set(${out_prefix} ${prefix} PARENT_SCOPE)
endfunction()

# korvane_wine_test(TARGET [NAME test-name] [DPI n] [TIMEOUT seconds] [args...])
#   Adds the test TARGET (or TARGET_<n>dpi, or test-name) running the Windows program
#   TARGET under Wine with the given arguments, in the fixture's prefix. Generator
#   expressions work in the arguments ($<TARGET_FILE:korvane>; Unix paths reach the program
#   as they are, launch.exe turns them into Z:\ paths).
function(korvane_wine_test target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;DPI;TIMEOUT" "")
    if(NOT TARGET ${target})
        message(FATAL_ERROR "korvane_wine_test: ${target} is not a target")
    endif()
    if(NOT DEFINED arg_DPI)
        set(arg_DPI 96)
    endif()
    if(NOT arg_DPI MATCHES "^[0-9]+$")
        message(FATAL_ERROR "korvane_wine_test: DPI ${arg_DPI} is not a number")
    endif()
    if(NOT DEFINED arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    elseif(NOT arg_TIMEOUT MATCHES "^[1-9][0-9]*$")
        message(FATAL_ERROR "korvane_wine_test: TIMEOUT ${arg_TIMEOUT} is not a number of seconds")
    endif()
    set(name ${target})
    if(DEFINED arg_NAME)
        set(name ${arg_NAME})
    elseif(NOT arg_DPI EQUAL 96)
        set(name ${target}_${arg_DPI}dpi)
    endif()
    korvane_wine_fixture(${arg_DPI} fixture prefix)

    # The target as command: CMake puts the target's emulator in front of it.
    set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR bash ${KORVANE_WINE_SCRIPT} exec)
    add_test(NAME ${name} COMMAND ${target} ${arg_UNPARSED_ARGUMENTS})
    # wine-prefix.sh exports the same values itself; they are here so that `ctest -V` shows
    # them and a test can be rerun by hand from its printed environment. The DLL overrides
    # keep Mono and Gecko from offering to install and keep winemenubuilder out of ~/.local.
    # The program itself is ended 10 s before ctest would end the test, so that the output
    # of a hung test is still shown.
    set(program_timeout ${arg_TIMEOUT})
    if(arg_TIMEOUT GREATER 20)
        math(EXPR program_timeout "${arg_TIMEOUT} - 10")
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "WINEPREFIX=${prefix};LANG=zh_CN.UTF-8;LOCPATH=${CMAKE_BINARY_DIR}/locales;WINEDEBUG=-all;WINEARCH=win64;WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d;KORVANE_WINE_TIMEOUT=${program_timeout};KORVANE_EXPECTED_DPI=${arg_DPI}"
        FIXTURES_REQUIRED ${fixture}
        RESOURCE_LOCK ${fixture}
        TIMEOUT ${arg_TIMEOUT}
        LABELS wine)
endfunction()
