#!/usr/bin/env python3
"""Runs cold scans of one tree with several builds side by side and prints what each cost.

    bench/scan_sides.py TREE NAME=SCAN[,VAR=VALUE...] ... [--rounds 3] [--mode similar|exact] [--turns] [--warm]

SCAN is a quennary-scan binary; VAR=VALUE pairs are set in its environment. Every round runs each
build once, in an order turned by one each round, so builds share the machine's load alike. Each
scan starts from a fresh home (an empty cache) and runs under /usr/bin/time -v. Printed per build:
the median and the range of wall time, maximum resident set, minor page faults, system, user and
processor time (user + system) and the most the decodes held of their budget at once; last, whether every scan found the same groups. The scans compare the first variant of each
fingerprint alone unless --turns asks for the turned and mirrored ones too, as the application does.
With --warm each build scans once unmeasured in a home of its own, and every measured scan of it
runs in that home again: it reads what the first stored in the cache.

Trees of photos the size cameras make (the memory a scan needs follows the size of its pictures):
    quennary-make-corpus real TREE 10000          2-12 MP JPEG, some PNG, HEIC and edited copies
    quennary-make-corpus real-heic TREE 280       the same sizes in HEIC
    quennary-make-corpus heic TREE 277 2048 1536  HEIC of phone-export size (long side 2048)
    quennary-make-corpus liars TREE 16 8000 6000 64 48   HEIC whose boxes state 64x48
To run a build with glibc's allocator defaults, preload bench/glibc_defaults.c (see there).
Run each SCAN from its build tree (or keep a copy beside a copy of its ../share/quennary): without
its resources beside it, a scan finds no cache template and writes no cache, so it does less work.
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

FIELDS = {
    "seconds": r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (.+)",
    "max_rss_mb": r"Maximum resident set size \(kbytes\): (\d+)",
    "minor_faults": r"Minor \(reclaiming a frame\) page faults: (\d+)",
    "system_s": r"System time \(seconds\): ([\d.]+)",
    "user_s": r"User time \(seconds\): ([\d.]+)",
}


def wall_seconds(text):
    parts = [float(p) for p in text.split(":")]
    return sum(p * 60 ** i for i, p in enumerate(reversed(parts)))


def run_scan(command, environment):
    result = subprocess.run(command, capture_output=True, text=True, env={**os.environ, **environment})
    if result.returncode != 0:
        sys.exit(f"{command[2]} failed:\n{result.stderr[-2000:]}")
    return result


def scan(binary, environment, tree, mode, turns, home):
    """A scan in `home`: a fresh one, or a warm one in the home given."""
    with tempfile.TemporaryDirectory() as fresh:
        home = home or fresh
        command = ["/usr/bin/time", "-v", binary, "--mode", mode, *(["--rotate", "--mirror"] if turns else []),
                   "--home", home, "--json", os.path.join(home, "out.json"), tree]
        result = run_scan(command, environment)
        with open(os.path.join(home, "out.json")) as f:
            report = json.load(f)
    figures = {}
    for name, pattern in FIELDS.items():
        value = re.search(pattern, result.stderr).group(1)
        figures[name] = wall_seconds(value) if name == "seconds" else float(value)
    figures["max_rss_mb"] /= 1024
    figures["cpu_s"] = figures["user_s"] + figures["system_s"]
    figures["decode_peak_mb"] = report.get("decodePeakMB", 0.0)
    return figures, sorted(sorted(group) for group in report["groups"])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tree")
    parser.add_argument("builds", nargs="+", help="NAME=SCAN[,VAR=VALUE...]")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--mode", default="similar")
    parser.add_argument("--turns", action="store_true", help="compare turned and mirrored variants too")
    parser.add_argument("--warm", action="store_true", help="measure scans that read the cache of a first one")
    a = parser.parse_args()
    builds = []
    for spec in a.builds:
        name, rest = spec.split("=", 1)
        binary, *pairs = rest.split(",")
        builds.append((name, binary, dict(pair.split("=", 1) for pair in pairs)))
    results = {name: [] for name, _, _ in builds}
    groupings = []
    # A warm scan reads the cache a first scan of its own build left in its home.
    homes = {name: tempfile.TemporaryDirectory() for name, _, _ in builds} if a.warm else {}
    for name, binary, environment in builds if a.warm else []:
        scan(binary, environment, a.tree, a.mode, a.turns, homes[name].name)
    for round_ in range(a.rounds):
        for i in range(len(builds)):
            name, binary, environment = builds[(i + round_) % len(builds)]
            figures, groups = scan(binary, environment, a.tree, a.mode, a.turns, homes[name].name if a.warm else None)
            results[name].append(figures)
            if groups not in groupings:
                groupings.append(groups)
            print(f"round {round_ + 1} {name}: " + ", ".join(f"{k} {v:.2f}" for k, v in figures.items()),
                  file=sys.stderr, flush=True)
    for name, runs in results.items():
        line = [name]
        for field in runs[0]:
            values = [run[field] for run in runs]
            line.append(f"{field} {statistics.median(values):.2f} [{min(values):.2f}-{max(values):.2f}]")
        print("  ".join(line))
    print("groups: " + ("identical in every scan" if len(groupings) == 1 else f"{len(groupings)} different groupings"))


if __name__ == "__main__":
    main()
