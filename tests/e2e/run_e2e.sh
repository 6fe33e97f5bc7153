#!/usr/bin/env bash
# End to end through a real spooler: a private CUPS daemon, a queue that hands back the job's PDF
# byte for byte, a queue whose PDF filter scales pages by default, and a cups-pdf queue. Prints
# setting files with nobrisa-cli and checks what the spooler delivered: page count, every account
# and amount digit at its device pixel for the queue's resolution and offsets, and the job name
# and options CUPS recorded.
#
#   run_e2e.sh PATH/TO/nobrisa-cli PATH/TO/samples [PATH/TO/nobrisa_platform_tests]
set -euo pipefail

cli=$1
samples=$2
platform_tests=${3:-}
here="$(cd "$(dirname "$0")" && pwd)"
export QT_QPA_PLATFORM=offscreen

if [[ $EUID -ne 0 ]]; then
    echo "e2e: the private CUPS daemon needs root; run the tests as root" >&2
    exit 1
fi

# shellcheck source=cups.sh
source "$here/cups.sh"
cups_start
trap cups_stop EXIT
cups_add_capture_queue nobrisa_capture
cups_add_filtered_queue nobrisa_fit -o print-scaling-default=fit
cups_add_pdf_queue nobrisa_pdf
work="$NOBRISA_CUPS_DIR/e2e"
mkdir -p "$work"

fail() {
    echo "e2e: FAIL $*" >&2
    exit 1
}

# Reads one device value from the --verbose output of a print.
devcap() {
    sed -n "s/^$1=//p" "$2"
}

echo "== the queues are listed"
"$cli" printers | tee "$work/printers.txt"
grep -q "nobrisa_capture" "$work/printers.txt" || fail "capture queue not listed"
grep -q "nobrisa_pdf" "$work/printers.txt" || fail "cups-pdf queue not listed"

# Prints FILE on capture queue QUEUE with ARGS, waits for the job (captured job N) and checks the
# PDF that came back: PAGES pages, every digit in place, the job named TITLE and spooled unscaled
# on A4. With controls=0 it skips checking that the position check notices a one-pixel shift.
print_and_check() {
    local queue=$1 n=$2 file=$3 pages=$4 title=$5
    shift 5
    echo "== print $(basename "$file") $* on $queue"
    "$cli" print "$file" --printer "$queue" --verbose "$@" | tee "$work/print$n.txt"
    local id
    id=$(cups_last_job_id "$queue")
    cups_wait_job "$id" || fail "job $id did not complete"
    local pdf
    pdf=$(cups_capture_wait "$n") || fail "no job reached the capture printer"
    local dpix dpiy offx offy
    dpix=$(devcap LOGPIXELSX "$work/print$n.txt")
    dpiy=$(devcap LOGPIXELSY "$work/print$n.txt")
    offx=$(devcap PHYSICALOFFSETX "$work/print$n.txt")
    offy=$(devcap PHYSICALOFFSETY "$work/print$n.txt")
    [[ "$dpix" == "$dpiy" ]] || fail "unequal resolutions $dpix x $dpiy"
    # The queue's PPD declares margins: the offsets must be real, or the test proves less.
    [[ "$offx" -gt 0 && "$offy" -gt 0 ]] || fail "the queue reports no offsets ($offx, $offy)"
    local check=(python3 "$here/check_slip.py" "$pdf" "$file" --dpi "$dpix"
                 --offset "$offx" "$offy" --pages "$pages")
    [[ " $* " == *" --right "* ]] && check+=(--right)
    "${check[@]}" || fail "digits out of place in job $id"
    # The check itself must notice a digit one pixel off.
    local shift
    for shift in "1 0" "0 1" "-1 0" "0 -1"; do
        [[ ${controls:-1} == 1 ]] || break
        # shellcheck disable=SC2086
        if "${check[@]}" --shift $shift >/dev/null 2>&1; then
            fail "the position check does not notice a shift of ($shift) px"
        fi
    done
    local name scaling media
    { read -r name; read -r scaling; read -r media; } < <(cups_job_attr "$id" job-name \
        print-scaling media)
    [[ "$name" == "$title" ]] || fail "job $id named '$name', expected '$title'"
    [[ "$scaling" == none && "$media" == A4 ]] ||
        fail "job $id spooled with print-scaling '$scaling', media '$media'"
    echo "ok job $id '$name', print-scaling=$scaling media=$media"
}

print_and_check nobrisa_capture 1 "$samples/sample.dat" 1 "Nobrisa_日本語教育振興会"
print_and_check nobrisa_capture 2 "$here/shifted.dat" 3 "Nobrisa_ＡＢＣ研究会　事務局" --copies 3
print_and_check nobrisa_capture 3 "$samples/sample.dat" 1 "Nobrisa_日本語教育振興会" --right

echo "== continuous print of three CSV rows on nobrisa_capture, and the same to a PDF"
"$cli" print "$samples/sample.dat" --csv "$here/members.csv" --all --printer nobrisa_capture \
    --verbose | tee "$work/rows.txt"
id=$(cups_last_job_id nobrisa_capture)
cups_wait_job "$id" || fail "job $id did not complete"
pdf=$(cups_capture_wait 4) || fail "the continuous print did not reach the capture printer"
rows_check=(python3 "$here/check_rows.py" "$pdf" "$samples/sample.dat" "$here/members.csv"
            --dpi "$(devcap LOGPIXELSX "$work/rows.txt")"
            --offset "$(devcap PHYSICALOFFSETX "$work/rows.txt")"
                     "$(devcap PHYSICALOFFSETY "$work/rows.txt")" --pages 3)
"${rows_check[@]}" || fail "rows out of place in job $id"
for shift in "1 0" "0 1" "-1 0" "0 -1"; do
    # shellcheck disable=SC2086
    if "${rows_check[@]}" --shift $shift >/dev/null 2>&1; then
        fail "the row check does not notice a shift of ($shift) px"
    fi
done
name=$(cups_job_name "$id")
[[ "$name" == "Nobrisa_日本語教育振興会" ]] || fail "job $id named '$name'"
"$cli" print "$samples/sample.dat" --csv "$here/members.csv" --all --dpi 1200 --pdf "$work/rows.pdf"
for page in 1 2 3; do
    /usr/bin/python3 "$here/compare_pages.py" "$pdf" "$work/rows.pdf" --page "$page" ||
        fail "page $page of the PDF differs from the printed one"
done
echo "ok continuous print: 3 pages, each row's payer in place; the PDF shows the same pages"

# A queue set to fit pages to the printable area (the administrator's choice, or a desktop's)
# shrinks the page by 3.5-5 % and moves every digit by millimetres unless the job says
# print-scaling=none, which must win over each way of setting that default. (The position
# check's own control ran above, on the same file and margins.)
captured=4
for default in print-scaling-default=fit print-scaling-default=fill fit-to-page-default=true; do
    lpadmin -p nobrisa_fit -R print-scaling-default -R fit-to-page-default -o "$default"
    captured=$((captured + 1))
    echo "== queue default $default"
    controls=0 print_and_check nobrisa_fit "$captured" "$samples/sample.dat" 1 \
        "Nobrisa_日本語教育振興会"
done

if [[ -n $platform_tests ]]; then
    echo "== the printer setup dialog's options travel with the job, print-scaling=none over them"
    NOBRISA_E2E_QUEUE=nobrisa_fit "$platform_tests" --gtest_filter='QtPrinterDeviceOnQueue.*' |
        tee "$work/options.txt" || fail "the job's options"
    # Neither skipped nor filtered away.
    grep -q "^\[  PASSED  \] 1 test" "$work/options.txt" && ! grep -q SKIPPED "$work/options.txt" ||
        fail "the options test did not run"
    id=$(cups_last_job_id nobrisa_fit)
    cups_wait_job "$id" || fail "job $id did not complete"
fi

echo "== a queue that refuses jobs: the print fails with the spooler's reason"
cupsreject -r "closed for the test" nobrisa_fit
before=$(cups_last_job_id nobrisa_fit)
set +e
"$cli" print "$samples/sample.dat" --printer nobrisa_fit 2>"$work/refused.txt"
rc=$?
set -e
cupsaccept nobrisa_fit
cat "$work/refused.txt"
[[ $rc -eq 4 ]] || fail "a refused job gave status $rc, expected 4"
grep -q "nobrisa_fit" "$work/refused.txt" && grep -q "not accepting" "$work/refused.txt" ||
    fail "the message does not name the queue and the reason"
[[ "$(cups_last_job_id nobrisa_fit)" == "$before" ]] || fail "the refused queue has a new job"

echo "== print on the cups-pdf queue, as a user with a PDF printer would"
"$cli" print "$samples/sample.dat" --printer nobrisa_pdf
id=$(cups_last_job_id nobrisa_pdf)
cups_wait_job "$id" || fail "cups-pdf job $id did not complete"
pdf=$(cups_pdf_wait 1) || fail "cups-pdf wrote no PDF"
pages=$(python3 "$here/pdfcheck.py" "$pdf" | sed -n 's/^pages //p')
[[ "$pages" == 1 ]] || fail "cups-pdf wrote $pages pages, expected 1"
echo "ok cups-pdf wrote $(basename "$pdf") with 1 page"

echo "== errors: unknown printer, missing file"
set +e
"$cli" print "$samples/sample.dat" --printer no_such_queue 2>"$work/err1.txt"
rc1=$?
"$cli" print "$work/missing.dat" --printer nobrisa_capture 2>"$work/err2.txt"
rc2=$?
set -e
[[ $rc1 -eq 3 ]] && grep -q "no_such_queue" "$work/err1.txt" || fail "unknown printer: rc $rc1"
[[ $rc2 -eq 2 ]] && grep -q "missing.dat" "$work/err2.txt" || fail "missing file: rc $rc2"
echo "e2e: all checks passed"
