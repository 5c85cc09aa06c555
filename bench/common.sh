# Shared set-up of the benchmark scripts; source it with `here` set to the
# checkout. Every run is headless and private: a temporary HOME, its own
# sound daemon (scripts/sound.sh), its own simulated receiver on a loopback
# address of its own, and its own X server.
#
#   zp_bench_build NAME [dir]   sets `build` (newest build*/ with bench/NAME when no dir)
#   zp_bench_start              sets tmp, host, wport, sport; starts it all
#   zp_bench_xserver            starts a private X server, sets DISPLAY
#   zp_bench_config             writes the program's configuration for the receiver
#   zp_cpu_ticks PID            user+system clock ticks used so far
#   zp_rss_mb PID               resident set size in MB
# Cleanup runs on exit.

. "$here/scripts/sound.sh"

zp_bench_build() {
    build=${2:-}
    if [ -z "$build" ]; then
        build=$(ls -td "$here"/build*/ 2>/dev/null | while read -r d; do
            [ -x "$d/$1" ] && { echo "$d"; break; }; done)
    fi
    [ -x "$build/$1" ] || { echo "$1 not built (looked in '$build')" >&2; exit 1; }
    build=$(cd "$build" && pwd)
}

zp_bench_cleanup() {
    [ -n "${xvfbpid:-}" ] && { kill "$xvfbpid" 2>/dev/null; wait "$xvfbpid" 2>/dev/null; }
    [ -n "${simpid:-}" ] && { kill "$simpid" 2>/dev/null; wait "$simpid" 2>/dev/null; }
    zp_sound_stop
    [ -n "${tmp:-}" ] && rm -rf "$tmp"
}

zp_bench_start() {
    tmp=$(mktemp -d /tmp/zpbench.XXXXXX) || exit 1
    trap zp_bench_cleanup EXIT
    trap 'exit 1' INT TERM
    export HOME="$tmp" XDG_CACHE_HOME="$tmp/.cache" XDG_CONFIG_HOME="$tmp/.config"
    unset DBUS_SESSION_BUS_ADDRESS http_proxy https_proxy ftp_proxy
    [ -n "${ZP_BINARY_DIR:-}" ] || ZP_BINARY_DIR=$build
    export GST_REGISTRY_1_0="$ZP_BINARY_DIR/gst-registry.bin"
    zp_sound_start "$tmp"

    host="127.$(( $$ % 200 + 20 )).$(( $$ / 200 % 250 + 1 )).7"
    wport=18880
    sport=18001
    /usr/bin/python3 "$here/sim/e2sim" --host "$host" --web-port $wport --stream-port $sport \
        --no-ftp --cache-dir "$build/sim-cache" --log "$tmp/sim.log" > "$tmp/sim.out" 2> "$tmp/sim.err" &
    simpid=$!
    i=0
    until grep -q ready "$tmp/sim.out" 2>/dev/null; do
        i=$((i + 1))
        if [ $i -gt 600 ] || ! kill -0 $simpid 2>/dev/null; then
            echo "simulated receiver did not start" >&2; cat "$tmp/sim.err" >&2; exit 1
        fi
        sleep 0.2
    done
}

zp_bench_config() {
    mkdir -p "$HOME/.zappora"
    cat > "$HOME/.zappora/zappora.cfg" <<CFG
[GENERAL]
VideoSink=ximagesink
ExpertMode=1
TVControl=0
[PROFILE1]
Name=Bench
Host=$host
User=root
Pass=zaptower
WPort=$wport
SPort=$sport
Https=0
CFG
}

zp_cpu_ticks() {
    # Fields 14 and 15 of /proc/PID/stat; the name in field 2 may hold blanks.
    sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | awk '{ print $12 + $13 }'
}

zp_rss_mb() {
    awk '/^VmRSS:/ { printf "%d\n", $2 / 1024 }' "/proc/$1/status" 2>/dev/null
}

zp_stream_bytes() {   # bytes of the last stream the receiver sent (logged when it ends)
    grep '"kind": "stream"' "$tmp/sim.log" 2>/dev/null | tail -1 | sed 's/.*"bytes": \([0-9]*\).*/\1/'
}

zp_median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print -1 }'; }

zp_bench_xserver() {   # a private X server; sets DISPLAY
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5> "$tmp/display" 2> "$tmp/xvfb.err" &
    xvfbpid=$!
    i=0
    until [ -s "$tmp/display" ]; do
        i=$((i + 1))
        [ $i -gt 200 ] && { echo "X server did not start" >&2; cat "$tmp/xvfb.err" >&2; exit 1; }
        sleep 0.05
    done
    export DISPLAY=":$(cat "$tmp/display")"
}
