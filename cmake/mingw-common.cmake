# What the mingw-w64 toolchains share; TRANSVALE_MINGW_TRIPLE names the target and
# TRANSVALE_MINGW_THREADS the compilers' thread model before this is included. The shipped program
# is built with the "-win32" compilers, whose runtime imports nothing Windows 95/98/NT/2000 lack
# (the "-posix" runtime needs GetTickCount64 and AddVectoredExceptionHandler), at the price of
# std::thread and std::mutex: the program reaches threads through the platform layer only. The
# test builds take the "-posix" ones, because GoogleTest on Windows needs std::mutex; they run
# under Wine, which has every function, and the shipped build proves the code needs no more.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TRANSVALE_MINGW_TRIPLE}-gcc-${TRANSVALE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TRANSVALE_MINGW_TRIPLE}-g++-${TRANSVALE_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TRANSVALE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRANSVALE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run from a share on machines where nothing is installed: the compiler's runtime
# and zlib are linked in.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
