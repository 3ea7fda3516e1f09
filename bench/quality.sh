#!/usr/bin/env bash
# The quality-report benchmark: a study of 1,000 design matrices (300 volumes, 11 predictors),
# written by sdmweaver_quality_study (not timed), then `sdmweaver qc` over all of them pinned to
# one core: the wall and CPU time, the page's size and the report folder's.
#   bench/quality.sh PROGRAM GENERATOR FOLDER [RUNS]
set -euo pipefail
program=$(realpath "$1")
generator=$(realpath "$2")
folder=$3
runs=${4:-1000}

pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

rm -rf "$folder"
mkdir -p "$folder/study"
"$generator" "$folder/study" "$runs"
cd "$folder"
files=(study/*.sdm)
timing=()
if [[ -x /usr/bin/time ]]; then
    timing=(/usr/bin/time -f 'cpu %U s user, %S s system, peak memory %M KB')
fi
start=$(date +%s%N)
"${timing[@]}" "${pin[@]}" "$program" qc "${files[@]}" -o qc 2>stderr.txt || {
    cat stderr.txt
    exit 1
}
end=$(date +%s%N)
wall_ms=$(((end - start) / 1000000))
tail -n 2 stderr.txt
printf '%d runs: wall %d.%03d s; index.html %d bytes; the report folder %s\n' "$runs" \
    $((wall_ms / 1000)) $((wall_ms % 1000)) "$(stat -c %s qc/index.html)" \
    "$(du -sh qc | cut -f1)"
