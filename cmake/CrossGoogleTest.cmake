# GoogleTest built for the target of a cross build (Windows, WebAssembly) from Debian's
# sources (/usr/src/googletest, package googletest): static, and excluded from `all`, so
# built only as a dependency of the tests that link it; compiled without the project's
# warning options, which are not GoogleTest's business. Set GoogleTest's own options for the
# target before including this.
include_guard(GLOBAL)

set(KORVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${KORVANE_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${KORVANE_GOOGLETEST_SOURCE}: apt-get install googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_build_tests OFF CACHE BOOL "" FORCE)
set(gtest_build_samples OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF)
set(korvane_saved_compile_options "")
get_directory_property(korvane_saved_compile_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${KORVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${korvane_saved_compile_options}")
foreach(korvane_target IN ITEMS gtest gtest_main)
    if(NOT TARGET ${korvane_target})
        message(FATAL_ERROR "GoogleTest from ${KORVANE_GOOGLETEST_SOURCE} did not define ${korvane_target}")
    endif()
endforeach()
