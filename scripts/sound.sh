# A sound device that keeps real time, for tests, the demo and benchmarks on
# machines without a sound card: a PulseAudio daemon of our own with a null
# sink, which ALSA's default device reaches through the pulse plugin. ALSA's
# own null device is no stand-in: it swallows samples at once, so the audio
# clock races ahead of the stream and its thread burns a core.
#
# Source this file, then:
#   zp_sound_start DIR   runs the daemon with its socket and state in DIR
#                        (normally the run's temporary HOME) and points
#                        ALSA (DIR/.asoundrc) and PulseAudio clients at it
#   zp_sound_stop        ends it
# HOME and XDG_CONFIG_HOME must already name the run's own directories.
# Without PulseAudio installed, ALSA's null device is used as before.

zp_sound_pid=""

zp_sound_start() {
    dir=$1
    if ! command -v pulseaudio >/dev/null 2>&1; then
        printf 'pcm.!default { type null }\n' > "$dir/.asoundrc"
        return 0
    fi
    export XDG_RUNTIME_DIR="$dir/.run"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    sock="$XDG_RUNTIME_DIR/pulse-native"
    rm -f "$sock"
    export PULSE_SERVER="unix:$sock"
    # A client that misses the daemon must not start the user's own one.
    mkdir -p "${XDG_CONFIG_HOME:-$HOME/.config}/pulse"
    printf 'autospawn = no\n' > "${XDG_CONFIG_HOME:-$HOME/.config}/pulse/client.conf"
    printf 'pcm.!default { type pulse }\nctl.!default { type pulse }\n' > "$dir/.asoundrc"
    # -n: none of the system's default modules (no hardware probing, no
    # D-Bus); the sink runs at the streams' own rate, so nothing resamples.
    DBUS_SESSION_BUS_ADDRESS=disabled: pulseaudio -n --daemonize=no --use-pid-file=no \
        --exit-idle-time=-1 --no-cpu-limit --log-level=error \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$sock" \
        -L "module-null-sink sink_name=zappora rate=48000 channels=2" \
        > "$dir/.pulse.log" 2>&1 &
    zp_sound_pid=$!
    n=0
    until [ -S "$sock" ]; do
        n=$((n + 1))
        if [ $n -gt 500 ] || ! kill -0 "$zp_sound_pid" 2>/dev/null; then
            echo "sound daemon did not start:" >&2
            cat "$dir/.pulse.log" >&2
            zp_sound_pid=""
            printf 'pcm.!default { type null }\n' > "$dir/.asoundrc"
            unset PULSE_SERVER
            return 1
        fi
        sleep 0.01
    done
}

zp_sound_stop() {
    if [ -n "$zp_sound_pid" ]; then
        kill "$zp_sound_pid" 2>/dev/null
        wait "$zp_sound_pid" 2>/dev/null
        zp_sound_pid=""
    fi
}
