# Building for WebAssembly with Debian's clang-19, lld-19, libc++ for wasm32 and wasi-libc
# (scripts/web.sh uses this). The module has no JavaScript runtime of its own; the page, or Node
# for the tests, provides its few imports.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang-19)
set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_SYSROOT /usr)
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Debian's wasm32 C++ ABI library has no exceptions: the code reports failures by value there.
# Nothing asks for run-time type information, which would only weigh the module down.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti")
