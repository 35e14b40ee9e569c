#!/usr/bin/env bash
# Plays scenario files with the Windows build's scenario-run under Wine, each in a fresh copy of
# one Wine prefix made at the start (a copy costs a fraction of a second, a new prefix many), so
# that no scenario sees what another left on the machine. Usage:
#   wine-scenarios.sh WINE WINEARCH PROGRAM FILE.scenario...
# A scenario whose machine only the simulated machine makes (further drives, shares, printers) is
# counted as the native suite's, with its reason; one that is the native suite's for what Wine
# does is named in tools/scenario/native-only-scenarios.txt. Any other that does not pass fails
# the run. JOBS scenarios play at a time (default: the number of processors).
set -euo pipefail
wine=$1 arch=$2 program=$(realpath "$3")
shift 3
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/transvale-scenarios.XXXXXX")
export WINEARCH=$arch WINEDEBUG=-all wine program work
cleanup() {
  WINEPREFIX=$work/template wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
WINEPREFIX=$work/template "$wine" wineboot -i >/dev/null 2>&1
WINEPREFIX=$work/template wineserver -w

# One scenario in its own copy of the prefix; appends "STATUS FILE" to the results and keeps the
# output of one that did not pass.
play() {
  local file=$1 prefix status=0
  prefix=$(mktemp -d "$work/run.XXXXXX")
  # Wine's own programs and libraries (most of the prefix) are shared, as nothing writes to them;
  # the rest is copied. The driver starts in C:\, so that C: is its current drive, as on the
  # machines the program serves.
  tar -C "$work/template" --exclude=./drive_c/windows/system32 -cf - . | tar -C "$prefix" -xf -
  cp -al "$work/template/drive_c/windows/system32" "$prefix/drive_c/windows/"
  # A scenario that hangs (a program it starts waiting for someone) fails after five minutes.
  (cd "$prefix/drive_c" && WINEPREFIX=$prefix timeout 300 "$wine" "$program" \
    "Z:${file//\//\\}" >"$prefix.out" 2>&1) || status=$?
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  if [ "$status" != 0 ]; then
    { echo "== $file (exit $status)"; cat "$prefix.out"; } >>"$work/output"
  fi
  echo "$status $file" >>"$work/results"
  rm -rf "$prefix" "$prefix.out"
}
export -f play
touch "$work/results" "$work/output"
printf '%s\n' "$@" | xargs -P "${JOBS:-$(nproc)}" -I{} bash -c 'play "$1"' _ {}

# The scenarios left to the native suite for what Wine does, by the name ctest gives them.
declare -A native_only
while read -r name reason; do
  [ -n "$name" ] && native_only[$name]=$reason
done < <(grep -v '^#' "$here/tools/scenario/native-only-scenarios.txt")

passed=0 machine_only=0 listed=0 failed=0
while read -r status file; do
  name=${file#"$here"/}
  name=${name#migration/}
  name=${name#parcelon/}
  name=${name/\/scenarios\//\/}
  name=${name%.scenario}
  if [ -n "${native_only[$name]+set}" ]; then
    listed=$((listed + 1))
    [ "$status" = 0 ] && echo "wine-scenarios: $name passes now; take it off the native-only list"
  elif [ "$status" = 0 ]; then
    passed=$((passed + 1))
  elif [ "$status" = 3 ]; then
    machine_only=$((machine_only + 1))
  else
    failed=$((failed + 1))
    echo "wine-scenarios: FAILED $name (exit $status)"
  fi
done < <(sort -k2 "$work/results")
if [ "$failed" != 0 ]; then
  cat "$work/output"
fi
echo "wine-scenarios: $passed passed, $failed failed; left to the native suite: $machine_only for" \
  "their machine, $listed named in native-only-scenarios.txt"
[ "$failed" = 0 ]
