# What the two mingw-w64 toolchains share; TRANSVALE_MINGW_TRIPLE names the target before this is
# included. The "-win32" compilers are the ones whose runtime imports nothing Windows 95/98/NT/2000
# lack (the "-posix" runtime needs GetTickCount64 and AddVectoredExceptionHandler), at the price of
# std::thread and std::mutex: the Windows build reaches threads through the platform layer only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TRANSVALE_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TRANSVALE_MINGW_TRIPLE}-g++-win32)
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
