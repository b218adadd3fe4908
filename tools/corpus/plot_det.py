#!/usr/bin/python3
"""DET curve of `halvox eval`: false rejection against false acceptance on normal-deviate axes.

    plot_det.py EVAL_OUT_DIR OUTPUT.png

Reads det_all.tsv and det_same_gender.tsv (threshold, false acceptance, false rejection) from the eval
output folder and marks the engine's operating point (threshold 0: the dialog's margin) and the equal
error rate of each curve.
"""

import os
import sys
from statistics import NormalDist

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

TICKS = [0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.4]
# Rates of 0 or 1 have no normal deviate; they are drawn at the edge of the plot.
FLOOR = 0.0005


def deviate(p):
    return NormalDist().inv_cdf(min(max(p, FLOOR), 1.0 - FLOOR))


def read_det(path):
    points = []
    with open(path, encoding="utf-8") as f:
        next(f)
        for line in f:
            threshold, fa, fr = (float(v) for v in line.split("\t"))
            points.append((threshold, fa, fr))
    return points


def operating_point(points):
    """The rates at the first threshold above 0: acceptance is strictly below the engine's threshold."""
    above = [p for p in points if p[0] > 0.0]
    return above[0] if above else points[-1]


def equal_error_point(points):
    return min(points, key=lambda p: abs(p[1] - p[2]))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    folder, output = sys.argv[1], sys.argv[2]
    fig, ax = plt.subplots(figsize=(6.4, 6.0), dpi=100)
    for name, label, colour in (("det_all.tsv", "all impostors", "tab:blue"),
                                ("det_same_gender.tsv", "same-gender impostors", "tab:orange")):
        points = read_det(os.path.join(folder, name))
        ax.plot([deviate(p[1]) for p in points], [deviate(p[2]) for p in points], color=colour, label=label)
        op = operating_point(points)
        ax.plot(deviate(op[1]), deviate(op[2]), "o", color=colour)
        eer = equal_error_point(points)
        ax.plot(deviate(eer[1]), deviate(eer[2]), "x", color=colour, markersize=8)
        ax.annotate(f"EER {100 * (eer[1] + eer[2]) / 2:.1f} %", (deviate(eer[1]), deviate(eer[2])),
                    textcoords="offset points", xytext=(8, 4), color=colour, fontsize=8)
    ax.plot([], [], "ko", label="operating point (margin 0.3)")
    ticks = [deviate(t) for t in TICKS]
    labels = [f"{100 * t:g}" for t in TICKS]
    ax.set_xticks(ticks, labels)
    ax.set_yticks(ticks, labels)
    ax.set_xlim(deviate(FLOOR), deviate(0.5))
    ax.set_ylim(deviate(FLOOR), deviate(0.5))
    ax.set_xlabel("false acceptance (%)")
    ax.set_ylabel("false rejection (%)")
    ax.set_title("Verification on the evaluation voices (per reading)")
    ax.grid(True, color="0.85")
    ax.legend(loc="upper right", fontsize=8)
    fig.tight_layout()
    # A fixed creation date keeps the picture byte-identical between runs on the same results.
    fig.savefig(output, metadata={"Software": None})


if __name__ == "__main__":
    main()
