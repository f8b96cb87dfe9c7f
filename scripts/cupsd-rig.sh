#!/usr/bin/env bash
# cupsd-rig.sh start|stop|env|drivers DIR [QUEUE...]
#
# A private CUPS scheduler for tests and benchmarks: its own configuration, spool, cache and
# temporary folders under DIR, listening only on DIR/cups.sock, so the user's printers are
# never touched. "start" adds a Zebra ZPL queue (CUPS sample driver, 203 dpi) for each QUEUE
# (default "zpl"; the first is the default printer) that writes every job to DIR/QUEUE.zpl. Clients reach it with the three
# variables "env" prints: CUPS_SERVER, HOME (user lpoptions) and CUPS_SERVERROOT (keeps the
# system lpoptions out); with RIG_LISTEN=127.0.0.1:PORT it also listens there, standing in for a
# print server on another machine. "drivers" (on a started rig) adds a queue "label-NAME" for every label
# printer driver among CUPS's sample drivers (drv:///sample.drv/NAME.ppd) and "label-ql570" for a
# Brother QL-570 (printer-driver-ptouch) when installed, each writing its jobs to
# DIR/label-NAME.out, and prints "QUEUE DRIVER" for each. "class DIR CLASS COUNT LISTENER" (on a
# started rig) starts LISTENER (tests/print/raw_listener) on a free port and adds COUNT Zebra ZPL
# queues CLASS-1… printing to it over socket://, the way network label printers take raw jobs,
# as members of the printer class CLASS; each job lands in DIR/CLASS-jobs/job-N.prn.
# "ipp DIR QUEUE ATTRIBUTES STANDIN" (on a started rig) starts ippeveprinter (cups-ipp-utils) with the
# printer attributes file ATTRIBUTES, keeping every job in DIR/QUEUE-spool, with STANDIN (a library
# in place of libavahi-client) preloaded, and adds the driverless queue QUEUE for it (lpadmin -m
# everywhere). "lprint DIR QUEUE LISTENER STANDIN" (on a started rig) starts LISTENER on a free port
# and an LPrint server (Debian lprint) with one ZPL 2 in label printer with a 50 x 30 mm label loaded,
# printing to that port (jobs land in DIR/QUEUE-jobs/job-N.prn), and adds the driverless queue
# QUEUE for it (lpadmin -m everywhere). LPrint keeps its state, spool and socket under DIR (it
# runs as lp when started as root: as root it would use the machine's own socket path).
set -euo pipefail

usage() {
    echo "usage: $0 start|stop|env|drivers DIR [QUEUE...] | class DIR CLASS COUNT LISTENER |" \
        "ipp DIR QUEUE ATTRIBUTES STANDIN | lprint DIR QUEUE LISTENER STANDIN" >&2
    exit 2
}
[ $# -ge 2 ] || usage
action=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)
shift 2
queues=("${@:-zpl}")

print_env() {
    echo "CUPS_SERVER=$dir/cups.sock"
    echo "HOME=$dir/home"
    echo "CUPS_SERVERROOT=$dir/etc"
}

stop() {
    local listener
    for listener in "$dir"/*.listener.pid; do
        [ -f "$listener" ] || continue
        kill "$(cat "$listener")" 2>/dev/null || true
        rm -f "$listener"
    done
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        if kill -0 "$pid" 2>/dev/null; then
            kill "$pid"
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -0 "$pid" 2>/dev/null && kill -9 "$pid"
        fi
        rm -f "$dir/cupsd.pid"
    fi
}

start() {
    # A Unix socket path must fit in sun_path (108 bytes).
    if [ ${#dir} -gt 95 ]; then
        echo "cupsd-rig: '$dir' is too long for a socket path" >&2
        exit 1
    fi
    stop
    mkdir -p "$dir"/{etc/ppd,etc/ssl,spool/tmp,cache,state,log,home}
    local user group system_group
    user=$(id -un)
    group=$(id -gn)
    system_group=$group
    if [ "$(id -u)" -eq 0 ]; then
        # cupsd refuses to run its filters as root: they run as lp, which must reach the spool
        # through every parent folder.
        user=lp
        group=lp
        system_group=root
        local d=$dir
        while [ "$d" != "/" ]; do
            chmod o+x "$d"
            d=$(dirname "$d")
        done
        chown -R lp:lp "$dir/spool" "$dir/cache"
        chmod 0755 "$dir"
    fi
    cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir/etc
StateDir $dir/state
CacheDir $dir/cache
RequestRoot $dir/spool
TempDir $dir/spool/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
FileDevice Yes
User $user
Group $group
SystemGroup $system_group
CONF
    cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
${RIG_LISTEN:+Listen $RIG_LISTEN}
LogLevel warn
Browsing No
DefaultAuthType None
WebInterface No
MaxJobs 0
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
    cupsd -t -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >/dev/null
    cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null >>"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$dir/cupsd.pid"
    eval "$(print_env | sed 's/^/export /')"
    for _ in $(seq 100); do
        if lpstat -r 2>/dev/null | grep -q "is running"; then break; fi
        sleep 0.05
    done
    if ! lpstat -r 2>/dev/null | grep -q "is running"; then
        echo "cupsd-rig: the scheduler did not start (see $dir/log)" >&2
        stop
        exit 1
    fi
    # lpadmin warns that PPD drivers are deprecated; they are what label printers use today.
    local output queue
    for queue in "${queues[@]}"; do
        if ! output=$(lpadmin -p "$queue" -E -v "file://$dir/$queue.zpl" -m drv:///sample.drv/zebra.ppd \
            -o Resolution=203dpi 2>&1); then
            echo "$output" >&2
            stop
            exit 1
        fi
    done
    lpadmin -d "${queues[0]}"
}

add_queue() {
    local output
    if ! output=$(lpadmin -p "$1" -E -v "file://$dir/$1.out" -m "$2" 2>&1); then
        echo "$output" >&2
        exit 1
    fi
    echo "$1 $2"
}

drivers() {
    eval "$(print_env | sed 's/^/export /')"
    local models uri name
    models=$(lpinfo -m)
    # Every sample driver of a label printer (DYMO, Intellitech, the Zebra languages).
    while read -r uri _; do
        name=${uri##*/}
        add_queue "label-${name%.ppd}" "$uri"
    done < <(grep -E '^drv:///sample\.drv/[^ ]+ .*Label Printer' <<<"$models")
    uri=$(grep -m1 -E 'Brother-QL-570-ptouch' <<<"$models" | cut -d' ' -f1 || true)
    if [ -n "$uri" ]; then
        add_queue label-ql570 "$uri"
    fi
}

printer_class() {
    [ $# -eq 3 ] || usage
    local class=$1 count=$2 listener=$3 port i
    eval "$(print_env | sed 's/^/export /')"
    port=$(start_listener "$class" "$listener")
    for i in $(seq "$count"); do
        lpadmin -p "$class-$i" -E -v "socket://127.0.0.1:$port" -m drv:///sample.drv/zebra.ppd \
            -o Resolution=203dpi 2>&1 | grep -v deprecated >&2 || true
        lpadmin -p "$class-$i" -c "$class"
    done
    cupsenable "$class"
    cupsaccept "$class"
}

# Starts LISTENER writing each job to DIR/NAME-jobs and prints its port.
start_listener() {
    local name=$1 listener=$2
    mkdir -p "$dir/$name-jobs"
    rm -f "$dir/$name.port"
    "$listener" "$dir/$name.port" "$dir/$name-jobs" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/$name.listener.pid"
    for _ in $(seq 100); do [ -f "$dir/$name.port" ] && break; sleep 0.05; done
    cat "$dir/$name.port"
}

# Adds QUEUE for the IPP printer at URI once it answers; the scheduler makes the queue's PPD from
# the printer's attributes after lpadmin returns.
add_everywhere_queue() {
    local queue=$1 uri=$2
    for _ in $(seq 3); do
        lpadmin -p "$queue" -E -v "$uri" -m everywhere 2>/dev/null || true
        for _ in $(seq 100); do
            [ -f "$dir/etc/ppd/$queue.ppd" ] && return 0
            sleep 0.05
        done
    done
    return 1
}

lprint_printer() {
    [ $# -eq 3 ] || usage
    local queue=$1 listener=$2 standin=$3 port home=$dir/$1-lprint ipp_port run_as=()
    eval "$(print_env | sed 's/^/export /')"
    port=$(start_listener "$queue" "$listener")
    mkdir -p "$home/tmp" "$home/spool"
    cat >"$home/.lprint.conf" <<CONF
DNSSDName LPrint
DefaultPrinterID 1
NextPrinterID 2
<Printer did="MFG:Zebra;MDL:ZPL 2-inch/203dpi/Direct-Thermal;CMD:ZPL;" driver="zpl_2inch-203dpi-dt" id="1" name="label" uri="socket://127.0.0.1:$port">
DNSSDName label
MaxCompletedJobs 100
NextJobId 1
media-col-default bottom="0" left="0" length="3000" name="custom_50x30mm_50x30mm" right="0" source="main-roll" top="0" tracking="gap" type="labels" width="5000"
media-col-ready0 bottom="0" left="0" length="3000" name="custom_50x30mm_50x30mm" right="0" source="main-roll" top="0" tracking="gap" type="labels" width="5000"
printer-resolution-default 203x203dpi
</Printer>
CONF
    if [ "$(id -u)" -eq 0 ]; then
        chown -R lp:lp "$home"
        run_as=(setpriv --reuid=lp --regid=lp --clear-groups)
    fi
    for _ in $(seq 20); do
        ipp_port=$((20000 + RANDOM % 20000))
        HOME=$home TMPDIR=$home/tmp LD_PRELOAD=$standin "${run_as[@]}" lprint server \
            -o server-port="$ipp_port" -o listen-hostname=127.0.0.1 -o server-options=no-tls \
            -o spool-directory="$home/spool" -o log-file=- -o log-level=info \
            </dev/null >>"$dir/log/$queue.log" 2>&1 &
        echo $! >"$dir/$queue-lprint.listener.pid"
        for _ in $(seq 40); do
            (exec 3<>"/dev/tcp/127.0.0.1/$ipp_port") 2>/dev/null && break
            sleep 0.05
        done
        if kill -0 "$(cat "$dir/$queue-lprint.listener.pid")" 2>/dev/null; then
            if add_everywhere_queue "$queue" "ipp://127.0.0.1:$ipp_port/ipp/print/label"; then
                echo "$queue $ipp_port"
                return 0
            fi
            break
        fi
    done
    echo "cupsd-rig: lprint did not start (see $dir/log/$queue.log)" >&2
    exit 1
}

ipp_printer() {
    [ $# -eq 3 ] || usage
    local queue=$1 attributes=$2 standin=$3 port
    eval "$(print_env | sed 's/^/export /')"
    mkdir -p "$dir/$queue-spool"
    for _ in $(seq 20); do
        port=$((20000 + RANDOM % 20000))
        LD_PRELOAD=$standin ippeveprinter -p "$port" -k -c /bin/true -d "$dir/$queue-spool" \
            -a "$attributes" -n localhost "$queue" </dev/null >"$dir/log/$queue.log" 2>&1 &
        echo $! >"$dir/$queue.listener.pid"
        for _ in $(seq 40); do
            if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
                break
            fi
            sleep 0.05
        done
        if kill -0 "$(cat "$dir/$queue.listener.pid")" 2>/dev/null &&
            add_everywhere_queue "$queue" "ipp://127.0.0.1:$port/ipp/print"; then
            echo "$queue $port"
            return 0
        fi
        kill "$(cat "$dir/$queue.listener.pid")" 2>/dev/null || true
    done
    echo "cupsd-rig: ippeveprinter did not start (see $dir/log/$queue.log)" >&2
    exit 1
}

case $action in
start) start ;;
ipp) ipp_printer "${queues[@]}" ;;
lprint) lprint_printer "${queues[@]}" ;;
class) printer_class "${queues[@]}" ;;
drivers) drivers ;;
stop) stop ;;
env) print_env ;;
*) usage ;;
esac
