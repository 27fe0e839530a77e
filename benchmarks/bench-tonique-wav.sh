#!/bin/sh
# tonique-wav as a whole process: the exam text (goal <= 7 ms), and a 29 kB text (about 460 MB of WAV) against dd
# writing the same number of bytes (goal <= 1.2x) with its peak memory (goal <= 16 MiB); the same text with every band
# condition on, its time and peak memory (goal <= 32 MiB); the same text in each other sound format (--format), its
# time, peak memory and size; MP3 against ebook2cw when it is installed; the compressed formats against a previous
# build of tonique-wav when one is given. Wall times of pairs run one after the other, and the load of the machine.
# Usage: bench-tonique-wav.sh [path/to/tonique-wav [path/to/previous/tonique-wav]]
set -eu
exe=$(realpath "${1:-build/tonique-wav}")
[ -x "$exe" ] || { echo "tonique-wav introuvable : $exe" >&2; exit 1; }
previous=""
if [ $# -ge 2 ]; then
    previous=$(realpath "$2")
    [ -x "$previous" ] || { echo "tonique-wav précédent introuvable : $previous" >&2; exit 1; }
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
cd "$tmp"
# Default parameters: an empty settings folder.
export XDG_CONFIG_HOME="$tmp/config"

# Groups of five letters (30) then figures (6), fixed seed: the exam exercise.
groups() { # count seed
    awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); l = "abcdefghijklmnopqrstuvwxyz"; f = "0123456789";
        for (g = 0; g < n; g++) { s = (g % 36 < 30) ? l : f;
            for (i = 0; i < 5; i++) printf "%s", substr(s, int(rand() * length(s)) + 1, 1); printf " " } }'
}
groups 36 1 > exam.txt
groups 4834 2 > big.txt # 29004 bytes

now_ns() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "== exam text ($(wc -c < exam.txt) bytes)"
if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 5 --runs 100 "$exe exam.txt"
else
    "$exe" exam.txt > /dev/null
    for i in $(seq 1 51); do
        t0=$(now_ns); "$exe" exam.txt > /dev/null; t1=$(now_ns)
        echo $(( (t1 - t0) / 1000 ))
    done | median | awk '{ printf "tonique-wav exam text: median %.2f ms over 51 runs (goal <= 7 ms)\n", $1 / 1000 }'
fi
ls -l TEST.wav | awk '{ print "WAV bytes:", $5 }'
# On a loaded machine the wall time mostly measures waiting: the processor time of 51 runs, and of /bin/true.
if [ -x /usr/bin/time ]; then
    /usr/bin/time -f "%U %S" -o cpu.txt sh -c "for i in \$(seq 1 51); do \"$exe\" exam.txt > /dev/null; done"
    awk '{ printf "tonique-wav exam text: %.2f ms of processor time per run (user + system)\n", ($1 + $2) * 1000 / 51 }' cpu.txt
    /usr/bin/time -f "%U %S" -o cpu.txt sh -c 'for i in $(seq 1 51); do /bin/true; done'
    awk '{ printf "/bin/true for comparison: %.2f ms per run\n", ($1 + $2) * 1000 / 51 }' cpu.txt
    for i in $(seq 1 51); do t0=$(now_ns); /bin/true; t1=$(now_ns); echo $(( (t1 - t0) / 1000 )); done | median |
        awk '{ printf "/bin/true wall time: median %.2f ms\n", $1 / 1000 }'
fi

echo "== 29 kB text ($(wc -c < big.txt) bytes)"
"$exe" big.txt > /dev/null
bytes=$(stat -c %s TEST.wav)
echo "WAV bytes: $bytes"
# Each run replaces the previous one's files, as a second rendering does (and dd its own file): on ext4 a rename over
# an existing file would start writing the whole new file out at once.
dd if=/dev/zero of=dd.bin bs=256K count="$bytes" iflag=count_bytes status=none
# Each run starts with everything on disk (sync), as a learner's previous files are: the other program's writing
# still in memory would otherwise be paid for by the next one.
for i in 1 2 3 4 5 6 7; do
    sync; t0=$(now_ns); "$exe" big.txt > /dev/null; t1=$(now_ns)
    sync; t2=$(now_ns); dd if=/dev/zero of=dd.bin bs=256K count="$bytes" iflag=count_bytes status=none; t3=$(now_ns)
    echo "$(( (t1 - t0) / 1000 )) $(( (t3 - t2) / 1000 ))"
done > pairs.txt
rm -f dd.bin
awk '{ print $1 }' pairs.txt | median | awk '{ printf "tonique-wav: median %.1f ms\n", $1 / 1000 }'
awk '{ print $2 }' pairs.txt | median | awk '{ printf "dd:          median %.1f ms\n", $1 / 1000 }'
awk '{ print $1 / $2 }' pairs.txt | median | awk '{ printf "ratio tonique-wav / dd: median of pairs %.2fx (goal <= 1.2x)\n", $1 }'
awk '{ print $1 / $2 }' pairs.txt | sort -n | tail -1 | awk '{ printf "ratio tonique-wav / dd: worst pair %.2fx\n", $1 }'
if [ -x /usr/bin/time ]; then
    /usr/bin/time -v "$exe" big.txt 2> time.txt > /dev/null
    awk -F': ' '/Maximum resident set size/ { printf "peak memory: %.1f MiB (goal <= 16 MiB)\n", $2 / 1024 }' time.txt
fi

echo "== 29 kB text, every band condition on"
all="--bruit 10 --qsb 60,8 --qrm 250,-6 --manuel 10 --fronts 5 --graine 1"
rm -f TEST.wav TEST.txt
t0=$(now_ns); "$exe" $all big.txt > /dev/null; t1=$(now_ns)
echo "WAV bytes: $(stat -c %s TEST.wav)"
awk -v ns=$((t1 - t0)) 'BEGIN { printf "tonique-wav, every condition on: %.1f ms\n", ns / 1e6 }'
if [ -x /usr/bin/time ]; then
    rm -f TEST.wav TEST.txt
    /usr/bin/time -v "$exe" $all big.txt 2> time.txt > /dev/null
    awk -F': ' '/Maximum resident set size/ { printf "peak memory: %.1f MiB (goal <= 32 MiB)\n", $2 / 1024 }' time.txt
fi

echo "== 29 kB text, other formats"
for format in mp3 opus ogg flac; do
    rm -f TEST.*
    t0=$(now_ns); "$exe" --format "$format" big.txt > /dev/null; t1=$(now_ns)
    awk -v ns=$((t1 - t0)) -v f="$format" -v b="$(stat -c %s TEST.$format)" \
        'BEGIN { printf "tonique-wav --format %s: %.1f s, %.1f MB\n", f, ns / 1e9, b / 1e6 }'
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -v "$exe" --format "$format" big.txt 2> time.txt > /dev/null
        awk -F': ' '/Maximum resident set size/ { printf "  peak memory: %.1f MiB\n", $2 / 1024 }' time.txt
    fi
done

groups 600 3 > mid.txt
load() { cut -d' ' -f1 /proc/loadavg; }

# Pairs of runs, one program then the other, on the 3.6 kB text: their medians and the median of their ratios.
pairs() { # label-a label-b file: "microseconds-a microseconds-b" per line
    awk '{ print $1 }' "$3" | median | awk -v l="$1" '{ printf "  %-12s median %.2f s\n", l ":", $1 / 1e6 }'
    awk '{ print $2 }' "$3" | median | awk -v l="$2" '{ printf "  %-12s median %.2f s\n", l ":", $1 / 1e6 }'
    awk '{ print $1 / $2 }' "$3" | median | awk -v a="$1" -v b="$2" '{ printf "  ratio %s / %s: median of pairs %.2fx\n", a, b, $1 }'
}

# Each compressed format against the previous build (goal: Vorbis and Opus at most half its time).
if [ -n "$previous" ]; then
    for format in mp3 ogg opus; do
        echo "== 3.6 kB text, $format at 12 wpm, against the previous build (load $(load))"
        for i in 1 2 3 4 5; do
            t0=$(now_ns); "$exe" --format "$format" --wpm 12 --tone 889 mid.txt > /dev/null; t1=$(now_ns)
            "$previous" -o PREV --format "$format" --wpm 12 --tone 889 mid.txt > /dev/null; t2=$(now_ns)
            echo "$(( (t1 - t0) / 1000 )) $(( (t2 - t1) / 1000 ))"
        done > prevpairs.txt
        pairs tonique-wav previous prevpairs.txt
    done
fi

# The same sound from the command-line converter many operators use, when it is installed: 12 wpm, 889 Hz, 8000 Hz
# mono, MP3 at 32 kbit/s constant, the two programs timed one after the other in each pair (goal: tonique-wav at most
# 1/1.2 of its time).
echo "== 3.6 kB text, MP3 at 32 kbit/s and 12 wpm, against ebook2cw (load $(load))"
if ! command -v ebook2cw > /dev/null; then
    echo "ebook2cw is not installed (Debian package ebook2cw): comparison skipped"
    exit 0
fi
mkdir -p home
for i in 1 2 3 4 5; do
    t0=$(now_ns); "$exe" --format mp3 --debit 32 --wpm 12 --tone 889 mid.txt > /dev/null; t1=$(now_ns)
    HOME="$tmp/home" ebook2cw -w 12 -f 889 -s 8000 -b 32 -o ebook mid.txt > /dev/null 2>&1; t2=$(now_ns)
    echo "$(( (t1 - t0) / 1000 )) $(( (t2 - t1) / 1000 ))"
done > mp3pairs.txt
pairs tonique-wav ebook2cw mp3pairs.txt
echo "  (goal <= 0.83x; load now $(load))"
ls -l TEST.mp3 ebook0000.mp3 | awk '{ print "  " $9 ": " $5 " bytes" }'
