#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, and nothing that is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  zip unzip python3 attr
  wine64
  clang libclang-rt-dev  # the fuzz targets: clang with libFuzzer and the sanitizers' runtime
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
