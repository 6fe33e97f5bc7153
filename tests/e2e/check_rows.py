#!/usr/bin/env python3
"""Checks a continuous print: one page per CSV row, each with that row's payer in place.

For page i (row FIRST + i of the CSV, the first line being row 1) it expects, at the device
pixels the setting file's positions give (0.1 mm → pixels, truncated, minus the offset):
  - the account digits (when the slip prints them) and the amount digits on the continuous
    print's cell grid, whose pitch is 50 (0.1 mm) rather than the single slip's 51;
  - the row's postal code (column 1) at the postal code anchor and its telephone (column 5)
    at the telephone anchor;
  - the first word of its address line (column 2) at the top-left of the left payer box;
  - its name (column 4) starting at the right payer box's left edge, inside that box.

The CSV must be simple (comma-separated, no quotes, no spaces inside values) and the mapping
the default one; the amount is the setting file's.

  check_rows.py PDF SETTINGS.dat ROWS.csv --dpi N --offset OX OY --first F --pages P
                [--tolerance PX] [--shift DX DY]
"""

from __future__ import annotations

import argparse
import codecs
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pdfcheck  # noqa: E402
from check_slip import read_ini, whole  # noqa: E402

PITCH = 50
# (first cell, last cell, x of the first cell, row) on the continuous print's grid.
ACCOUNT_RUNS = [(1, 5, 60, "row1"), (6, 6, 340, "row1"), (7, 13, 420, "row1"),
                (1, 5, 1380, "row1"), (6, 6, 1660, "row1"), (7, 13, 1430, "row2")]
AMOUNT_RUNS = [(14, 21, 820, "row1"), (14, 21, 1380, "amount")]
AMOUNT_ROW_RIGHT = 490


def read_rows(path: str) -> list[list[str]]:
    data = open(path, "rb").read()
    text = data[3:].decode("utf-8") if data.startswith(codecs.BOM_UTF8) else data.decode("utf-8")
    return [line.split(",") for line in text.splitlines()]


def expected_on_page(values, row: list[str], dpi: int, offset: tuple[int, int]):
    get = lambda s, k, d: values.get((s, k.lower()), d)  # noqa: E731
    ox = whole(get("tabsheet99", "SEleftright", "0"), 0)
    oy = whole(get("tabsheet99", "SEtopbottom", "0"), 0)

    def pos(key, default):
        return whole(get("tabsheet99", key, str(default)), default)

    def px(mm, adjust, off):
        return math.trunc((mm + adjust) / 254 * dpi) - off

    def at(x_mm, y_mm):
        return px(x_mm, ox, offset[0]), px(y_mm, oy, offset[1])

    cell_rows = {"row1": pos("SEkouza1", 170), "row2": pos("SEkouza2", 280),
                 "amount": AMOUNT_ROW_RIGHT}
    cells = {i: "" for i in range(1, 22)}

    def fill(first, last, text):
        text = text.strip()[: last - first + 1]
        for k, ch in enumerate(text):
            cells[last - len(text) + 1 + k] = ch

    fill(1, 5, get("tabsheet1", "Ekouza1", ""))
    fill(6, 6, get("tabsheet1", "Ekouza2", ""))
    fill(7, 13, get("tabsheet1", "Ekouza3", ""))
    fill(14, 21, get("tabsheet2", "SEkingaku", "1000"))
    runs = list(AMOUNT_RUNS)
    if get("tabsheet1", "CheckBox1", "0") == "1":
        runs += ACCOUNT_RUNS
    words = []
    for first, last, x0, row_name in runs:
        for cell in range(first, last + 1):
            if cells[cell]:
                words.append((cells[cell], *at(x0 + PITCH * (cell - first), cell_rows[row_name])))

    column = lambda k: row[k - 1].strip() if k - 1 < len(row) else ""  # noqa: E731
    if column(1):
        words.append((column(1), *at(pos("SEzipleft", 190), pos("SEziptop", 700))))
    if column(5):
        words.append((column(5), *at(pos("SEteleleft", 400), pos("SEteletop", 860))))
    if column(2):
        words.append((column(2), *at(pos("SEharaiLleft", 130), pos("SEharaiLtop", 730))))
    name_box = (at(pos("SEharaiRleft", 1390), pos("SEharaiRtop", 560)),
                at(pos("SEharaiRright", 1760), pos("SEharaiRbottom", 770)))
    return words, (column(4), name_box)


def main(argv: list[str]) -> int:
    p = argparse.ArgumentParser()
    p.add_argument("pdf")
    p.add_argument("settings")
    p.add_argument("rows")
    p.add_argument("--dpi", type=int, required=True)
    p.add_argument("--offset", type=int, nargs=2, default=(0, 0))
    p.add_argument("--first", type=int, default=1)
    p.add_argument("--pages", type=int, required=True)
    p.add_argument("--tolerance", type=float, default=0.5)
    p.add_argument("--shift", type=int, nargs=2, default=(0, 0))
    args = p.parse_args(argv)

    doc = pdfcheck.read_pdf(args.pdf)
    values = read_ini(args.settings)
    rows = read_rows(args.rows)
    offset = (args.offset[0], args.offset[1])
    failures = []
    if doc.page_count != args.pages:
        failures.append(f"{doc.page_count} pages, expected {args.pages}")
    checked = 0
    worst = 0.0
    for page in range(1, min(doc.page_count, args.pages) + 1):
        index = args.first + page - 2
        row = rows[index] if 0 <= index < len(rows) else []
        words, (name, ((left, top), (_, bottom))) = expected_on_page(values, row, args.dpi,
                                                                      offset)
        words_on_page = [w for w in doc.pages[page - 1].words]
        for text, x, y in words:
            x += args.shift[0]
            y += args.shift[1]
            best = None
            for w in words_on_page:
                if not w.text.startswith(text):
                    continue
                wx, wy = w.top_left_px(args.dpi, offset)
                d = max(abs(wx - x), abs(wy - y))
                if best is None or d < best:
                    best = d
            if best is None or best > args.tolerance:
                where = "missing" if best is None else f"{best:.2f} px off"
                failures.append(f"page {page}: '{text}' expected at {x},{y} px, {where}")
            else:
                worst = max(worst, best)
                checked += 1
        if name:
            found = [w for w in words_on_page if w.text.startswith(name)]
            ok = False
            for w in found:
                wx, wy = w.top_left_px(args.dpi, offset)
                if abs(wx - (left + args.shift[0])) <= args.tolerance and top <= wy <= bottom:
                    ok = True
            if not ok:
                failures.append(f"page {page}: name '{name}' not at the right box's left "
                                f"edge {left} px between {top} and {bottom} px")
            else:
                checked += 1
    for f in failures:
        print("FAIL " + f)
    if failures:
        return 1
    print(f"ok: {checked} texts on {args.pages} page(s), largest deviation {worst:.2f} px "
          f"at {args.dpi} dpi")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
