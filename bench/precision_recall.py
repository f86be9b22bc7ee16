#!/usr/bin/env python3
"""Pair precision and recall of a similar scan of a tree in which each folder holds one photo and
its copies (quennary-make-corpus copies): two files of one folder are a true pair.

    bench/precision_recall.py RUNNER DIR [RUNNER ARGS...]

RUNNER is a quennary-scan binary; the scan runs with a fresh home (an empty cache) and the given
arguments (--level 4 unless another level is given).
"""
import itertools
import json
import os
import subprocess
import sys
import tempfile


def pairs(groups):
    return {tuple(sorted(p)) for g in groups for p in itertools.combinations(g, 2)}


def main():
    runner, tree, extra = sys.argv[1], sys.argv[2], sys.argv[3:]
    if "--level" not in extra:
        extra = ["--level", "4"] + extra
    with tempfile.TemporaryDirectory() as home:
        out = os.path.join(home, "scan.json")
        subprocess.run([runner, "--mode", "similar", "--home", home, "--json", out] + extra + [tree],
                       check=True, capture_output=True)
        with open(out) as f:
            report = json.load(f)
    folders = {}
    for path in report["recordPaths"]:
        folders.setdefault(os.path.dirname(path), []).append(path)
    truth = pairs(folders.values())
    found = pairs(report["groups"])
    right = len(found & truth)
    print(json.dumps({"records": report["records"], "truePairs": len(truth), "foundPairs": len(found),
                      "precision": right / len(found) if found else 1.0,
                      "recall": right / len(truth) if truth else 1.0}))


if __name__ == "__main__":
    main()
