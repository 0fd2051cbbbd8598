# 64-bit Windows build of the same sources. The products are the 32-bit build; this one exists so
# that the Windows test programs can run under a Wine that has no 32-bit loader (machines whose
# kernel runs no 32-bit programs).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
