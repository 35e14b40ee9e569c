# The Windows program: 32-bit, for Windows 95/98/NT/2000 (cmake -DCMAKE_TOOLCHAIN_FILE=...).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TRANSVALE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# 32-bit Wine runs the tests where the host kernel runs 32-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
