#!/usr/bin/env python3
"""Times Quennary's exact scan against jdupes on the same tree, back to back.

usage: bench/exact-vs-jdupes.py BUILD_DIR TREE [--rounds N] [--make PHOTOS COPIES]

Each round runs, in this order: a cold exact scan (quennary-scan --mode exact with an empty
--home, so nothing is cached), a warm one (the same home again), and `jdupes -r TREE`. A scan's
time is the runner's own "seconds.total", from Scan pressed to the groups (the process's start-up
and JSON writing left out; the whole process time is printed beside it). It prints every time and
the medians, and fails when the groups differ: the scan's groups of two or more against jdupes'
sets of identical files.

With --make, TREE is first filled by quennary-make-corpus with PHOTOS distinct photos (1024 x 768)
and every (PHOTOS / COPIES)-th of them copied byte for byte into TREE/copies. jdupes is a Debian
package (apt-get install jdupes); it is needed for this benchmark only.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def make_tree(build, tree, photos, copies):
    subprocess.run([os.path.join(build, "bench", "quennary-make-corpus"), "photos", tree, str(photos),
                    "1024", "768"], check=True)
    target = os.path.join(tree, "copies")
    os.makedirs(target, exist_ok=True)
    originals = sorted(os.path.join(root, name) for root, _, names in os.walk(tree) for name in names
                       if not root.startswith(target))
    step = max(1, len(originals) // copies)
    for i, path in enumerate(originals[::step][:copies]):
        shutil.copyfile(path, os.path.join(target, "c%05d-%s" % (i, os.path.basename(path))))


def quennary(build, tree, home):
    out = os.path.join(home, "scan.json")
    start = time.monotonic()
    subprocess.run([os.path.join(build, "bench", "quennary-scan"), "--mode", "exact", "--home", home,
                    "--json", out, tree], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    process = time.monotonic() - start
    with open(out) as f:
        report = json.load(f)
    return report["seconds"]["total"], process, {frozenset(group) for group in report["groups"]}


def jdupes(tree):
    start = time.monotonic()
    result = subprocess.run(["jdupes", "-r", "-q", tree], check=True, capture_output=True, text=True)
    seconds = time.monotonic() - start
    groups = [frozenset(block.splitlines()) for block in result.stdout.strip().split("\n\n") if block]
    return seconds, set(groups)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("tree")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--make", nargs=2, type=int, metavar=("PHOTOS", "COPIES"))
    args = parser.parse_args()
    tree = os.path.abspath(args.tree)
    if args.make:
        make_tree(args.build, tree, *args.make)
    times = {"cold": [], "warm": [], "jdupes": [], "cold process": [], "warm process": []}
    same = True
    for round_number in range(args.rounds):
        with tempfile.TemporaryDirectory(prefix="quennary-exact-bench-") as home:
            cold, cold_process, groups = quennary(args.build, tree, home)
            warm, warm_process, warm_groups = quennary(args.build, tree, home)
        plain, expected = jdupes(tree)
        same = same and groups == expected and warm_groups == expected
        for key, value in (("cold", cold), ("warm", warm), ("jdupes", plain), ("cold process", cold_process),
                           ("warm process", warm_process)):
            times[key].append(value)
        print("round %d: cold %.2f s (process %.2f s), warm %.2f s (process %.2f s), jdupes %.2f s, %d groups%s" % (
            round_number + 1, cold, cold_process, warm, warm_process, plain, len(expected),
            "" if same else " (GROUPS DIFFER)"))
    medians = {key: statistics.median(values) for key, values in times.items()}
    print("medians: cold %.2f s (%.2fx jdupes; process %.2f s), warm %.2f s (%.2fx; process %.2f s), jdupes %.2f s" % (
        medians["cold"], medians["cold"] / medians["jdupes"], medians["cold process"], medians["warm"],
        medians["warm"] / medians["jdupes"], medians["warm process"], medians["jdupes"]))
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
