#!/usr/bin/env bash
# The Windows build's part of the tests: builds the shipped 32-bit binaries (build-win32), checks
# their imports against Windows 2000, and runs the Windows test suites (platform, component and
# the program's modules) under Wine, each in a fresh prefix, and the scenarios, each in a fresh
# copy of one prefix. Then the differential test: the native program (from the native build,
# $BUILD_DIR or build) and the Windows program under Wine, on one Wine prefix holding a sample
# machine, must leave the same results (scripts/wine_differential.py).
# The suites and the Windows program run as 32-bit programs where the host runs 32-bit Wine
# (build-win32-tests, build-win32), otherwise as 64-bit ones under 64-bit Wine (build-win64-tests):
# the same sources, the same backend. CI=true makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

TARGETS="parcelon parcelon-tool migration" JOBS=$jobs bash scripts/build-win32.sh
bash scripts/win32-imports.sh build-win32/bin/migration.exe build-win32/bin/parcelon-tool.exe \
  build-win32/bin/parcelon.dll >build-win32/imports.txt || {
  cat build-win32/imports.txt
  exit 1
}
grep -i 'not on' build-win32/imports.txt | sort -u || true

# The module suites that run under Wine; their native-only tests are named in their CMakeLists.
# The scenarios play under Wine too (scenario-run, scripts/wine-scenarios.sh).
module_suites="context_tests forms_tests script_tests scan_tests capture_tests restore_tests"
module_suites+=" frame_tests"

# A kernel without 32-bit support cannot start Debian's 32-bit Wine loader at all.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  toolchain=mingw-i686-tests tests_dir=build-win32-tests
  program_dir=build-win32/bin wine=/usr/lib/wine/wine wine_arch=win32 program_targets=
else
  echo "test-win32: this host runs no 32-bit programs; the suites run as 64-bit ones"
  toolchain=mingw-x86_64-tests tests_dir=build-win64-tests
  program_dir=build-win64-tests/bin wine=/usr/lib/wine/wine64 wine_arch=win64
  program_targets="parcelon parcelon-tool migration"
fi
TOOLCHAIN=$toolchain BUILD_DIR=$tests_dir BUILD_TYPE=None JOBS=$jobs \
  TARGETS="platform_tests parcelon_tests $module_suites scenario-run $program_targets" \
  bash scripts/build-win32.sh -DTRANSVALE_BUILD_TESTS=ON
(cd "$tests_dir" && ctest -L wine-suite --output-on-failure -j "$jobs")
WINE=$wine WINEARCH=$wine_arch python3 scripts/wine_differential.py "${BUILD_DIR:-build}/bin" \
  "$program_dir" "$tests_dir/wine-differential"
echo "test-win32: done in ${SECONDS}s"
