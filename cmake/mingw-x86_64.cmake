# Cross-compiling toolchain: 64-bit Windows. KIVO is a 32-bit program; this build of the same sources lets its
# tests run on machines whose kernel starts no 32-bit program, under 64-bit Wine (tools/test.sh).
set(KIVO_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
