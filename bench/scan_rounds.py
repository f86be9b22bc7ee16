#!/usr/bin/env python3
"""Measures whole scans of one tree in rounds and prints the medians.

    bench/scan_rounds.py BUILD DIR [--rounds 3] [--side 256] [--min-kb K] [--json-dir OUT] [-- RUNNER ARGS...]

Each round runs, back to back: quennary-decode-floor DIR SIDE (the decoder's floor), a cold scan
(a fresh home, so an empty cache) and a warm scan (the same home again). The medians of the
rounds are printed as one JSON object together with the ratios the scans are judged by: hashing
against the floor, cold against warm, and peak memory. With --json-dir the runner's JSON of every
scan is kept there (cold-1.json, warm-1.json, ...) for comparing groups between builds.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile


def run_json(command):
    result = subprocess.run(command, check=True, capture_output=True, text=True)
    return json.loads(result.stdout)


def scan(build, tree, home, runner_args, keep):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    try:
        subprocess.run([os.path.join(build, "bench", "quennary-scan"), "--home", home, "--json", path]
                       + runner_args + [tree], check=True, capture_output=True)
        with open(path) as f:
            report = json.load(f)
        if keep:
            os.replace(path, keep)
        return report
    finally:
        if os.path.exists(path):
            os.remove(path)


SETTINGS = """<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
\t<key>minimumFileSize</key>
\t<integer>{}</integer>
</dict>
</plist>
"""


def seed_home(home, min_kb):
    if min_kb is None:
        return
    folder = os.path.join(home, "config", "Quennary")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "settings.plist"), "w") as f:
        f.write(SETTINGS.format(min_kb))


def median(rounds, *keys):
    values = []
    for r in rounds:
        for key in keys:
            r = r[key]
        values.append(r)
    return statistics.median(values)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("tree")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--side", type=int, default=256)
    parser.add_argument("--min-kb", type=int)
    parser.add_argument("--json-dir")
    parser.add_argument("runner_args", nargs="*")
    a = parser.parse_args()
    if a.json_dir:
        os.makedirs(a.json_dir, exist_ok=True)
    floors, colds, warms = [], [], []
    for i in range(1, a.rounds + 1):
        floors.append(run_json([os.path.join(a.build, "bench", "quennary-decode-floor"), a.tree, str(a.side)]))
        keep = (lambda name: os.path.join(a.json_dir, f"{name}-{i}.json")) if a.json_dir else (lambda name: None)
        with tempfile.TemporaryDirectory() as home:
            seed_home(home, a.min_kb)
            colds.append(scan(a.build, a.tree, home, a.runner_args, keep("cold")))
            warms.append(scan(a.build, a.tree, home, a.runner_args, keep("warm")))
        print(f"round {i}: floor {floors[-1]['seconds']:.2f} s, cold {colds[-1]['seconds']['total']:.2f} s, "
              f"warm {warms[-1]['seconds']['total']:.2f} s", file=sys.stderr)
    floor = median(floors, "seconds")
    summary = {
        "rounds": a.rounds,
        "records": colds[0]["records"],
        "floor_s": floor,
        "cold": {k: median(colds, "seconds", k) for k in ("enumerate", "hash", "compare", "total")},
        "warm": {k: median(warms, "seconds", k) for k in ("enumerate", "hash", "compare", "total")},
        "cold_peak_mb": median(colds, "peakRssMB"),
        "warm_peak_mb": median(warms, "peakRssMB"),
    }
    summary["hash_over_floor"] = summary["cold"]["hash"] / floor if floor else None
    summary["cold_over_warm"] = summary["cold"]["total"] / summary["warm"]["total"]
    summary["warm_kb_per_record"] = summary["warm_peak_mb"] * 1024 / max(1, summary["records"])
    print(json.dumps(summary, indent=2))


if __name__ == "__main__":
    main()
