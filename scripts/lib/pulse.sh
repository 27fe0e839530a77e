#!/usr/bin/env bash
# A private, headless PulseAudio for the audio tests: one null sink ("nullsink", 48000 Hz) whose monitor the
# listening test records. Source this file, then call tonique_pulse_start before the tests and
# tonique_pulse_stop after them. Everything lives in a scratch folder removed by tonique_pulse_stop.
#
# On success: exports XDG_RUNTIME_DIR, PULSE_SERVER and TONIQUE_NULL_SINK=nullsink.
# On failure (no pulseaudio, daemon refuses to start): prints one line, leaves TONIQUE_NULL_SINK unset and
# returns 0, so that the tests run the player on its silent clock instead.

tonique_pulse_start() {
    unset TONIQUE_NULL_SINK
    if ! command -v pulseaudio >/dev/null 2>&1 || ! command -v parec >/dev/null 2>&1; then
        echo "pulse: pulseaudio/parec absent, tests audio sur l'horloge silencieuse"
        return 0
    fi
    TONIQUE_PULSE_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tonique-pulse.XXXXXX") || return 0
    local r=$TONIQUE_PULSE_DIR
    mkdir -p "$r/xdg" "$r/home" && chmod 700 "$r/xdg" "$r/home"
    export TONIQUE_PULSE_DIR
    export XDG_RUNTIME_DIR=$r/xdg
    export PULSE_SERVER=unix:$r/xdg/pulse/native
    # -n: no default script, only the modules below; anonymous access since we run as any user, root included. The
    # command-line protocol lets a test cut the player off the server (pacmd kill-client), as when the server stops.
    if ! HOME=$r/home pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target="file:$r/pa.log" \
        --load="module-native-protocol-unix auth-anonymous=1" --load="module-cli-protocol-unix" \
        --load="module-null-sink sink_name=nullsink rate=48000" >/dev/null 2>&1; then
        echo "pulse: le démon n'a pas démarré (voir $r/pa.log), tests audio sur l'horloge silencieuse"
        tonique_pulse_stop
        return 0
    fi
    # Keep-alive reader: without a reader of its monitor the null sink renders in 2 s blocks, which would smear
    # every timing the tests measure.
    parec --latency-msec=20 -d nullsink.monitor >/dev/null 2>&1 &
    TONIQUE_PULSE_READER=$!
    export TONIQUE_PULSE_READER
    sleep 2.5
    if ! pactl info >/dev/null 2>&1 || ! kill -0 "$TONIQUE_PULSE_READER" 2>/dev/null; then
        echo "pulse: serveur injoignable (voir $r/pa.log), tests audio sur l'horloge silencieuse"
        tonique_pulse_stop
        return 0
    fi
    export TONIQUE_NULL_SINK=nullsink
    echo "pulse: serveur sans affichage prêt, sortie nullsink"
}

tonique_pulse_stop() {
    if [ -n "${TONIQUE_PULSE_READER:-}" ]; then
        kill "$TONIQUE_PULSE_READER" 2>/dev/null
        wait "$TONIQUE_PULSE_READER" 2>/dev/null
    fi
    if [ -n "${TONIQUE_PULSE_DIR:-}" ]; then
        HOME=$TONIQUE_PULSE_DIR/home pulseaudio --kill >/dev/null 2>&1
        rm -rf "$TONIQUE_PULSE_DIR"
    fi
    unset TONIQUE_NULL_SINK TONIQUE_PULSE_READER TONIQUE_PULSE_DIR XDG_RUNTIME_DIR PULSE_SERVER
    return 0
}
