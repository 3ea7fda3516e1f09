"""The quality figures of designs, computed independently with numpy, for QualityFiguresTest.

Reads designs from the file named on the command line: per design a line "design ROLES MOTION
UNIT" (ROLES one letter per column: T task, C confound, K constant; MOTION six column numbers
from 0 joined by commas, or "-"; UNIT deg or rad), then one line per volume. Prints per design
one line: the condition number, the VIF and the efficiency of each task column, and the mean, the
maximum and the share above 0.5 mm of the framewise displacement (nan without motion).
"""
import sys

import numpy as np


def figures(roles, motion, unit, rows):
    x = np.array(rows, dtype=float)
    n, p = x.shape
    scaled = x / np.linalg.norm(x, axis=0)
    condition = np.linalg.cond(scaled)
    out = [condition]
    task = [j for j in range(p) if roles[j] == "T"]
    for j in task:
        others = np.column_stack([x[:, k] for k in range(p) if k != j] + [np.ones(n)])
        beta, *_ = np.linalg.lstsq(others, x[:, j], rcond=None)
        rss = np.sum((x[:, j] - others @ beta) ** 2)
        tss = np.sum((x[:, j] - x[:, j].mean()) ** 2)
        out.append(tss / rss)
    inverse = np.linalg.inv(x.T @ x)
    for j in task:
        out.append(1.0 / inverse[j, j])
    if motion is None:
        out += [float("nan")] * 3
    else:
        m = x[:, motion]
        scale = 50.0 * (np.pi / 180.0 if unit == "deg" else 1.0)
        change = np.abs(np.diff(m, axis=0))
        fd = np.concatenate([[0.0], change[:, :3].sum(axis=1) + scale * change[:, 3:].sum(axis=1)])
        out += [fd.mean(), fd.max(), np.mean(fd > 0.5)]
    return out


def main():
    designs = []
    with open(sys.argv[1]) as source:
        for line in source:
            words = line.split()
            if words and words[0] == "design":
                motion = None if words[2] == "-" else [int(k) for k in words[2].split(",")]
                designs.append((words[1], motion, words[3], []))
            elif words:
                designs[-1][3].append([float(w) for w in words])
    for roles, motion, unit, rows in designs:
        print(" ".join(repr(float(v)) for v in figures(roles, motion, unit, rows)))


main()
