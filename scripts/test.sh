#!/usr/bin/env bash
# Sets up, builds and runs every test: the core and platform tests and the end-to-end print
# through a private CUPS spooler (which needs root: the daemon is started and stopped here).
# Then the same unit tests once more, built with the address and undefined-behaviour sanitizers
# (scripts/sanitize.sh, build-asan/); NOBRISA_SANITIZE_TESTS=0 leaves that out. Last, every fuzz
# target for NOBRISA_FUZZ_SECONDS (60) from its seeds (scripts/fuzz.sh, build-fuzz/); 0 leaves that
# out; the fuzzers start from a fixed seed, so a finding repeats. A sanitizer report or a fuzzer
# finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
NOBRISA_CMAKE_ARGS="-DNOBRISA_WERROR=${NOBRISA_WERROR:-ON}" bash scripts/build.sh
(cd build && ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)")
if [[ ${NOBRISA_SANITIZE_TESTS:-1} != 0 ]]; then
    NOBRISA_CMAKE_ARGS="-DNOBRISA_WERROR=${NOBRISA_WERROR:-ON}" bash scripts/sanitize.sh
fi
if [[ ${NOBRISA_FUZZ_SECONDS:-60} != 0 ]]; then
    NOBRISA_FUZZ_SEED=${NOBRISA_FUZZ_SEED:-1} bash scripts/fuzz.sh "${NOBRISA_FUZZ_SECONDS:-60}"
fi
