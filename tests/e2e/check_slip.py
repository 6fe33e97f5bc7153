#!/usr/bin/env python3
"""Checks that every account and amount digit of a setting file's slip stands where it belongs.

Reads the slip's account number, amount, digit rows and whole-print adjustment from the setting
file itself (a small INI reader of its own, so that a fault in the program's reader cannot hide
one in its output), places every digit on the form's cell grid, converts each cell to device
pixels the way the printer driver must see it (0.1 mm → pixels, truncated toward zero, minus the
printable area's offset), and looks for a word with that digit at that pixel on every page of
the PDF.

  check_slip.py PDF SETTINGS.dat --dpi N --offset OX OY --pages P [--right] [--tolerance PX]
                [--shift DX DY]

Exit status 0 when every digit of every page is in place and the page count is right.
"""

from __future__ import annotations

import argparse
import codecs
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdfcheck  # noqa: E402

# Cell grid of the form in 0.1 mm: (first cell, last cell, x of the first cell, row), pitch 51.
LEFT_RUNS = [(1, 5, 55, "row1"), (6, 6, 335, "row1"), (7, 13, 410, "row1"),
             (14, 21, 816, "row1")]
RIGHT_RUNS = [(1, 5, 1377, "row1"), (6, 6, 1658, "row1"), (7, 13, 1428, "row2"),
              (14, 21, 1377, "amount")]
PITCH = 51
AMOUNT_ROW_RIGHT = 490


def read_ini(path: str) -> dict[tuple[str, str], str]:
    data = open(path, "rb").read()
    if data.startswith(codecs.BOM_UTF16_LE):
        text = data[2:].decode("utf-16-le")
    elif data.startswith(codecs.BOM_UTF16_BE):
        text = data[2:].decode("utf-16-be")
    elif data.startswith(codecs.BOM_UTF8):
        text = data[3:].decode("utf-8")
    else:
        text = data.decode("cp932")
    values: dict[tuple[str, str], str] = {}
    section = None
    for raw in text.splitlines():
        line = raw.strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].strip().lower()
        elif section and "=" in line and not line.startswith(";"):
            key, value = line.split("=", 1)
            values.setdefault((section, key.strip().lower()), value.strip())
    return values


def whole(text: str, fallback: int) -> int:
    try:
        return int(text.strip())
    except (ValueError, AttributeError):
        return fallback


def cells(values) -> dict[int, str]:
    def get(section, key, default=""):
        return values.get((section, key.lower()), default)

    out = {i: "" for i in range(1, 22)}

    def fill(first, last, text):
        text = text.strip()[: last - first + 1]
        for k, ch in enumerate(text):
            out[last - len(text) + 1 + k] = ch

    fill(1, 5, get("tabsheet1", "Ekouza1"))
    fill(6, 6, get("tabsheet1", "Ekouza2"))
    fill(7, 13, get("tabsheet1", "Ekouza3"))
    fill(14, 21, get("tabsheet2", "SEkingaku", "1000"))
    return out


def expected_digits(values, dpi: int, offset: tuple[int, int], right_only: bool):
    get = lambda s, k, d: values.get((s, k.lower()), d)  # noqa: E731
    ox = whole(get("tabsheet99", "SEleftright", "0"), 0)
    oy = whole(get("tabsheet99", "SEtopbottom", "0"), 0)
    rows = {"row1": whole(get("tabsheet99", "SEkouza1", "170"), 0),
            "row2": whole(get("tabsheet99", "SEkouza2", "280"), 0),
            "amount": AMOUNT_ROW_RIGHT}

    def px(mm, adjust, off):
        return math.trunc((mm + adjust) / 254 * dpi) - off

    digits = cells(values)
    runs = RIGHT_RUNS if right_only else LEFT_RUNS + RIGHT_RUNS
    expected = []
    for first, last, x0, row in runs:
        if first >= 14 and get("tabsheet2", "CheckBox2", "0") != "1":
            continue
        if first < 14 and get("tabsheet1", "CheckBox1", "0") != "1":
            continue
        if row == "row1" and first >= 14:
            row_y = rows["row1"]
        else:
            row_y = rows[row]
        for cell in range(first, last + 1):
            if digits[cell]:
                x = px(x0 + PITCH * (cell - first), ox, offset[0])
                y = px(row_y, oy, offset[1])
                expected.append((digits[cell], x, y))
    return expected


def main(argv: list[str]) -> int:
    p = argparse.ArgumentParser()
    p.add_argument("pdf")
    p.add_argument("settings")
    p.add_argument("--dpi", type=int, required=True)
    p.add_argument("--offset", type=int, nargs=2, default=(0, 0))
    p.add_argument("--pages", type=int, required=True)
    p.add_argument("--right", action="store_true")
    # Half a pixel: a digit one pixel off its place fails, while the rounding of the PDF's
    # point coordinates and of the font's ascent does not.
    p.add_argument("--tolerance", type=float, default=0.5)
    # Moves every expected digit by DX, DY pixels: the test's own control, which must fail.
    p.add_argument("--shift", type=int, nargs=2, default=(0, 0))
    args = p.parse_args(argv)

    doc = pdfcheck.read_pdf(args.pdf)
    offset = (args.offset[0], args.offset[1])
    expected = [(d, x + args.shift[0], y + args.shift[1])
                for d, x, y in expected_digits(read_ini(args.settings), args.dpi, offset,
                                               args.right)]
    failures = []
    if not expected:
        failures.append("the setting file prints no digit; nothing to check")
    if doc.page_count != args.pages:
        failures.append(f"{doc.page_count} pages, expected {args.pages}")
    worst = 0.0
    for page in doc.pages:
        words = [w for w in page.words if len(w.text) == 1]
        unused = list(words)
        for digit, x, y in expected:
            best = None
            for w in unused:
                if w.text != digit:
                    continue
                wx, wy = w.top_left_px(args.dpi, offset)
                d = max(abs(wx - x), abs(wy - y))
                if best is None or d < best[0]:
                    best = (d, w, wx, wy)
            if best is None or best[0] > args.tolerance:
                where = f"nearest at {best[2]:.2f},{best[3]:.2f}" if best else "not on the page"
                failures.append(f"page {page.number}: {digit!r} expected at {x},{y} px, {where}")
                continue
            worst = max(worst, best[0])
            unused.remove(best[1])
    for f in failures:
        print(f"FAIL {f}", file=sys.stderr)
    if not failures:
        print(f"ok: {len(expected)} digits on each of {doc.page_count} page(s), "
              f"largest deviation {worst:.2f} px at {args.dpi} dpi")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
