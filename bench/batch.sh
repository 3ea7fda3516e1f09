#!/usr/bin/env bash
# The batch benchmark: generated studies of 10 and of 1,000 runs (or the counts given) through
# the sdmweaver program on one core, each timed with /usr/bin/time -v; the generation of a study
# is not timed. Prints wall time, time per run and peak memory for each study.
#   bench/batch.sh PROGRAM GENERATOR FOLDER [VOLUMES [RUNS...]]
set -euo pipefail
program=$(realpath "$1")
generator=$(realpath "$2")
folder=$3
volumes=${4:-300}
shift $(($# < 4 ? $# : 4))
counts=("$@")
((${#counts[@]})) || counts=(10 1000)

pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

printf '%6s %8s %10s %12s %14s %10s\n' runs volumes "wall (s)" "per run (ms)" "peak memory" written
for runs in "${counts[@]}"; do
    study="$folder/runs-$runs"
    rm -rf "$study"
    mkdir -p "$study"
    "$generator" "$study" "$runs" "$volumes"
    (
        cd "$study"
        /usr/bin/time -v -o time.txt "${pin[@]}" "$program" --list study.txt --vmr anatomy.vmr \
            --skip-first --z-transform >log.txt 2>messages.txt
    ) || { echo "sdmweaver failed on the study of $runs runs; see $study"; exit 1; }
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$study/time.txt")
    seconds=$(echo "$wall" | awk -F: '{ s = 0; for (i = 1; i <= NF; ++i) s = s * 60 + $i; print s }')
    peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$study/time.txt")
    written=$(find "$study" -name '*_3DMC_z_HR_z_RVT_z.sdm' | wc -l)
    awk -v runs="$runs" -v volumes="$volumes" -v s="$seconds" -v peak="$peak_kb" -v n="$written" \
        'BEGIN { printf "%6d %8d %10.2f %12.2f %11.1f MB %10d\n", runs, volumes, s, s * 1000 / runs, peak / 1000, n }'
    rm -rf "$study"
done
