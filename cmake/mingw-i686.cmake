# Cross-compiling the Windows program with Debian's MinGW-w64 (32-bit, the shipped build).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One .exe that needs only Windows' own DLLs: the C++ runtime and threads linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# GCC 12 reports a false -Wrestrict inside std::string::assign at -O2 and above (GCC bug 105329).
set(CMAKE_CXX_FLAGS_INIT -Wno-restrict)
# No emulator: 32-bit Windows programs cannot run on the build machines (no 32-bit Wine).
