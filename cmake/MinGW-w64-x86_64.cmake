# Cross build for 64-bit Windows with the MinGW-w64 compilers of Debian (g++-mingw-w64-x86-64-posix:
# the POSIX thread model, which std::thread and std::mutex need). There is no Qt for Windows here,
# so configure with -DQPX_WITH_QT=OFF. Libraries are looked up in the MinGW tree and in
# QPX_WINDOWS_PREFIX (where tools/run-windows-tests.sh installs GoogleTest and the CLI11 headers),
# never in the Linux tree.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${QPX_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The test executables run on a machine without the MinGW runtime DLLs; linking the C++ and GCC
# runtimes statically makes each .exe stand alone (under wine and on a real Windows).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")

# CTest and gtest_discover_tests run the executables through this.
find_program(QPX_WINE NAMES wine wine64)
if(QPX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QPX_WINE})
endif()
