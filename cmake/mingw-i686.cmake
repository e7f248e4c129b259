# The shipped Windows program: 32-bit, tested under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZEMBRA_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
