#!/usr/bin/env python3
"""Writes COUNT photos that look alike but are not byte copies: one small JPEG, each file with
other bytes just before its end marker (frames of a still time-lapse, scans of blank pages).

    bench/alike_tree.py OUT [--count 20000] [--side 80]

The picture is made with ImageMagick's convert (a gradient with some noise), once. Measure with
bench/scan_rounds.py BUILD OUT --min-kb 0 (a similar scan: the compare stage and the peak).
"""
import argparse
import os
import subprocess
import tempfile


def base_picture(side):
    with tempfile.TemporaryDirectory() as scratch:
        path = os.path.join(scratch, "base.jpg")
        subprocess.run(["convert", "-size", f"{side}x{side}", "gradient:navy-orange", "-attenuate", "0.3",
                        "+noise", "Gaussian", "-quality", "90", path], check=True)
        with open(path, "rb") as f:
            return f.read()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--count", type=int, default=20000)
    parser.add_argument("--side", type=int, default=80)
    args = parser.parse_args()
    picture = base_picture(args.side)
    assert picture.endswith(b"\xff\xd9")
    os.makedirs(args.out, exist_ok=True)
    for i in range(args.count):
        # Four bytes of the entropy-coded data before the end marker: the decoded picture changes in
        # its last block at most, the fingerprint not at all.
        # Digits below 0xff, so that no byte reads as a marker.
        digits = bytes((i // 200 ** k) % 200 for k in range(4))
        data = picture[:-6] + digits + picture[-2:]
        with open(os.path.join(args.out, f"frame-{i:06d}.jpg"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
