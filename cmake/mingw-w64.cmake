# Cross-compiling the Windows program with Debian's MinGW-w64; included by mingw-i686.cmake (the
# shipped 32-bit build) and mingw-x86_64.cmake, which name the processor and the Wine architecture.
set(CMAKE_SYSTEM_NAME Windows)
set(ZEMBRA_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEMBRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEMBRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEMBRA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEMBRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One .exe that needs only Windows' own DLLs: the C++ runtime and threads linked in, so it runs
# under Wine without the MinGW runtime DLLs too.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# GCC 12 reports a false -Wrestrict inside std::string::assign at -O2 and above (GCC bug 105329).
set(CMAKE_CXX_FLAGS_INIT -Wno-restrict)
# Tests run under Wine, with a prefix of the build's own architecture and an X display of the
# build's own (tools/wine/wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../tools/wine/wine-run;--arch;${ZEMBRA_WINE_ARCH};--root;${CMAKE_BINARY_DIR}/wine;--test")
