#!/usr/bin/env bash
# End to end through a real spooler: a private CUPS daemon, a queue that hands back the job's PDF
# byte for byte, and a cups-pdf queue. Prints setting files with nobrisa-cli and checks what the
# spooler delivered: page count, every account and amount digit at its device pixel for the
# queue's resolution and offsets, and the job name CUPS recorded.
#
#   run_e2e.sh PATH/TO/nobrisa-cli PATH/TO/samples
set -euo pipefail

cli=$1
samples=$2
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

# Prints FILE on the capture queue with ARGS, waits for the job and checks the PDF that came
# back: PAGES pages, every digit in place, the job named TITLE.
print_and_check() {
    local n=$1 file=$2 pages=$3 title=$4
    shift 4
    echo "== print $(basename "$file") $* on nobrisa_capture"
    "$cli" print "$file" --printer nobrisa_capture --verbose "$@" | tee "$work/print$n.txt"
    local id
    id=$(cups_last_job_id nobrisa_capture)
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
    for shift in "1 0" "0 1" "-1 0" "0 -1"; do
        # shellcheck disable=SC2086
        if "${check[@]}" --shift $shift >/dev/null 2>&1; then
            fail "the position check does not notice a shift of ($shift) px"
        fi
    done
    local name
    name=$(cups_job_name "$id")
    [[ "$name" == "$title" ]] || fail "job $id named '$name', expected '$title'"
    echo "ok job $id '$name'"
}

print_and_check 1 "$samples/sample.dat" 1 "Nobrisa_日本語教育振興会"
print_and_check 2 "$here/shifted.dat" 3 "Nobrisa_ＡＢＣ研究会　事務局" --copies 3
print_and_check 3 "$samples/sample.dat" 1 "Nobrisa_日本語教育振興会" --right

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
