# The 32-bit test build, run under 32-bit Wine (where the host kernel runs 32-bit programs).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TRANSVALE_MINGW_TRIPLE i686-w64-mingw32)
set(TRANSVALE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
