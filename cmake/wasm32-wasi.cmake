# Building the toolkit-free libraries and their tests for WebAssembly (wasm32-wasi) with
# Debian 12's own packages: clang-14 and lld-14, wasi-libc, libc++-14-dev-wasm32,
# libc++abi-14-dev-wasm32 and libclang-rt-14-dev-wasm32, all under the sysroot /usr.
#
#   cmake --preset wasm        or   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake ...
#
# Programs are WASI command modules (.wasm) for preview1; ctest runs them under node
# (scripts/wasi-run.mjs, node:wasi). Nothing here may need what a browser lacks: no
# exceptions (libc++abi for wasm32 has no unwinder, so a throw would not even link), no
# threads, no processes.

set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# wasi-libc and libc++ for wasm32 live in /usr/include/wasm32-wasi and /usr/lib/wasm32-wasi,
# which clang finds under this sysroot.
set(CMAKE_SYSROOT /usr)
set(CMAKE_AR llvm-ar-14 CACHE FILEPATH "archiver")
set(CMAKE_RANLIB llvm-ranlib-14 CACHE FILEPATH "ranlib")

set(CMAKE_EXECUTABLE_SUFFIX_C .wasm)
set(CMAKE_EXECUTABLE_SUFFIX_CXX .wasm)

set(CMAKE_C_FLAGS_INIT "-fno-exceptions")
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
# The stack (1 MiB; wasm-ld's default is 64 KiB) goes below the static data, so that running
# past its end traps at address zero instead of silently overwriting globals.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--stack-first -Wl,-z,stack-size=1048576")

# Headers and libraries come from the sysroot; programs (node) are the build machine's own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest (and add_custom_command with a target as command) run the programs under node.
# --no-warnings: node:wasi announces on every start that it is experimental.
get_filename_component(KORVANE_WASI_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wasi-run.mjs ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-warnings ${KORVANE_WASI_RUN})
