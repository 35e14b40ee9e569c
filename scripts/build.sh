#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), the benchmarks included so that they keep
# building. CI=true makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRANSVALE_WERROR=$werror -DTRANSVALE_BUILD_BENCH=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
