# Cross-compiling the Windows program with Debian's MinGW-w64 (64-bit; runs under wine64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every .exe is linked statically, so it runs under Wine without the MinGW runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# GCC 12 reports a false -Wrestrict inside std::string::assign at -O2 and above (GCC bug 105329).
set(CMAKE_CXX_FLAGS_INIT -Wno-restrict)
# Tests run under wine64, with a prefix and an X display of this build's own (tools/wine/wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine/wine-run;--root;${CMAKE_BINARY_DIR}/wine;--test")
