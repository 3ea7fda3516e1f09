"""The same designs as sdmweaver_design_bench, computed as the Python design-matrix builders do:
each condition's stimulus on a 1 ms grid, convolved (FFT) with the two-gamma response function,
sampled at the volume times, and the 24 motion columns picked from the confound table. Prints
the time per design and the time 1,000 would take.

    fine_grid_designs.py FOLDER [DESIGNS]
"""

import csv
import fnmatch
import glob
import os
import sys
import time

import numpy as np
from scipy import signal, stats

STEP, TR, VOLUMES = 0.001, 2.0, 300


def design(events_path, confounds_path, h):
    with open(events_path, newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    grid = np.arange(0.0, VOLUMES * TR + 32.0, STEP)
    times = np.arange(VOLUMES) * TR
    conditions = list(dict.fromkeys(r["trial_type"] for r in rows))
    columns = []
    for name in conditions:
        stimulus = np.zeros_like(grid)
        for r in rows:
            if r["trial_type"] == name:
                onset, duration = float(r["onset"]), float(r["duration"])
                if duration > 0:
                    stimulus[(grid >= onset) & (grid < onset + duration)] += 1.0
                else:
                    stimulus[int(round(onset / STEP))] += 1.0 / STEP
        fine = signal.fftconvolve(stimulus, h)[: grid.size] * STEP
        columns.append(np.interp(times, grid, fine))
    with open(confounds_path, newline="") as f:
        reader = csv.reader(f, delimiter="\t")
        names = next(reader)
        table = [row for row in reader]
    for i, name in enumerate(names):
        if fnmatch.fnmatch(name, "trans_*") or fnmatch.fnmatch(name, "rot_*"):
            columns.append(np.array([0.0 if row[i] == "n/a" else float(row[i]) for row in table]))
    columns.append(np.ones(VOLUMES))
    return np.column_stack(columns)


def main(folder, designs="20"):
    t = np.arange(0.0, 32.0 + STEP / 2, STEP)
    h = stats.gamma.pdf(t, 6) - stats.gamma.pdf(t, 16) / 6.0
    h /= h.sum() * STEP
    events = sorted(glob.glob(os.path.join(folder, "*_events.tsv")))
    count = int(designs)
    start = time.perf_counter()
    for i in range(count):
        path = events[i % len(events)]
        design(path, path.replace("_events.tsv", "_desc-confounds_timeseries.tsv"), h)
    elapsed = time.perf_counter() - start
    print(f"Python, 1 ms grid: {count} designs in {elapsed:.3f} s, "
          f"{1000 * elapsed / count:.1f} ms per design, {elapsed / count * 1000:.1f} s for 1,000")


if __name__ == "__main__":
    main(*sys.argv[1:])
