#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; in CI also every fuzz target
# for a short fixed number of runs on its seeds (scripts/fuzz.sh, a clang build of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
if [ "${CI:-}" = "true" ]; then bash scripts/fuzz.sh; fi
