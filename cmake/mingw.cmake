# Cross-compiling toolchain: Windows with MinGW-w64 (posix threads, static runtime), for the processor the
# including toolchain file names in KIVO_MINGW_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KIVO_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${KIVO_MINGW_PROCESSOR}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIVO_MINGW_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KIVO_MINGW_PROCESSOR}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIVO_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# SSE2 arithmetic so results never depend on x87 excess precision; DWARF 4 so backtraces name functions.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -gdwarf-4")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -gdwarf-4")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
