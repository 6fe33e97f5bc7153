#!/usr/bin/env bash
# Builds the core, platform and window tests (and nobrisa-cli, which the platform tests run) with
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs them. Not run here: the
# end-to-end tests (they print through CUPS) and the package checks. Any report fails the run: an
# error ends the program at once, a leak makes it exit non-zero at its end.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
# -O1 with line tables only: quicker to build than -O2 -g, and still a file and line for every
# frame of a report.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DNOBRISA_SANITIZE=ON -DNOBRISA_BENCH=OFF \
    ${NOBRISA_CMAKE_ARGS:-}
cmake --build build-asan -j "$jobs" --target nobrisa_core_tests nobrisa_platform_tests \
    nobrisa_ui_tests nobrisa-cli

here=$PWD
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# One-time allocations of the libraries below us that they never free; none of ours.
export LSAN_OPTIONS=suppressions=$here/scripts/lsan.supp:print_suppressions=0
cd build-asan
# CliInterrupted stops a long PDF job once 1 MB of it is written; the sanitized tool is too slow
# to get there within the test's wait, and the normal build runs that test.
ctest --output-on-failure -j "$jobs" -E '^(e2e_|source_hygiene$|CliInterrupted\.)' -LE package
