# Cross-compiling for 64-bit Windows with mingw-w64 (Debian's g++-mingw-w64-x86-64-posix).
#
#   cmake --preset windows        or   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake ...
#
# The posix thread model is the one whose libstdc++ has std::thread and std::mutex. Every
# program is linked statically, so an .exe needs nothing beside it but system DLLs. The
# programs built here run under Wine (64-bit) as the cross-compiling emulator: ctest starts
# each test through it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVANE_MINGW_PREFIX}-windres)
# The gcc wrappers of ar and ranlib, so that archives of LTO objects work too.
set(CMAKE_AR ${KORVANE_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "archiver")
set(CMAKE_RANLIB ${KORVANE_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "ranlib")
set(CMAKE_OBJDUMP ${KORVANE_MINGW_PREFIX}-objdump CACHE FILEPATH "objdump")
set(CMAKE_STRIP ${KORVANE_MINGW_PREFIX}-strip CACHE FILEPATH "strip")

# Libraries and headers come from the mingw-w64 tree only; programs (cmake, python, wine,
# makensis) are the build machine's own.
set(CMAKE_FIND_ROOT_PATH /usr/${KORVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Unicode Win32 API (the W functions), no min/max macros from windows.h. _WIN32_WINNT says
# which Windows the headers may assume: 7 SP1. Anything newer (per-monitor DPI functions
# and the like) is looked up with GetProcAddress at run time, so that the program still
# starts there; a higher value would let such calls be imported directly by accident, and
# the loader would then refuse the .exe on older systems.
set(CMAKE_C_FLAGS_INIT "-DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601 -DNOMINMAX")
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE -D_WIN32_WINNT=0x0601 -DNOMINMAX")
# UTF-8 resource scripts (the Chinese strings of the version resource).
set(CMAKE_RC_FLAGS_INIT "-c 65001")

# No libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# ctest (and add_custom_command with a target as command) run the programs under Wine.
# wine64 itself: /usr/bin/wine is a wrapper that looks for a 32-bit Wine first.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
