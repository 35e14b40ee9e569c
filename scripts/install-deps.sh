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
  # The Windows build: mingw-w64 (the -win32 compilers for the program, the -posix ones for the
  # tests), its zlib, GoogleTest's sources, and Wine to run the tests.
  g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  libz-mingw-w64-dev googletest wine
)
# 32-bit Wine runs the Windows suites as the 32-bit programs they ship as, but only where the
# host's kernel runs 32-bit programs; elsewhere it cannot even start, so it is asked for:
# TRANSVALE_WINE32=1 on such a host. Without it the suites run as 64-bit programs.
if [ "${TRANSVALE_WINE32:-}" = "1" ]; then packages+=(wine32:i386); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
