"""Predictors of a BIDS events file computed on a 1 ms grid, independently of sdmweaver, and
compared with what sdmweaver computes exactly.

    fine_grid.py EVENTS TR VOLUMES DUMMIES SLICE_REF HRF DESIGN_TSV SLOPES_TSV

DESIGN_TSV is `sdmweaver design --derivative --tsv` of the events; SLOPES_TSV holds the exact time
derivative of each condition's predictor before orthogonalisation, one column per condition.
Checks: every condition predictor within 0.5% of its peak, every derivative within 1% of the
numerical derivative of the fine-grid predictor (before and after orthogonalisation), and one
row per volume kept. Exit status 0 when all hold, 1 otherwise.
"""

import csv
import sys

import numpy as np
from scipy import signal, stats

STEP = 0.001  # seconds
KERNEL_SECONDS = 32.0


def kernel(name):
    t = np.arange(0.0, KERNEL_SECONDS + STEP / 2, STEP)
    if name == "two-gamma":
        h = stats.gamma.pdf(t, 6) - stats.gamma.pdf(t, 16) / 6.0
    else:  # Boynton: n = 3, tau = 1.25 s, delay 2.5 s
        tau, delay = 1.25, 2.5
        h = np.where(t >= delay, stats.gamma.pdf((t - delay) / tau, 3) / tau, 0.0)
    return h / (h.sum() * STEP)  # integrates to 1


def read_events(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    conditions = []
    for row in rows:
        name = row.get("trial_type", "task")
        if name not in conditions:
            conditions.append(name)
    return rows, conditions


def read_table(path):
    with open(path, newline="") as f:
        reader = csv.reader(f, delimiter="\t")
        names = next(reader)
        values = np.array([[float(v) for v in row] for row in reader])
    return names, values


def main(events, tr, volumes, dummies, slice_ref, hrf, design_path, slopes_path):
    tr, volumes, dummies, slice_ref = float(tr), int(volumes), int(dummies), float(slice_ref)
    rows, conditions = read_events(events)
    times = (np.arange(volumes - dummies) + dummies + slice_ref) * tr
    start = min(0.0, min(float(r["onset"]) for r in rows)) - 1.0
    grid = start + np.arange(int(np.ceil((times[-1] - start) / STEP)) + 2) * STEP
    h = kernel(hrf)

    names, design = read_table(design_path)
    slope_names, slopes = read_table(slopes_path)
    failures = []
    if design.shape[0] != volumes - dummies:
        failures.append(f"{design.shape[0]} rows for {volumes - dummies} volumes")

    for name in conditions:
        stimulus = np.zeros_like(grid)
        for r in rows:
            if r.get("trial_type", "task") != name:
                continue
            onset = float(r["onset"])
            duration = 0.0 if r["duration"] == "n/a" else float(r["duration"])
            if duration > 0:
                stimulus[(grid >= onset) & (grid < onset + duration)] += 1.0
            else:
                stimulus[int(round((onset - start) / STEP))] += 1.0 / STEP
        fine = signal.fftconvolve(stimulus, h)[: grid.size] * STEP
        predictor = np.interp(times, grid, fine)
        slope = np.interp(times, grid, np.gradient(fine, STEP))
        ortho = slope - (slope @ predictor) / (predictor @ predictor) * predictor

        ours = design[:, names.index(name)]
        checks = [
            (name, ours, predictor, 0.005),
            (name + " derivative (exact)", slopes[:, slope_names.index(name)], slope, 0.01),
            (name + " derivative", design[:, names.index(name + " derivative")], ortho, 0.01),
        ]
        for label, got, expected, tolerance in checks:
            error = np.max(np.abs(got - expected)) / np.max(np.abs(expected))
            print(f"{label}: largest difference {100 * error:.4f}% of the peak")
            if not error <= tolerance:
                failures.append(f"{label}: {100 * error:.4f}% above {100 * tolerance}%")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
