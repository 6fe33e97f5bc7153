#!/usr/bin/env bash
# Runs the fuzz targets of tests/fuzz: builds them into build-fuzz/ (clang, libFuzzer, ASan,
# UBSan) when needed, then runs each for SECONDS from its seeds, one after the other.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      SECONDS per target (60); TARGET e.g. csv
#
# NOBRISA_FUZZ_SEED=N starts every target from the same random seed, so that a run can be
# repeated input for input (CI does this; without it each run explores anew).
#
# The seeds in the repository are only read: what a run finds goes to build-fuzz/corpus/TARGET/
# and is used again by the next run in that folder. A crash, sanitizer report, leak, timeout or
# out-of-memory is kept as a file under build-fuzz/findings/TARGET/ (replay it with
# `build-fuzz/tests/fuzz/fuzz_TARGET FILE`); the script then exits non-zero.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
all=(inifile encoding csv textlayout drawslip registeredlist textimport metafile)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
build=build-fuzz

# The seed folders and the dictionary of each target.
seeds_of() {
  case $1 in
    inifile | drawslip | registeredlist) echo tests/data/ini samples ;;
    encoding | csv | textimport) echo tests/data/csv tests/fuzz/corpus/text ;;
    *) echo "tests/fuzz/corpus/$1" ;;
  esac
}
dict_of() {
  case $1 in
    inifile | drawslip | registeredlist) echo tests/fuzz/dict/ini.dict ;;
    encoding | csv | textimport | metafile) echo tests/fuzz/dict/text.dict ;;
    textlayout) echo tests/fuzz/dict/layout.dict ;;
  esac
}

for t in "${targets[@]}"; do
  case " ${all[*]} " in
    *" $t "*) ;;
    *) echo "unknown fuzz target: $t (${all[*]})" >&2; exit 2 ;;
  esac
done

if [ ! -f $build/CMakeCache.txt ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="${NOBRISA_FUZZ_CXX:-clang++}" -DNOBRISA_FUZZ=ON \
    -DBUILD_TESTING=OFF -DNOBRISA_BENCH=OFF "${launcher[@]}"
fi
cmake --build $build -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]/#/fuzz_}"

start=$(date +%s)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
printf '%-15s %12s %8s %8s %8s  %s\n' target executions cov ft corpus result
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  log=$build/logs/$t.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  before=$(find "$findings" -type f | wc -l)
  seeds=()
  for d in $(seeds_of "$t"); do [ -d "$d" ] && seeds+=("$d"); done
  dict=$(dict_of "$t")
  rc=0
  "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    ${NOBRISA_FUZZ_SEED:+-seed="$NOBRISA_FUZZ_SEED"} -print_final_stats=1 \
    -artifact_prefix="$findings/" ${dict:+-dict="$dict"} \
    "$corpus" "${seeds[@]}" >"$log" 2>&1 || rc=$?
  found=$(($(find "$findings" -type f | wc -l) - before))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  units=$(find "$corpus" -type f | wc -l)
  result=ok
  if [ $rc -ne 0 ] || [ "$found" -gt 0 ]; then
    result="FOUND (exit $rc, $found new file(s) in $findings, log $log)"
    failed+=("$t")
  fi
  printf '%-15s %12s %8s %8s %8s  %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$units" "$result"
  if [ "$result" != ok ]; then
    grep -m1 -A12 -E 'ERROR: |runtime error|fuzz check failed|ALARM|out-of-memory' "$log" ||
      tail -20 "$log"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} ($(($(date +%s) - start)) s in all)" >&2
  exit 1
fi
echo "fuzzing: nothing found in ${#targets[@]} target(s), $seconds s each" \
  "($(($(date +%s) - start)) s in all)"
