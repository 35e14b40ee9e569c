#!/usr/bin/env bash
# Cross-builds the Windows program into build-win32/ (or $BUILD_DIR): parcelon.dll,
# parcelon-tool.exe and migration.exe, 32-bit, for Windows 95/98/NT/2000, with the runtime linked
# in. Extra arguments go to cmake (-DTRANSVALE_BUILD_TESTS=ON builds the suites too). CI=true
# makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build-win32}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/${TOOLCHAIN:-mingw-i686}.cmake" \
  -DTRANSVALE_WERROR=$werror -DTRANSVALE_BUILD_TESTS=OFF "$@" >/dev/null
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" ${TARGETS:+--target $TARGETS}
