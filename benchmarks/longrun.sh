#!/usr/bin/env bash
# Drives the real window under Xvfb for a while (default 10 minutes) as a user would: presets, "Préparer La Musique",
# Play, typed characters, drill rounds. Prints the resident memory and the open file descriptors of the program every
# minute: after the first minute both should stay flat (within 2 MB and 2 descriptors).
#   benchmarks/longrun.sh [seconds] [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=$(cd "${2:-build}" && pwd)
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool absent (paquets xvfb, xdotool)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/tonique" "$build/telkey.ref" "$work/"
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display XDG_CONFIG_HOME=$work/config
# No sound server: the player keeps its time on its silent clock, as it does without an audio output.
PULSE_SERVER=unix:/nonexistent "$work/tonique" >/dev/null 2>&1 &
app=$!
sleep 2
window=$(xdotool search --sync --all --pid $app --name "Tonique,  Version" | head -1)
xdotool windowfocus --sync "$window"

click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.3}"; }
menuItem() { click 178 8 0.3; click "$1" "$2" 0.5; } # "Groupes aléatoire", then an item
sample() {
    local rss fds
    rss=$(awk '/VmRSS/ {print $2}' /proc/$app/status)
    fds=$(ls /proc/$app/fd | wc -l)
    printf '%4d s  resident %6d kB  descriptors %3d\n' "$1" "$rss" "$fds"
}

start=$SECONDS
next=0
while ((SECONDS - start < seconds)); do
    if ((SECONDS - start >= next)); then
        sample $((SECONDS - start))
        next=$((next + 60))
    fi
    for item in "222 28" "239 50" "222 72" "202 94" "186 116"; do
        menuItem $item           # a preset, rendered
        click 164 106 1.0        # Play
        click 201 106 0.3        # Stop
    done
    click 450 85 0.2             # "Frappe clavier"
    xdotool type --delay 50 "abc"
    sleep 1.5
    click 305 8 1.0              # "Clavier": a drill round
    xdotool type --delay 20 "0123456789abcdefghijklmnopqrstuvwxyz.,?/+'<*"
    sleep 0.5
    click 467 68 0.3             # "Fin"
done
sample $((SECONDS - start))
kill -0 $app && echo "the program is still running"
