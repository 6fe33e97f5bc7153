#!/usr/bin/env python3
"""Checks that two printed PDFs show the same page at the same place on the paper.

A cups-pdf queue rebuilds the job through Ghostscript: its glyphs become bitmap fonts whose
text pdftotext cannot read back, so the digits cannot be found by their text there. This check
rasterises both PDFs and looks for the shift that makes the ink of OTHER match the ink of
REFERENCE best; the pages agree when no shift is best and the ink matches well there. The
program takes each printer's unprintable margin off its positions, so a slip lands on the same
spot of the paper whatever the printer. Pair it with check_slip.py on REFERENCE, whose text is
readable, and OTHER is proven to hold every digit where REFERENCE holds it.

  compare_pages.py REFERENCE.pdf OTHER.pdf [--render 300] [--search 3] [--page 1]

Exit status 0 when the pages agree.
"""

from __future__ import annotations

import argparse
import os
import subprocess
import sys
import tempfile

import numpy as np

INK = 128  # grey levels below this count as ink


def render(pdf: str, page: int, dpi: int) -> np.ndarray:
    with tempfile.TemporaryDirectory() as tmp:
        stem = os.path.join(tmp, "page")
        subprocess.run(["pdftoppm", "-r", str(dpi), "-gray", "-f", str(page), "-l", str(page),
                        "-singlefile", pdf, stem], check=True, stderr=subprocess.DEVNULL)
        with open(stem + ".pgm", "rb") as f:
            data = f.read()
    # Binary PGM: "P5\n<w> <h>\n<max>\n" then the pixels.
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    pixels = np.frombuffer(fields[4][-width * height:], dtype=np.uint8)
    return pixels.reshape(height, width) < INK


def shifted(ink: np.ndarray, dx: int, dy: int) -> np.ndarray:
    """The ink moved by (dx, dy) pixels, what falls off the page dropped."""
    out = np.zeros_like(ink)
    h, w = ink.shape
    src = ink[max(0, -dy):h - max(0, dy), max(0, -dx):w - max(0, dx)]
    out[max(0, dy):max(0, dy) + src.shape[0], max(0, dx):max(0, dx) + src.shape[1]] = src
    return out


def mismatch(a: np.ndarray, b: np.ndarray) -> float:
    """Share of the ink that only one of the two pages has."""
    both = np.count_nonzero(a | b)
    return np.count_nonzero(a ^ b) / both if both else 0.0


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("reference")
    parser.add_argument("other")
    parser.add_argument("--render", type=int, default=300)
    parser.add_argument("--search", type=int, default=3)
    parser.add_argument("--page", type=int, default=1)
    parser.add_argument("--max-mismatch", type=float, default=0.35)
    args = parser.parse_args()

    expected = (0, 0)
    ref = render(args.reference, args.page, args.render)
    other = render(args.other, args.page, args.render)
    if ref.shape != other.shape:
        print(f"FAIL page sizes differ: {ref.shape} and {other.shape}")
        return 1
    if not ref.any():
        print("FAIL the reference page holds no ink")
        return 1

    scores = {}
    for dy in range(-args.search, args.search + 1):
        for dx in range(-args.search, args.search + 1):
            scores[(dx, dy)] = mismatch(shifted(ref, dx, dy), other)
    best = min(scores, key=scores.get)
    print(f"mismatch in place {scores[expected]:.3f}, best shift {best} px at {args.render} dpi: "
          f"{scores[best]:.3f}")
    if best != expected:
        print(f"FAIL the pages line up at {best}, not at {expected}")
        return 1
    if scores[expected] > args.max_mismatch:
        print(f"FAIL the pages differ: {scores[expected]:.3f} of the ink on one page only")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
