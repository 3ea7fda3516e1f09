#!/usr/bin/env bash
# The design benchmark: 1,000 design matrices (300 volumes, 5 conditions, 24 confound columns)
# made in one process pinned to one core, then the same through the sdmweaver program started
# 1,000 times (design check included), and beside them the time Python takes for the same designs
# on a 1 ms grid (a sample of designs, scaled to 1,000).
#   bench/design.sh PROGRAM BENCH FOLDER [PYTHON_DESIGNS]
set -euo pipefail
program=$(realpath "$1")
bench=$(realpath "$2")
folder=$3
python_designs=${4:-50}
script_dir=$(dirname "$(realpath "$0")")

pin=()
command -v taskset >/dev/null && pin=(taskset -c 0)

rm -rf "$folder"
mkdir -p "$folder"
"${pin[@]}" "$bench" "$folder" 1000
"${pin[@]}" "$bench" "$folder" 1000 --derivative

start=$(date +%s%N)
for ((i = 0; i < 1000; i++)); do
    run=$((i % 20 + 1))
    "${pin[@]}" "$program" design --events "$folder/sub-01_task-bench_run-${run}_events.tsv" \
        --tr 2 --volumes 300 \
        --confounds "$folder/sub-01_task-bench_run-${run}_desc-confounds_timeseries.tsv" \
        --columns 'trans_*,rot_*' -o "$folder/out/program-run-${run}.sdm" 2>/dev/null
done
end=$(date +%s%N)
wall_ms=$(((end - start) / 1000000))
printf '1000 runs of sdmweaver design (a process each, design check included): wall %d.%03d s\n' \
    $((wall_ms / 1000)) $((wall_ms % 1000))

python=
for candidate in /usr/bin/python3 python3; do
    if "$candidate" -c 'import numpy, scipy' 2>/dev/null; then
        python=$candidate
        break
    fi
done
if [[ -n $python ]]; then
    "${pin[@]}" "$python" "$script_dir/fine_grid_designs.py" "$folder" "$python_designs"
else
    echo "Python with numpy and scipy not found (Debian: python3-numpy python3-scipy): no comparison"
fi
