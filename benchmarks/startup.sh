#!/usr/bin/env bash
# Start-up time of the window under Xvfb: each run is a fresh process (bench_startup builds the real window on the
# real platform services, runs the start-up sequence, waits for the first paint and leaves). Prints the medians of
# the time from main() and from the launch of the process.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-11}
XDG_CONFIG_HOME=$(mktemp -d) # no stored parameters, and never the user's own
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
results=$(xvfb-run -a bash -c "
    for i in \$(seq $runs); do
        t0=\$(date +%s%N)
        out=\$(./build/bench_startup 2>/dev/null)
        inside=\$(echo \"\$out\" | grep -o 'ready_ms=[0-9.]*' | cut -d= -f2)
        ready=\$(echo \"\$out\" | grep -o 'ready_epoch_us=[0-9]*' | cut -d= -f2)
        echo \"\$inside \$(( ready - t0 / 1000 ))\"
    done")
inside=$(echo "$results" | awk '{ print $1 }' | median)
whole=$(echo "$results" | awk '{ printf "%.1f\n", $2 / 1000 }' | median)
echo "start-up, window shown and ready: median ${inside} ms from main(), ${whole} ms from the launch ($runs runs)"
