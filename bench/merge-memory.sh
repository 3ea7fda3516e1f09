#!/usr/bin/env bash
# Peak memory of merging the motion estimates into a base design matrix of many rows (200,000 by
# default): the base is written first, then the merge runs alone under /usr/bin/time -v.
#   bench/merge-memory.sh TOOL FOLDER [ROWS]
set -euo pipefail
tool=$(realpath "$1")
folder=$2
rows=${3:-200000}

rm -rf "$folder"
mkdir -p "$folder"
"$tool" write "$folder" "$rows"
base_bytes=$(stat -c %s "$folder/base.sdm")
/usr/bin/time -v -o "$folder/time.txt" "$tool" merge "$folder" >"$folder/merge.txt"
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$folder/time.txt")
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$folder/time.txt")
awk -v rows="$rows" -v bytes="$base_bytes" -v wall="$wall" -v peak="$peak_kb" 'BEGIN {
    printf "base: %d rows x 40 predictors, %.1f MB; motion estimates: %d rows\n", rows, bytes / 1e6, rows
    printf "merge: wall %s, peak memory %.1f MB (%d kB)\n", wall, peak / 1000, peak
}'
cat "$folder/merge.txt"
rm -rf "$folder"
