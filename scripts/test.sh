#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite, then the Windows build and its
# suites under Wine (scripts/test-win32.sh); in CI also every fuzz target
# for a short fixed number of runs on its seeds (scripts/fuzz.sh, a clang build of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
# The Windows build: the shipped binaries and their imports, the suites under Wine.
bash scripts/test-win32.sh
if [ "${CI:-}" = "true" ]; then bash scripts/fuzz.sh; fi
