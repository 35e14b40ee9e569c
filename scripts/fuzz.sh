#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz (or $FUZZ_BUILD_DIR) and runs each one a
# fixed number of times from its committed seeds and saved crash inputs: FUZZ_RUNS (20000 by
# default), and a fraction of it for the targets that cost more per input, so that the runs take
# about two minutes of one core. What libFuzzer finds new goes to a throw-away corpus; a crash, a leak or a failed check
# fails the script and leaves the input in <build dir>/crashes/<target>/. Arguments name the
# targets to run (all of them by default). CI=true makes warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
runs=${FUZZ_RUNS:-20000}
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

all_targets=(zip_reader_fuzz zip_rewrite_fuzz registry_file_fuzz reg_import_fuzz config_file_fuzz
  master_file_fuzz)
targets=("${all_targets[@]}")
[ $# -gt 0 ] && targets=("$@")

# The seed folder of a target (the two zip targets share theirs) and the longest input tried:
# the text readers read 16 KiB at a time, so their inputs may grow past that.
seeds_of() { case $1 in zip_*) echo zip ;; *) echo "${1%_fuzz}" ;; esac; }
runs_of() {
  case $1 in
    registry_file_fuzz) echo $((runs / 10)) ;;
    zip_rewrite_fuzz) echo $((runs / 4)) ;;
    zip_reader_fuzz | config_file_fuzz) echo $((runs / 2)) ;;
    *) echo "$runs" ;;
  esac
}
max_len_of() { case $1 in zip_*) echo 65536 ;; *) echo 40000 ;; esac; }

# -O1 and asserts on, as fuzzing wants them; line tables are enough for the sanitizers' traces.
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
  -DTRANSVALE_BUILD_FUZZ=ON -DTRANSVALE_BUILD_TESTS=ON \
  -DTRANSVALE_WERROR=$werror >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]}"

# The targets' machines live in temporary folders; memory is faster where there is some.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

failed=()
for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  crashes="$build_dir/crashes/$target"
  mkdir -p "$crashes"
  dict=fuzz/dictionaries/$(seeds_of "$target").dict
  options=(-runs="$(runs_of "$target")" -max_len="$(max_len_of "$target")" -timeout=60
    -artifact_prefix="$crashes/" -print_final_stats=1)
  [ -f "$dict" ] && options+=(-dict="$dict")
  inputs=("$corpus" "fuzz/seeds/$(seeds_of "$target")")
  [ -d "fuzz/regressions/$target" ] && inputs+=("fuzz/regressions/$target")
  echo "=== $target: $(runs_of "$target") runs"
  start=$SECONDS
  if "$build_dir/bin/$target" "${options[@]}" "${inputs[@]}" >"$build_dir/$target.log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$build_dir/$target.log" || true
  else
    tail -n 40 "$build_dir/$target.log"
    failed+=("$target")
  fi
  echo "    $((SECONDS - start)) s"
  rm -rf "$corpus"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]} (inputs in $build_dir/crashes/)"
  exit 1
fi
