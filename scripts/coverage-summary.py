#!/usr/bin/env python3
"""Line and branch coverage of src/ and app/ per folder, from gcovr's JSON
summaries: the first with gcovr's default options, the second with the
branches that only exist for exceptions left out."""
import json
import sys
from collections import defaultdict


def folders(path):
    with open(path) as f:
        files = json.load(f)["files"]
    sums = defaultdict(lambda: [0, 0, 0, 0])
    for entry in files:
        parts = entry["filename"].split("/")
        key = "/".join(parts[:2]) if parts[0] == "src" else parts[0]
        s = sums[key]
        s[0] += entry["line_covered"]
        s[1] += entry["line_total"]
        s[2] += entry["branch_covered"]
        s[3] += entry["branch_total"]
    return sums


def pct(a, b):
    return 100.0 * a / b if b else 100.0


default, no_throw = folders(sys.argv[1]), folders(sys.argv[2])
print(f"{'folder':<14}{'lines':>18}{'branches':>20}{'no-throw branches':>20}")
total = [0] * 6
for key in sorted(default):
    lc, lt, bc, bt = default[key]
    nbc, nbt = no_throw[key][2], no_throw[key][3]
    for i, v in enumerate((lc, lt, bc, bt, nbc, nbt)):
        total[i] += v
    print(f"{key:<14}{pct(lc, lt):6.1f}% {lc:5}/{lt:<5}{pct(bc, bt):7.1f}% {bc:5}/{bt:<5}{pct(nbc, nbt):7.1f}% {nbc:5}/{nbt:<5}")
lc, lt, bc, bt, nbc, nbt = total
print(f"{'total':<14}{pct(lc, lt):6.1f}% {lc:5}/{lt:<5}{pct(bc, bt):7.1f}% {bc:5}/{bt:<5}{pct(nbc, nbt):7.1f}% {nbc:5}/{nbt:<5}")
