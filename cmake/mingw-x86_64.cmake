# The Windows program for x86_64, tested under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZEMBRA_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
