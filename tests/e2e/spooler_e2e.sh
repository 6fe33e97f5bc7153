#!/usr/bin/env bash
# The spooler failing under a print, with a private CUPS daemon for each case:
#
#   1. nobrisa-cli prints 1,000 CSV rows; once it has looked the printer up and asked the spooler
#      for the queue (its job's PDF then appears in TMPDIR), the daemon is killed. The command
#      must end with status 4 and a message naming the printer and the spooler, within seconds,
#      and leave no temporary file behind.
#   2. The same, with the daemon stopped (SIGSTOP): its socket still takes connections and
#      nothing answers. The command must end the same way within its bounded wait.
#   3. The window (the window tests' binary, offscreen, over the real printer): the daemon
#      killed after the window started, then a print; and the daemon stopped in the middle of
#      1,000 rows and of 4 rows, then resumed: the stopped job must not print then, and the next
#      print goes through (tests/ui/tform1_spooler_test.cpp).
#
#   spooler_e2e.sh PATH/TO/nobrisa-cli PATH/TO/samples [PATH/TO/nobrisa_ui_tests]
set -euo pipefail

cli=$1
samples=$2
ui_tests=${3:-}
here="$(cd "$(dirname "$0")" && pwd)"
export QT_QPA_PLATFORM=offscreen

if [[ $EUID -ne 0 ]]; then
    echo "spooler e2e: the private CUPS daemon needs root; run the tests as root" >&2
    exit 1
fi

# Ports of its own, so that this test runs beside the other end-to-end tests.
export NOBRISA_CUPS_PORT=${NOBRISA_SPOOLER_CUPS_PORT:-16651}
export NOBRISA_CAPTURE_PORT=${NOBRISA_SPOOLER_CAPTURE_PORT:-16652}
# shellcheck source=cups.sh
source "$here/cups.sh"

queue=nobrisa_spool
work=$(mktemp -d /tmp/nobrisa-spooler.XXXXXX)
# Qt's own runtime folder, kept out of the temporary folders the cases check.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
passed=
cleanup() {
    # A stopped daemon takes SIGTERM only once it runs again.
    if [[ -n ${NOBRISA_CUPS_DIR:-} && -s $NOBRISA_CUPS_DIR/cupsd.pid ]]; then
        kill -CONT "$(<"$NOBRISA_CUPS_DIR/cupsd.pid")" 2>/dev/null || true
    fi
    cups_stop
    if [[ -n $passed ]]; then
        rm -rf "$work"
    else
        echo "spooler e2e: logs kept in $work" >&2
    fi
}
trap cleanup EXIT

fail() {
    echo "spooler e2e: FAIL $*" >&2
    exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

spooler_up() {
    cups_start
    cups_add_capture_queue "$queue" >/dev/null
}

spooler_pid() { cat "$NOBRISA_CUPS_DIR/cupsd.pid"; }

# Ends the daemon of the case and its folder. A stopped daemon runs again first, so that
# SIGTERM ends it the ordinary way, with the backend of a job still printing.
spooler_down() {
    kill -CONT "$(spooler_pid)" 2>/dev/null || true
    cups_stop
}

rows=$work/rows.csv
for ((r = 1; r <= 1000; r++)); do
    printf '100-%04d,東京都千代田区%d番地,,会員%d,03-0000-0000\n' "$r" "$r" "$r"
done >"$rows"

# cli_case NAME SIGNAL BOUND EXPECTED: the command line's continuous print with the daemon sent
# SIGNAL once the job has begun; it must end within BOUND seconds with status 4 and a message
# holding the printer's name and EXPECTED.
cli_case() {
    local name=$1 signal=$2 bound=$3 expected=$4
    echo "== nobrisa-cli, 1,000 rows, the spooler ${name} once the job has begun"
    spooler_up
    local tmp=$work/tmp-$name
    mkdir "$tmp"
    TMPDIR=$tmp timeout 300 "$cli" print "$samples/sample.dat" --csv "$rows" --all \
        --printer "$queue" >"$work/$name.out" 2>"$work/$name.err" &
    local job=$! i
    for ((i = 0; i < 3000; i++)); do
        compgen -G "$tmp/nobrisa-job-*" >/dev/null && break
        kill -0 "$job" 2>/dev/null || break
        sleep 0.01
    done
    compgen -G "$tmp/nobrisa-job-*" >/dev/null || fail "the job never began; see $work/$name.err"
    kill "-$signal" "$(spooler_pid)"
    local signalled rc took
    signalled=$(now_ms)
    set +e
    wait "$job"
    rc=$?
    set -e
    took=$(($(now_ms) - signalled))
    cat "$work/$name.err"
    [[ $rc -eq 4 ]] || fail "status $rc, expected 4"
    grep -q "プリンタ「$queue」" "$work/$name.err" && grep -q "$expected" "$work/$name.err" ||
        fail "the message does not name the printer and say '$expected'"
    ((took < bound * 1000)) || fail "the command ended ${took} ms after the spooler failed"
    [[ -z $(ls -A "$tmp") ]] || fail "left behind in TMPDIR: $(ls -A "$tmp")"
    echo "ok status 4 after ${took} ms, message names $queue, nothing left in TMPDIR"
    spooler_down
}

cli_case killed KILL 15 "印刷サービス（CUPS"
cli_case silent STOP 30 "応答しない"

if [[ -n $ui_tests ]]; then
    for test in SpoolerGoneSinceStartUpIsNamedAndTheWindowPrintsOn \
        SpoolerSilentInTheMiddleOfAJobEndsItInBoundedTimeAndPrintsNothingLater; do
        echo "== the window: $test"
        spooler_up
        mkdir "$work/tmp-$test"
        TMPDIR=$work/tmp-$test NOBRISA_E2E_QUEUE=$queue NOBRISA_E2E_CUPSD_PID=$(spooler_pid) \
            "$ui_tests" --gtest_filter="TForm1OnSpooler.$test" | tee "$work/$test.txt" ||
            fail "$test"
        # Neither skipped nor filtered away.
        grep -q "^\[  PASSED  \] 1 test" "$work/$test.txt" && ! grep -q SKIPPED "$work/$test.txt" ||
            fail "$test did not run"
        [[ -z $(ls -A "$work/tmp-$test" | grep '^nobrisa-job') ]] ||
            fail "$test left a job's file in TMPDIR"
        spooler_down
    done
fi

passed=1
echo "spooler e2e: all checks passed"
