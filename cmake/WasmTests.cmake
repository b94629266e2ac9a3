# Running the tests of the WebAssembly build under node.
#
# Included by tests/CMakeLists.txt when building for wasm32 (cmake --preset wasm). Gives:
#   - GoogleTest built for wasm32-wasi from Debian's sources (/usr/src/googletest, package
#     googletest): GTest::gtest and GTest::gtest_main, compiled only when something links
#     them;
#   - korvane_wasm_test(TARGET [NAME test-name] [TIMEOUT seconds] [args...]): TARGET run under
#     node as one test (the toolchain's emulator, scripts/wasi-run.mjs, runs it).
#
# WASI preview1 has no threads, no processes, no signals and no dup(), and the build has no
# exceptions, so GoogleTest goes without pthreads, stream redirection (dup) and exceptions;
# death tests it leaves out by itself on a system it does not know. Its headers declare by
# the same settings, so the definitions reach every test that links it.
#
# Each program is one ctest test: listing the tests of a program would mean starting node
# once more per program at build time, and per-test runs would start it once per test.

include_guard(GLOBAL)

if(NOT CMAKE_SYSTEM_PROCESSOR MATCHES "^wasm")
    message(FATAL_ERROR "WasmTests.cmake is for the WebAssembly build (cmake --preset wasm)")
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
include(${CMAKE_CURRENT_LIST_DIR}/CrossGoogleTest.cmake)
foreach(korvane_target IN ITEMS gtest gtest_main)
    # GoogleTest's own build asks for -fexceptions whatever the toolchain says, and its
    # throws would not link here.
    get_target_property(korvane_flags ${korvane_target} COMPILE_FLAGS)
    if(korvane_flags)
        string(REPLACE "-fexceptions" "-fno-exceptions" korvane_flags "${korvane_flags}")
        set_target_properties(${korvane_target} PROPERTIES COMPILE_FLAGS "${korvane_flags}")
    endif()
endforeach()
target_compile_definitions(gtest PUBLIC GTEST_HAS_EXCEPTIONS=0 GTEST_HAS_PTHREAD=0
                                        GTEST_HAS_STREAM_REDIRECTION=0)

# korvane_wasm_test(TARGET [NAME test-name] [TIMEOUT seconds] [args...])
#   Adds the test TARGET (or test-name) running the program TARGET under node with the given
#   arguments, in the directory of the calling CMakeLists.txt's build tree.
function(korvane_wasm_test target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;TIMEOUT" "")
    if(NOT TARGET ${target})
        message(FATAL_ERROR "korvane_wasm_test: ${target} is not a target")
    endif()
    if(NOT DEFINED arg_NAME)
        set(arg_NAME ${target})
    endif()
    if(NOT DEFINED arg_TIMEOUT)
        set(arg_TIMEOUT 300)
    elseif(NOT arg_TIMEOUT MATCHES "^[1-9][0-9]*$")
        message(FATAL_ERROR "korvane_wasm_test: TIMEOUT ${arg_TIMEOUT} is not a number of seconds")
    endif()
    # The target as command: CMake puts the toolchain's emulator (node) in front of it.
    add_test(NAME ${arg_NAME} COMMAND ${target} ${arg_UNPARSED_ARGUMENTS})
    set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT ${arg_TIMEOUT} LABELS wasm)
endfunction()
