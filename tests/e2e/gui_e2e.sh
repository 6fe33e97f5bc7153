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
#
#   gui_e2e.sh PATH/TO/nobrisa PATH/TO/nobrisa-cli
set -euo pipefail

app=$1
cli=$2
here="$(cd "$(dirname "$0")" && pwd)"
# numpy comes from Debian's python3-numpy: use Debian's interpreter, whatever else is on PATH.
py=/usr/bin/python3

if [[ $EUID -ne 0 ]]; then
    echo "gui e2e: the private CUPS daemon needs root; run the tests as root" >&2
    exit 1
fi
for tool in Xvfb xdotool pdftoppm; do
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

start_app() {
    (cd "$work" && exec "$work/app/nobrisa") >"$work/app$1.log" 2>&1 &
    app_pid=$!
    local window
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

# ファイル → 印刷 on the current printer, QUEUE; waits for the job and checks its name.
print_from_menu() {
    local queue=$1
    keys alt+f
    keys p
    local id name
    id=$(cups_last_job_id "$queue") || fail "no job on $queue"
    cups_wait_job "$id" || fail "job $id on $queue did not complete"
    name=$(cups_job_name "$id")
    [[ "$name" == "Nobrisa_日本語教育振興会" ]] || fail "job $id named '$name'"
    echo "ok job $id '$name' on $queue"
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
devcap() { sed -n "s/^$1=//p" "$work/devcaps.txt"; }
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
passed=1
echo "gui e2e: all checks passed"
