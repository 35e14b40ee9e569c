# The same sources as a 64-bit Windows build, only to run the tests under 64-bit Wine on hosts
# whose kernel cannot run 32-bit programs (and so no 32-bit Wine). Nothing of it is shipped.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TRANSVALE_MINGW_TRIPLE x86_64-w64-mingw32)
set(TRANSVALE_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Debian's "wine" starts the 32-bit loader whenever it is installed; call the 64-bit one.
find_program(TRANSVALE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TRANSVALE_WINE64 NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TRANSVALE_WINE64})
