# Cross build of the 32-bit Windows programs with MinGW-w64: the products.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Doubles computed in SSE2 registers, not the x87 stack's 80 bits: the same figures as every other
# build (a volume near the largest double overflows to infinity instead of surviving in extended
# precision and printing as a 300-digit number).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
