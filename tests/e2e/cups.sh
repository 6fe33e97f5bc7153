#!/usr/bin/env bash
# A private CUPS spooler for the end-to-end tests: its own configuration, spool and logs in a
# temporary folder, listening only on 127.0.0.1, stopped by its PID. Needs root (cupsd and the
# cups-pdf backend run as root) and the packages cups, printer-driver-cups-pdf, poppler-utils.
#
# Use it from a test script by sourcing it:
#
#   source tests/e2e/cups.sh
#   cups_start                      # daemon up, CUPS_SERVER exported for every client
#   trap cups_stop EXIT             # always stop it, also when the test fails
#   cups_add_capture_queue nobrisa_capture   # exact: the job's PDF arrives byte for byte
#   cups_add_pdf_queue nobrisa_pdf           # realistic: cups-pdf re-renders through Ghostscript
#   cups_add_filtered_queue nobrisa_fit -o print-scaling-default=fit  # CUPS's pdftopdf runs
#   QT_QPA_PLATFORM=offscreen nobrisa-cli print slip.dat --printer nobrisa_capture
#   id=$(cups_last_job_id nobrisa_capture); cups_wait_job "$id"   # fails unless "completed"
#   pdf=$(cups_capture_wait 1)      # path of the first captured job (a PDF, byte for byte)
#   cups_job_name "$id"             # the title the job was spooled with (QPrinter's docName)
#   cups_job_attr "$id" print-scaling media   # the job's options, one value a line
#   python3 tests/e2e/pdfcheck.py "$pdf" --dpi 1200 --offset 200 300 --pages 1 \
#       --expect 払込取扱票 1000 2000
#   pdf=$(cups_pdf_wait 1)          # newest cups-pdf output once there is at least one
#
# Check pages with pdfcheck.py, not with the job's job-impressions-completed: without a filter
# CUPS counts a pass-through job as one impression. cups-pdf's output has Type 3 fonts whose
# text pdftotext cannot read back (garbled words, boxes a few points off): check only that it
# exists and its page count there.
#
# Or as commands:  eval "$(tests/e2e/cups.sh start)"; tests/e2e/cups.sh add-capture Q;
# tests/e2e/cups.sh stop  (the state lives in $NOBRISA_CUPS_DIR, which `start` exports).
#
# The capture queue's device is socket://127.0.0.1:PORT (a pretend network printer,
# capture_server.py, that writes each connection to jobs/job-NNNN.bin). Its PPD passes PDF through
# without any filter and declares A4 and other sizes with unequal hardware margins, so that the
# program's offsets are exercised: left 12 pt, top 18 pt, right 9 pt, bottom 24 pt (at 1200 dpi:
# 200, 300, 150 and 400 pixels). QPrinter reads these margins from the PPD and reports 1200 dpi
# (A4 = 9917 x 14033 pixels); in landscape Qt keeps the same four margins unrotated. The cups-pdf
# queue reports 1200 dpi and no margins.
#
# cups-pdf reads its configuration only from /etc/cups: a queue whose device is
# cups-pdf:/NAME uses /etc/cups/cups-pdf-NAME.conf, which cups_add_pdf_queue writes (pointing
# at pdf-out/ in the temporary folder) and cups_stop removes again.
#
# Settings: NOBRISA_CUPS_PORT (default 16631), NOBRISA_CAPTURE_PORT (default 16632),
# NOBRISA_CUPS_KEEP=1 keeps the temporary folder after cups_stop (for reading the logs).

NOBRISA_E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

_cups_die() {
    echo "cups.sh: $*" >&2
    return 1
}

# Waits until a command succeeds, up to $1 tenths of a second.
_cups_wait_for() {
    local tenths=$1
    shift
    local i
    for ((i = 0; i < tenths; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

_cups_port_free() {
    ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

_cups_scheduler_running() {
    lpstat -r 2>/dev/null | grep -q "scheduler is running"
}

# Starts the daemon in a new temporary folder and exports CUPS_SERVER and NOBRISA_CUPS_DIR.
cups_start() {
    [[ $EUID -eq 0 ]] || _cups_die "the private cupsd must run as root" || return 1
    local port=${NOBRISA_CUPS_PORT:-16631}
    # Another spooler on the port would answer lpstat and take our jobs.
    _cups_port_free "$port" ||
        _cups_die "port $port is in use; choose another with NOBRISA_CUPS_PORT" || return 1
    local dir
    dir=$(mktemp -d /tmp/nobrisa-cups.XXXXXX) || return 1
    # Filters and backends run as user lp and must reach the spool and temp folders below.
    chmod 0755 "$dir"
    mkdir -p "$dir"/{etc/ppd,etc/ssl,spool/tmp,cache,state,log,jobs,pdf-out,pdf-spool}
    chown root:lp "$dir"/etc "$dir"/spool "$dir"/cache "$dir"/state
    chmod 0755 "$dir"/etc "$dir"/cache "$dir"/state
    chmod 0710 "$dir"/spool
    chmod 1770 "$dir"/spool/tmp
    chown root:lp "$dir"/spool/tmp

    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
FileDevice Yes
Printcap $dir/printcap
EOF
    cat >"$dir/etc/cupsd.conf" <<EOF
Listen 127.0.0.1:$port
LogLevel debug
MaxLogSize 0
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
PreserveJobHistory Yes
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow from 127.0.0.1
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

    /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
        >"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$dir/cupsd.pid"

    export NOBRISA_CUPS_DIR=$dir
    export CUPS_SERVER=127.0.0.1:$port
    if ! _cups_wait_for 100 _cups_scheduler_running || ! kill -0 "$(<"$dir/cupsd.pid")"; then
        _cups_die "cupsd did not start; see $dir/log/error_log and $dir/log/cupsd.out"
        cups_stop
        return 1
    fi
}

# Adds a queue NAME whose device is the capture server (started on first use) and whose PPD
# passes the PDF through unchanged. Jobs land in $NOBRISA_CUPS_DIR/jobs.
cups_add_capture_queue() {
    local name=${1:?queue name}
    local dir=${NOBRISA_CUPS_DIR:?cups_start first}
    local cport=${NOBRISA_CAPTURE_PORT:-16632}
    if [[ ! -s $dir/capture.pid ]]; then
        _cups_port_free "$cport" ||
            _cups_die "port $cport is in use; choose another with NOBRISA_CAPTURE_PORT" ||
            return 1
        rm -f "$dir/capture.ready"
        python3 "$NOBRISA_E2E_DIR/capture_server.py" "$cport" "$dir/jobs" \
            --ready-file "$dir/capture.ready" >"$dir/log/capture.out" 2>&1 &
        echo $! >"$dir/capture.pid"
        _cups_wait_for 50 test -s "$dir/capture.ready" ||
            _cups_die "capture server did not start; see $dir/log/capture.out" || return 1
    fi
    _cups_write_capture_ppd "$dir/capture.ppd"
    lpadmin -p "$name" -E -v "socket://127.0.0.1:$cport" -P "$dir/capture.ppd" \
        -o printer-error-policy=abort-job || return 1
    cupsenable "$name" && cupsaccept "$name"
}

# Adds a queue NAME like the capture queue, except that CUPS runs its PDF filter (pdftopdf, as
# for a driverless or PDF printer) before the device: the job's PDF arrives rewritten, and
# scaled when the queue's defaults ask for it. Further lpadmin options follow the name, e.g.
# -o print-scaling-default=fit.
cups_add_filtered_queue() {
    local name=${1:?queue name}
    shift
    cups_add_capture_queue "$name" || return 1
    local dir=$NOBRISA_CUPS_DIR
    _cups_write_capture_ppd "$dir/filtered.ppd" application/vnd.cups-pdf
    lpadmin -p "$name" -P "$dir/filtered.ppd" "$@"
}

# Adds a queue NAME with the cups-pdf backend; its PDFs land in $NOBRISA_CUPS_DIR/pdf-out.
cups_add_pdf_queue() {
    local name=${1:?queue name}
    local dir=${NOBRISA_CUPS_DIR:?cups_start first}
    local conf=/etc/cups/cups-pdf-$name.conf
    cat >"$conf" <<EOF
# Written by Nobrisa's tests/e2e/cups.sh for its private spooler; removed by cups_stop.
Out $dir/pdf-out
AnonDirName $dir/pdf-out
Spool $dir/pdf-spool
Log $dir/log
LogType 7
Grp lp
UserUMask 0022
AnonUMask 0022
EOF
    echo "$conf" >>"$dir/cups-pdf-confs"
    lpadmin -p "$name" -E -v "cups-pdf:/$name" \
        -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd || return 1
    cupsenable "$name" && cupsaccept "$name"
}

# Makes NAME the default destination (what QPrinterInfo::defaultPrinterName() reports).
cups_set_default() {
    lpadmin -d "${1:?queue name}"
}

# Stops the capture server and the daemon by their PIDs and removes what cups_start made.
cups_stop() {
    local dir=${NOBRISA_CUPS_DIR:-}
    [[ -n $dir && -d $dir ]] || return 0
    local f pid
    for f in capture.pid cupsd.pid; do
        [[ -s $dir/$f ]] || continue
        pid=$(<"$dir/$f")
        if kill -0 "$pid" 2>/dev/null; then
            kill -TERM "$pid"
            _cups_wait_for 50 _cups_gone "$pid" || kill -KILL "$pid" 2>/dev/null
        fi
        rm -f "$dir/$f"
    done
    if [[ -s $dir/cups-pdf-confs ]]; then
        while read -r f; do rm -f "$f"; done <"$dir/cups-pdf-confs"
    fi
    rm -f "$dir/cups-pdf-confs"
    if [[ ${NOBRISA_CUPS_KEEP:-0} == 1 ]]; then
        echo "cups.sh: kept $dir" >&2
    else
        rm -rf "$dir"
    fi
    unset NOBRISA_CUPS_DIR CUPS_SERVER
}

_cups_gone() {
    ! kill -0 "$1" 2>/dev/null
}

# Prints the id of the newest job of queue NAME (any state), or nothing.
cups_last_job_id() {
    lpstat -W all -o "${1:?queue name}" 2>/dev/null |
        awk '{ n = split($1, a, "-"); print a[n] }' | sort -n | tail -n 1
}

_cups_job_completed() {
    lpstat -W completed -o 2>/dev/null | awk '{ print $1 }' | grep -q -- "-$1\$"
}

# Waits until job ID has ended (up to $2 seconds, default 60); fails unless it ended completed
# (not aborted or cancelled).
cups_wait_job() {
    local id=${1:?job id}
    _cups_wait_for $((${2:-60} * 10)) _cups_job_completed "$id" ||
        _cups_die "job $id did not end; see $NOBRISA_CUPS_DIR/log/error_log" || return 1
    local state
    state=$(cups_job_attr "$id" job-state)
    [[ $state == completed ]] ||
        _cups_die "job $id ended $state; see $NOBRISA_CUPS_DIR/log/error_log"
}

# Prints IPP attributes of job ID as CUPS recorded them, one value a line in the order asked:
# job-name (the title the program gave the job) by default; e.g. job-state, print-scaling, media,
# job-impressions-completed, job-originating-user-name. One request for all of them.
cups_job_attr() {
    local id=${1:?job id}
    shift
    local attrs=("${@:-job-name}")
    local test=$NOBRISA_CUPS_DIR/get-job-attr.test
    {
        cat <<EOF
{
    NAME "Get-Job-Attributes"
    OPERATION Get-Job-Attributes
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language en
    ATTR uri printer-uri \$uri
    ATTR integer job-id $id
    ATTR name requesting-user-name root
    ATTR keyword requested-attributes $(IFS=,; echo "${attrs[*]}")
    STATUS successful-ok
EOF
        local a
        for a in "${attrs[@]}"; do echo "    DISPLAY $a"; done
        echo "}"
    } >"$test"
    # -c prints CSV: a header line with the attributes' names, then their values (quoted when
    # they hold a comma or a quote), in the order of the DISPLAY lines.
    ipptool -c "ipp://$CUPS_SERVER/" "$test" | sed -n 2p | python3 -c '
import csv, sys
rows = list(csv.reader(sys.stdin))
for i in range(int(sys.argv[1])):
    print(rows[0][i] if rows and i < len(rows[0]) else "")' "${#attrs[@]}"
}

cups_job_name() {
    cups_job_attr "${1:?job id}" job-name
}

# Waits (up to $2 seconds, default 60) until the capture server has written job number N
# (1-based, counted over all capture queues since cups_start; default 1) and prints its path.
cups_capture_wait() {
    local n=${1:-1}
    local f
    f=$(printf '%s/jobs/job-%04d.bin' "${NOBRISA_CUPS_DIR:?cups_start first}" "$n")
    _cups_wait_for $((${2:-60} * 10)) test -f "$f" || _cups_die "no captured job $n" || return 1
    echo "$f"
}

_cups_pdf_count_at_least() {
    local count
    count=$(find "$NOBRISA_CUPS_DIR/pdf-out" -name '*.pdf' -type f | wc -l)
    ((count >= $1))
}

# Waits (up to $2 seconds, default 60) until cups-pdf has written at least N PDFs (default 1)
# and prints the newest one's path. cups-pdf names its files after the job title, with every
# character outside ASCII written as octal escapes ("Nobrisa__343_203_217....pdf").
cups_pdf_wait() {
    local n=${1:-1}
    _cups_wait_for $((${2:-60} * 10)) _cups_pdf_count_at_least "$n" ||
        _cups_die "cups-pdf wrote fewer than $n PDFs; see $NOBRISA_CUPS_DIR/log" || return 1
    # cups-pdf creates the file before Ghostscript has finished writing it; the job's completion
    # is the reliable end, so wait for the spooler to have no job left in progress.
    _cups_wait_for $((${2:-60} * 10)) _cups_no_active_jobs
    find "$NOBRISA_CUPS_DIR/pdf-out" -name '*.pdf' -type f -printf '%T@ %p\n' |
        sort -n | tail -n 1 | cut -d' ' -f2-
}

_cups_no_active_jobs() {
    [[ -z $(lpstat -W not-completed -o 2>/dev/null) ]]
}

# The PPD of the capture queue: PDF goes to the device unchanged ("-" is no filter), and the
# sizes carry unequal margins so that offsets in x and y can be told apart.
_cups_write_capture_ppd() {
    local out=$1
    # What the device takes: the job's own PDF, or (application/vnd.cups-pdf) the output of
    # CUPS's pdftopdf filter.
    local input=${2:-application/pdf}
    # Margins in points: left 12, bottom 24, right 9, top 18.
    local l=12 b=24 r=9 t=18
    {
        cat <<'EOF'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "NBCAPT.PPD"
*Manufacturer: "Nobrisa Tests"
*Product: "(Capture)"
*ModelName: "Nobrisa Capture Printer"
*ShortNickName: "Nobrisa Capture"
*NickName: "Nobrisa Capture Printer, PDF pass-through"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
EOF
        echo "*cupsFilter2: \"$input application/vnd.nobrisa-pdf 0 -\""
        cat <<'EOF'
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
EOF
        local sizes=("A4 595 842" "A5 420 595" "B5 516 729" "Letter 612 792" "Postcard 284 419")
        local s name w h
        for s in "${sizes[@]}"; do
            read -r name w h <<<"$s"
            echo "*PageSize $name/$name: \"<</PageSize[$w $h]/ImagingBBox null>>setpagedevice\""
        done
        echo '*CloseUI: *PageSize'
        echo '*OpenUI *PageRegion/Media Size: PickOne'
        echo '*OrderDependency: 10 AnySetup *PageRegion'
        echo '*DefaultPageRegion: A4'
        for s in "${sizes[@]}"; do
            read -r name w h <<<"$s"
            echo "*PageRegion $name/$name: \"<</PageSize[$w $h]/ImagingBBox null>>setpagedevice\""
        done
        echo '*CloseUI: *PageRegion'
        echo '*DefaultImageableArea: A4'
        for s in "${sizes[@]}"; do
            read -r name w h <<<"$s"
            echo "*ImageableArea $name/$name: \"$l $b $((w - r)) $((h - t))\""
        done
        echo '*DefaultPaperDimension: A4'
        for s in "${sizes[@]}"; do
            read -r name w h <<<"$s"
            echo "*PaperDimension $name/$name: \"$w $h\""
        done
        cat <<'EOF'
*OpenUI *Resolution/Resolution: PickOne
*OrderDependency: 20 AnySetup *Resolution
*DefaultResolution: 600dpi
*Resolution 600dpi/600 DPI: "<</HWResolution[600 600]>>setpagedevice"
*CloseUI: *Resolution
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
EOF
    } >"$out"
}

# Command form: tests/e2e/cups.sh start|stop|add-capture NAME|add-pdf NAME|job-name ID|...
if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    set -euo pipefail
    cmd=${1:-}
    shift || true
    case $cmd in
    start)
        # Detached, so that the daemon outlives this shell; the caller evals the exports.
        cups_start >&2
        echo "export NOBRISA_CUPS_DIR=$NOBRISA_CUPS_DIR CUPS_SERVER=$CUPS_SERVER"
        ;;
    stop) cups_stop ;;
    add-capture) cups_add_capture_queue "$@" ;;
    add-filtered) cups_add_filtered_queue "$@" ;;
    add-pdf) cups_add_pdf_queue "$@" ;;
    set-default) cups_set_default "$@" ;;
    last-job) cups_last_job_id "$@" ;;
    wait-job) cups_wait_job "$@" ;;
    job-name) cups_job_name "$@" ;;
    job-attr) cups_job_attr "$@" ;;
    capture-wait) cups_capture_wait "$@" ;;
    pdf-wait) cups_pdf_wait "$@" ;;
    *)
        echo "usage: $0 start|stop|add-capture NAME|add-filtered NAME [LPADMIN-OPTION...]|" \
            "add-pdf NAME|set-default NAME|last-job NAME|wait-job ID|job-name ID|" \
            "job-attr ID ATTR...|capture-wait N|pdf-wait N" >&2
        exit 2
        ;;
    esac
fi
