#!/usr/bin/env bash
# Start-up time of the window under Xvfb: each run is a fresh process (bench_startup builds the real window on the
# real platform services, runs the start-up sequence, waits for the first paint and leaves). Prints the medians of
# the time inside the process and of the whole process, launch to exit.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-11}
export XDG_CONFIG_HOME=$(mktemp -d)   # no stored parameters, and never the user's own
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
xvfb-run -a bash -c "
    for i in \$(seq $runs); do
        t0=\$(date +%s%N)
        inside=\$(./build/bench_startup | grep -o 'ready_ms=[0-9.]*' | cut -d= -f2)
        t1=\$(date +%s%N)
        echo \"\$inside \$(( (t1 - t0) / 1000 ))\"
    done" | awk '{ a[NR] = $1; b[NR] = $2 / 1000 }
        END { n = asort(a); asort(b);
              printf "start-up, window shown and ready: median %.1f ms inside the process, %.1f ms launch to exit (%d runs)\n",
                     a[int((n + 1) / 2)], b[int((n + 1) / 2)], n }'
