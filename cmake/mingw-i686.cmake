# Cross-compiling toolchain: 32-bit Windows, the program KIVO is.
set(KIVO_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
