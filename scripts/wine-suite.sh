#!/usr/bin/env bash
# Runs one Windows test program under Wine, in a Wine prefix made for it alone and removed
# afterwards, so that no suite sees what another left on the machine. Usage:
#   wine-suite.sh WINE WINEARCH PROGRAM [ARGUMENTS...]
# WINE is the loader (wine, or wine64 where the host runs no 32-bit programs), WINEARCH win32 or
# win64.
set -euo pipefail
wine=$1 arch=$2
shift 2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/transvale-wine.XXXXXX")
export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
# The prefix is made before the program starts, so that its output is the program's alone.
"$wine" wineboot -i >/dev/null 2>&1
"$wine" "$@"
