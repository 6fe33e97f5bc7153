#!/usr/bin/env bash
# The window end to end, as a user drives it: a real X server (Xvfb), keystrokes sent with
# xdotool, a private CUPS daemon with a cups-pdf queue and a byte-exact capture queue.
#
#   1. First start with no application INI file; type a slip (account, subscriber, amount,
#      message, payer) with the keyboard alone; print it with the menu (ファイル → 印刷) on the
#      default printer, a cups-pdf queue; close with ファイル → 終了.
#   2. The application INI file beside the program holds what was typed.
#   3. Second start, the capture queue now the default: print at once and close. The captured
#      PDF holds every digit at its device pixel (check_slip.py against the INI file), so the
#      window showed the slip the first run left.
#   4. The cups-pdf page of step 1 matches the captured page on the paper (compare_pages.py):
#      the slip printed on the cups-pdf queue stands at the same pixels.
#   5. Third and fourth start: on the page ご依頼人連続印刷, open members.csv (3 rows) with the
#      page's Open button and the file dialog, press 全件印刷 and print with ファイル → 印刷, once
#      on the capture queue and once on the cups-pdf queue. Each print is one job of three
#      pages. The captured job holds each row's payer at its device pixels (check_rows.py, as
#      the command line's continuous print is checked), and each cups-pdf page matches the
#      command line's print of the same rows from the same INI file (compare_pages.py).
#
#   gui_e2e.sh PATH/TO/nobrisa PATH/TO/nobrisa-cli
set -euo pipefail
# xdotool reads the Japanese it types in the locale's encoding; a bare machine may have none.
export LC_ALL=C.UTF-8

app=$1
cli=$2
here="$(cd "$(dirname "$0")" && pwd)"
# numpy comes from Debian's python3-numpy: use Debian's interpreter, whatever else is on PATH.
py=/usr/bin/python3

if [[ $EUID -ne 0 ]]; then
    echo "gui e2e: the private CUPS daemon needs root; run the tests as root" >&2
    exit 1
fi
for tool in Xvfb xdotool xwd pdftoppm pdfinfo; do
    command -v "$tool" >/dev/null || { echo "gui e2e: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done

# Ports of its own, so that this test runs beside the command-line one.
export NOBRISA_CUPS_PORT=${NOBRISA_GUI_CUPS_PORT:-16641}
export NOBRISA_CAPTURE_PORT=${NOBRISA_GUI_CAPTURE_PORT:-16642}
# shellcheck source=cups.sh
source "$here/cups.sh"

xvfb_pid=
app_pid=
work=
passed=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    cups_stop
    if [[ -n $passed && -n $work ]]; then
        rm -rf "$work"
    elif [[ -n $work ]]; then
        echo "gui e2e: logs and screens kept in $work" >&2
    fi
}
trap cleanup EXIT

# Keeps the screen as $work/NAME.xwd when xwd (x11-apps) is there, for a look after a failure.
screenshot() {
    command -v xwd >/dev/null && xwd -root -silent >"$work/$1.xwd" 2>/dev/null
    return 0
}

fail() {
    echo "gui e2e: FAIL $*" >&2
    [[ -n ${DISPLAY:-} && -n ${work:-} ]] && screenshot failure
    exit 1
}

cups_start
cups_add_capture_queue nobrisa_gui_capture
cups_add_pdf_queue nobrisa_gui_pdf
cups_set_default nobrisa_gui_pdf
# Kept after a failure (screens, logs, the PDFs), removed after a pass.
work=$(mktemp -d /tmp/nobrisa-gui.XXXXXX)
mkdir -p "$work/app"

# A display of its own: Xvfb picks a free number and writes it to fd 3.
display_file="$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $display_file ]] && break
    sleep 0.1
done
[[ -s $display_file ]] || fail "Xvfb did not start; see $work/xvfb.log"
export DISPLAY=":$(head -1 "$display_file")"
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME

# The program keeps its INI file beside itself when that folder is writable: a copy in a folder
# of its own starts with none, as on a first start.
cp "$app" "$work/app/nobrisa"
cp "$(dirname "$app")/nobrisa.html" "$work/app/" 2>/dev/null || true
ini="$work/app/nobrisa.ini"

window=
start_app() {
    (cd "$work" && exec "$work/app/nobrisa") >"$work/app$1.log" 2>&1 &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Nobrisa' | head -1) ||
        fail "the window did not appear"
    xdotool windowfocus --sync "$window"
    sleep 0.5
}

keys() { xdotool key --delay 80 "$@"; sleep 0.2; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.2; }

# ファイル → 終了; the program writes its INI file and ends by itself.
close_app() {
    keys alt+f
    keys x
    for _ in $(seq 100); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "the window did not close"
    wait "$app_pid" || fail "the program exited with status $?"
    app_pid=
}

# ファイル → 印刷 on the current printer, QUEUE; prints the id of the job it sent, once that
# job has completed. A job counts only when it is newer than the queue's last one before.
menu_print_job() {
    local queue=$1 before id=
    before=$(cups_last_job_id "$queue")
    keys alt+f
    keys p
    for _ in $(seq 300); do
        id=$(cups_last_job_id "$queue")
        [[ -n $id && $id != "$before" ]] && break
        id=
        sleep 0.1
    done
    [[ -n $id ]] || fail "no new job on $queue"
    cups_wait_job "$id" >&2 || fail "job $id on $queue did not complete"
    echo "$id"
}

# Jobs of QUEUE the spooler has completed.
completed_jobs() {
    lpstat -W completed -o "$1" 2>/dev/null | wc -l
}

# ファイル → 印刷 on the current printer, QUEUE; waits for the job and checks its name.
print_from_menu() {
    local queue=$1
    local id name
    id=$(menu_print_job "$queue") || exit 1
    name=$(cups_job_name "$id")
    [[ "$name" == "Nobrisa_日本語教育振興会" ]] || fail "job $id named '$name'"
    echo "ok job $id '$name' on $queue"
}

# The centre of button N (from 1) of the toolbar on the current page, in the window's
# coordinates, as "X Y". The page's toolbar buttons take no keyboard focus, so they are clicked;
# the button is found in a picture of the window rather than at a fixed place: the first band of
# rows with coloured pixels holding exactly COUNT icons is the page's toolbar (the window's own
# toolbar above it has fewer), and its icons, read from the left, are told from the separators
# by their width.
page_tool_at() {
    local n=$1 count=$2
    # No button under the pointer: a raised frame would join icons in the picture.
    xdotool mousemove 0 0
    sleep 0.3
    xwd -id "$window" -silent >"$work/window.xwd" || fail "xwd could not take the window"
    "$py" - "$work/window.xwd" "$n" "$count" <<'PY'
import struct
import sys

import numpy as np

path, n, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, "rb").read()
header = struct.unpack(">25I", data[:100])
size, width, height = header[0], header[4], header[5]
byte_order, bits, line, colours = header[7], header[11], header[12], header[19]
if bits != 32:
    sys.exit(f"xwd: {bits} bits per pixel, expected 32")
pixels = np.frombuffer(data[size + 12 * colours:], dtype=np.uint8, count=line * height)
pixels = pixels.reshape(height, line // 4, 4)[:, :width]
rgb = (pixels[:, :, 2::-1] if byte_order == 0 else pixels[:, :, 1:]).astype(int)
coloured = (rgb.max(axis=2) - rgb.min(axis=2) > 60).any(axis=1)


def runs(flags):
    """(first, last) of each run of true values."""
    out, start = [], None
    for i, f in enumerate(list(flags) + [False]):
        if f and start is None:
            start = i
        elif not f and start is not None:
            out.append((start, i - 1))
            start = None
    return out


found = []
for top, bottom in runs(coloured):
    band = rgb[max(0, top - 2):bottom + 3]
    background = np.median(band.reshape(-1, 3), axis=0)
    ink = (np.abs(band - background).sum(axis=2) > 40).any(axis=0)
    icons = [(a, b) for a, b in runs(ink) if b - a + 1 >= 6]
    found.append(len(icons))
    if len(icons) == count:
        a, b = icons[n - 1]
        print((a + b) // 2, (top + bottom) // 2)
        sys.exit(0)
sys.exit(f"no toolbar of {count} icons; icons in the coloured bands: {found}")
PY
}

# On the page ご依頼人連続印刷 (the tab bar has the focus): opens CSV with the page's Open
# button and its file dialog, then sets the range to all rows with 全件印刷.
open_rows_in_window() {
    local csv=$1 at dialog title="加入者連続データの読み込み"
    # Into the page: the focus on its first control, the list 〒, when the dialog returns it.
    keys Tab
    # Open is the page toolbar's fifth icon of eleven: 連続印刷, two previews, 新規作成, 開く.
    at=$(page_tool_at 5 11) || fail "the page's Open button was not found"
    # shellcheck disable=SC2086
    xdotool mousemove --window "$window" $at click 1
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$title\$" | head -1) ||
        fail "the Open button did not open the dialog '$title'"
    xdotool windowfocus --sync "$dialog"
    sleep 0.3
    # The file name box has the focus.
    xdotool type --delay 20 "$csv"
    keys Return
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$title\$" >/dev/null || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "^$title\$" >/dev/null &&
        fail "the file dialog did not take $csv"
    # Without a window manager the focus does not come back by itself.
    xdotool windowfocus --sync "$window"
    sleep 0.3
    # From 〒: the ten column lists, 始め and 終わり, then 全件印刷.
    keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
    keys space
}

echo "== first start: type a slip and print it on the cups-pdf queue"
start_app 1
# The account number has the focus; the box "print the account" is the control before it.
keys shift+Tab space Tab
type_text 00120; keys Return
type_text 6; keys Return
type_text 12345; keys Return
# Font list and size, then the subscriber's name.
keys Return Return
type_text "日本語教育振興会"
# Back through the page's controls to the tab bar; there Ctrl+Tab turns the page and Tab
# enters it at its first control, the box "print this".
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
keys ctrl+Tab Tab space Tab
type_text 35000
keys shift+Tab shift+Tab
# 通信欄: the box, then the message.
keys ctrl+Tab Tab space Tab
type_text "令和8年度　年会費"
keys shift+Tab shift+Tab
screenshot typed
print_from_menu nobrisa_gui_pdf
pdf_from_window=$(cups_pdf_wait 1) || fail "cups-pdf wrote no PDF"
close_app

echo "== the INI file holds the slip"
[[ -f $ini ]] || fail "no INI file at $ini"
"$py" -c '
import sys
sys.path.insert(0, sys.argv[1])
from check_slip import read_ini
v = read_ini(sys.argv[2])
want = {("tabsheet1", "checkbox1"): "1", ("tabsheet1", "ekouza1"): "00120",
        ("tabsheet1", "ekouza2"): "6", ("tabsheet1", "ekouza3"): "12345",
        ("tabsheet1", "line00"): "#日本語教育振興会#", ("tabsheet2", "checkbox2"): "1",
        ("tabsheet2", "sekingaku"): "35000", ("tabsheet3", "checkbox3"): "1"}
bad = [f"{s}.{k}={v.get((s, k))!r}, expected {w!r}" for (s, k), w in want.items()
       if v.get((s, k)) != w]
print("\n".join(bad) or "ok the INI file holds the slip")
sys.exit(1 if bad else 0)
' "$here" "$ini" || fail "the INI file does not hold the slip"

echo "== second start: the slip is there; print it on the capture queue"
cups_set_default nobrisa_gui_capture
start_app 2
screenshot second-start
print_from_menu nobrisa_gui_capture
captured=$(cups_capture_wait 1) || fail "no job reached the capture printer"
close_app

# The capture queue's resolution and margins, as the program sees them (--verbose prints them;
# this job is the command line's, counted after the window's).
QT_QPA_PLATFORM=offscreen "$cli" print "$ini" --printer nobrisa_gui_capture --verbose \
    >"$work/devcaps.txt"
# devcap NAME [FILE]: one device value from a --verbose print's output.
devcap() { sed -n "s/^$1=//p" "${2:-$work/devcaps.txt}"; }
python3 "$here/check_slip.py" "$captured" "$ini" --dpi "$(devcap LOGPIXELSX)" \
    --offset "$(devcap PHYSICALOFFSETX)" "$(devcap PHYSICALOFFSETY)" --pages 1 ||
    fail "digits out of place in the window's print"
text=$(pdftotext "$captured" -)
for expected in 日本語教育振興会 令和8年度; do
    [[ $text == *"$expected"* ]] || fail "'$expected' missing from the window's print"
done
echo "ok the window's print holds the slip"

echo "== the cups-pdf page stands where the captured one does"
"$py" "$here/compare_pages.py" "$captured" "$pdf_from_window" ||
    fail "the cups-pdf page differs from the captured page"
# Prints the continuous page's rows from a new start of the window on its default printer,
# QUEUE (the window shows the slip the INI file holds); checks that one job was sent and
# leaves its id in rows_job.
rows_job=
print_rows_from_window() {
    local queue=$1 n=$2 before
    start_app "$n"
    # Back from the account number to the tab bar, then five pages on.
    keys shift+Tab shift+Tab
    keys ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
    open_rows_in_window "$here/members.csv"
    screenshot "rows-$queue"
    before=$(completed_jobs "$queue")
    rows_job=$(menu_print_job "$queue") || exit 1
    close_app
    # No second job follows.
    sleep 0.5
    [[ $(completed_jobs "$queue") == $((before + 1)) ]] ||
        fail "the continuous print sent $(($(completed_jobs "$queue") - before)) jobs to $queue"
}

# pdf_pages PDF: the page count pdfinfo reads.
pdf_pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }

echo "== third start: the three rows of members.csv on the capture queue"
print_rows_from_window nobrisa_gui_capture 3
id=$rows_job
rows_captured=$(cups_capture_wait 3) ||
    fail "the continuous print did not reach the capture printer"
[[ ! -e $(dirname "$rows_captured")/job-0004.bin ]] || fail "more than one captured job"
[[ $(pdf_pages "$rows_captured") == 3 ]] ||
    fail "job $id has $(pdf_pages "$rows_captured") pages, expected 3"
echo "ok job $id on nobrisa_gui_capture: 3 pages, job name '$(cups_job_name "$id")'"

echo "== fourth start: the same rows on the cups-pdf queue"
cups_set_default nobrisa_gui_pdf
print_rows_from_window nobrisa_gui_pdf 4
id=$rows_job
rows_pdf=$(cups_pdf_wait 2) || fail "cups-pdf wrote no PDF of the rows"
[[ $(find "$NOBRISA_CUPS_DIR/pdf-out" -name '*.pdf' | wc -l) == 2 ]] ||
    fail "cups-pdf wrote more than one PDF for job $id"
[[ $(pdf_pages "$rows_pdf") == 3 ]] ||
    fail "job $id has $(pdf_pages "$rows_pdf") pages, expected 3"
echo "ok job $id on nobrisa_gui_pdf: 3 pages, job name '$(cups_job_name "$id")'"

echo "== the window's rows against the command line's, from the same INI file"
# The command line's continuous print of the same rows on the capture queue: the device
# values for the row check, and the pages the cups-pdf pages are compared with.
QT_QPA_PLATFORM=offscreen "$cli" print "$ini" --csv "$here/members.csv" --all \
    --printer nobrisa_gui_capture --verbose >"$work/rows-devcaps.txt"
id=$(cups_last_job_id nobrisa_gui_capture)
cups_wait_job "$id" || fail "job $id did not complete"
rows_cli=$(cups_capture_wait 4) || fail "the command line's rows did not reach the capture printer"
rows_check=("$py" "$here/check_rows.py" "$rows_captured" "$ini" "$here/members.csv"
            --dpi "$(devcap LOGPIXELSX "$work/rows-devcaps.txt")"
            --offset "$(devcap PHYSICALOFFSETX "$work/rows-devcaps.txt")"
                     "$(devcap PHYSICALOFFSETY "$work/rows-devcaps.txt")" --pages 3)
"${rows_check[@]}" || fail "rows out of place in the window's continuous print"
# The check must notice a row one pixel off, and pages that do not follow the rows in order.
for shift in "1 0" "0 1" "-1 0" "0 -1"; do
    # shellcheck disable=SC2086
    if "${rows_check[@]}" --shift $shift >/dev/null 2>&1; then
        fail "the row check does not notice a shift of ($shift) px"
    fi
done
if "${rows_check[@]}" --first 2 >/dev/null 2>&1; then
    fail "the row check does not notice pages one row late"
fi
for page in 1 2 3; do
    "$py" "$here/compare_pages.py" "$rows_cli" "$rows_pdf" --page "$page" ||
        fail "page $page on cups-pdf differs from the command line's"
done
# The comparison must tell the rows apart: against the command line's pages of rows 2 and 3,
# the cups-pdf pages of rows 1 and 2 differ.
QT_QPA_PLATFORM=offscreen "$cli" print "$ini" --csv "$here/members.csv" --rows 2-3 --dpi 1200 \
    --pdf "$work/rows-2-3.pdf" >/dev/null
for page in 1 2; do
    if "$py" "$here/compare_pages.py" "$work/rows-2-3.pdf" "$rows_pdf" --page "$page" \
        >/dev/null; then
        fail "the page comparison does not notice row $((page + 1)) in place of row $page"
    fi
done
echo "ok the window prints the rows as the command line does"

passed=1
echo "gui e2e: all checks passed"
