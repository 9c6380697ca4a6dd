#!/usr/bin/env bash
# CPU of QuorvexEval at rest: the program started on the simulated chips with its graph window
# open, as start-up leaves it, measured once its charts have filled.
#
#   bench/rest_cpu.sh [options] BIN_DIR [BIN_DIR ...]
#
# BIN_DIR is a build's bin/ folder (the program with its stand-in libraries beside it). With
# several, each round runs them one after the other, so that builds compared in one call meet the
# same machine load; every run prints one line and the end prints each build's mean.
#
# "Filled" means every ring of every chart is full: a chart keeps its newest 4096 points per
# channel, and the graph task, due every 50 ms on a 50 ms timer, appends on every tick or every
# other one, so the rings are full after at most 4096 x 100 ms = 410 s. The visible span (60 s)
# is full long before. Painting draws only the visible span, so --settle 70 already measures the
# same paint work; the default waits for the rings.
#
# The figure is the program's own user + system time (/proc/<pid>/stat, fields 14 and 15) over
# the sampling window, in percent of one core; the X server's time is not counted.
#
# Options:
#   --settle S   seconds from start to the start of sampling (default 420)
#   --sample S   seconds sampled (default 30)
#   --rounds N   rounds over all builds (default 1)
#   --shot DIR   also save a screenshot of the screen (DIR/<run>.png) at the end of each sample
#
# Needs xvfb-run and xauth (apt-get install xvfb xauth), and imagemagick's import for --shot.
set -euo pipefail

settle=420
sample=30
rounds=1
shot=""

if [ "${1:-}" = "--inner" ]; then
    # Inside the virtual display: start, wait, sample, stop the program we started.
    bin=$2 settle=$3 sample=$4 shot=$5
    "$bin/QuorvexEval" >/dev/null 2>&1 &
    pid=$!
    sleep "$settle"
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "QuorvexEval ended before it was measured" >&2
        exit 1
    fi
    ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
    hz=$(getconf CLK_TCK)
    t0=$(date +%s.%N)
    c0=$(ticks "$pid")
    sleep "$sample"
    c1=$(ticks "$pid")
    t1=$(date +%s.%N)
    if [ -n "$shot" ]; then import -window root "$shot"; fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v hz="$hz" \
        'BEGIN { printf "%.2f\n", 100 * (c1 - c0) / hz / (t1 - t0) }'
    exit 0
fi

bins=()
while [ $# -gt 0 ]; do
    case $1 in
        --settle) settle=$2; shift 2 ;;
        --sample) sample=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        --shot) shot=$2; mkdir -p "$shot"; shift 2 ;;
        -h|--help) sed -n '2,26p' "$0"; exit 0 ;;
        *) bins+=("$(cd "$1" && pwd)"); shift ;;
    esac
done
if [ ${#bins[@]} -eq 0 ]; then
    echo "usage: $0 [--settle S] [--sample S] [--rounds N] [--shot DIR] BIN_DIR [BIN_DIR ...]" >&2
    exit 2
fi
for b in "${bins[@]}"; do
    [ -x "$b/QuorvexEval" ] || { echo "no QuorvexEval in $b" >&2; exit 2; }
done

script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
declare -A sums
for ((r = 1; r <= rounds; ++r)); do
    for i in "${!bins[@]}"; do
        b=${bins[$i]}
        file=""
        if [ -n "$shot" ]; then file=$(cd "$shot" && pwd)/build$((i + 1))-round$r.png; fi
        # The program keeps the main window where it was; a roomy screen shows it whole.
        pct=$(xvfb-run -a -s "-screen 0 1600x1000x24" \
            "$script" --inner "$b" "$settle" "$sample" "$file")
        printf 'round %d  %-40s %6s %% of one core\n' "$r" "$b" "$pct"
        sums[$i]=$(awk -v a="${sums[$i]:-0}" -v b="$pct" 'BEGIN { print a + b }')
    done
done
for i in "${!bins[@]}"; do
    printf 'mean     %-40s %6.2f %% of one core (%d runs)\n' "${bins[$i]}" \
        "$(awk -v s="${sums[$i]}" -v n="$rounds" 'BEGIN { print s / n }')" "$rounds"
done
