#!/usr/bin/env bash
# The batch benchmark: generated studies of 10, 100, 1,000 and 10,000 runs (or the counts given)
# through the sdmweaver program pinned to one core, with its run report as TSV, each run under
# /usr/bin/time -v for its peak memory; the generation of a study is not timed. Prints per study
# the wall and CPU time, the time per run, the time per run beyond the first study (flat when the
# cost of a run does not grow with the study), the peak memory and the design matrices written;
# then how the time per run of the largest study compares with that of 1,000 runs. A run whose
# report does not hold a row per run, or that does not end with status 0, fails the benchmark.
#   bench/batch.sh PROGRAM GENERATOR FOLDER [VOLUMES [RUNS...]]
set -euo pipefail
program=$(realpath "$1")
generator=$(realpath "$2")
folder=$3
volumes=${4:-300}
shift $(($# < 4 ? $# : 4))
counts=("$@")
((${#counts[@]})) || counts=(10 100 1000 10000)

pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

printf '%6s %8s %9s %9s %13s %15s %12s %8s\n' runs volumes "wall (s)" "cpu (s)" "per run (ms)" \
    "extra run (ms)" "peak memory" written
first_runs=
first_wall=
declare -A per_run
for runs in "${counts[@]}"; do
    study="$folder/runs-$runs"
    rm -rf "$study"
    mkdir -p "$study"
    "$generator" "$study" "$runs" "$volumes"
    start=$(date +%s%N)
    (
        cd "$study"
        /usr/bin/time -v -o time.txt "${pin[@]}" "$program" --list study.txt --vmr anatomy.vmr \
            --skip-first --z-transform --report report.tsv >log.txt 2>messages.txt
    ) || { echo "sdmweaver failed on the study of $runs runs; see $study"; exit 1; }
    reported=$(grep -c $'\tok\t' "$study/report.tsv" || true)
    ((reported == runs)) || { echo "the report of $runs runs holds $reported pairs that are ok; see $study"; exit 1; }
    end=$(date +%s%N)
    user=$(sed -n 's/.*User time (seconds): //p' "$study/time.txt")
    system=$(sed -n 's/.*System time (seconds): //p' "$study/time.txt")
    peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$study/time.txt")
    written=$(find "$study" -name '*_3DMC_z_HR_z_RVT_z.sdm' | wc -l)
    wall_ms=$(((end - start) / 1000000))
    if [[ -z $first_runs ]]; then
        first_runs=$runs
        first_wall=$wall_ms
    fi
    awk -v runs="$runs" -v volumes="$volumes" -v wall="$wall_ms" -v user="$user" -v sys="$system" \
        -v peak="$peak_kb" -v n="$written" -v r0="$first_runs" -v w0="$first_wall" 'BEGIN {
        extra = runs > r0 ? sprintf("%.2f", (wall - w0) / (runs - r0)) : "-"
        printf "%6d %8d %9.2f %9.2f %13.2f %15s %9.1f MB %8d\n", runs, volumes, wall / 1000,
            user + sys, wall / runs, extra, peak / 1000, n
    }'
    per_run[$runs]=$(awk -v wall="$wall_ms" -v runs="$runs" 'BEGIN { printf "%.4f", wall / runs }')
    last=$runs
    rm -rf "$study"
done
if [[ -n ${per_run[1000]:-} && $last != 1000 ]]; then
    awk -v a="${per_run[$last]}" -v b="${per_run[1000]}" -v n="$last" 'BEGIN {
        printf "time per run at %d runs / at 1000 runs: %.2f\n", n, a / b
    }'
fi
