#!/usr/bin/env python3
"""Checks LibreOffice's PNG of the facsimile metafile: the blue form and the subscriber's name.

LibreOffice centres the picture on a page, so positions are measured from the bounding box of
the blue pixels, the form's outer frame; they are given in 0.1 mm of the slip, as it is drawn.

    check_facsimile_png.py OUT.png
"""
import struct
import sys
import zlib

import numpy as np

FORM_LEFT, FORM_RIGHT, FORM_TOP, FORM_BOTTOM = 40, 1767, 55, 1110
LINES = [  # frames and cell lines of both parts: (what, x0, y0, x1, y1)
    ("frame 1's top", 40, 120, 1210, 120), ("frame 1's right edge", 1210, 120, 1210, 700),
    ("name box's bottom", 40, 330, 1210, 330), ("payer box's top", 40, 700, 860, 700),
    ("payer box's bottom", 40, 900, 860, 900), ("account cell line", 141, 150, 141, 230),
    ("amount cell line", 1110, 150, 1110, 230), ("receipt's left edge", 1310, 340, 1310, 1110),
    ("receipt's amount row", 1360, 470, 1767, 470), ("receipt cell line", 1512, 440, 1512, 550),
]


def read_png(path):
    """The image as an (height, width, 3) array over white, for 8-bit PNGs of any colour type."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, chunks = 8, {}
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunks[kind] = chunks.get(kind, b"") + data[pos + 8:pos + 8 + length]
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    if depth != 8 or interlace:
        raise SystemExit(f"{path}: depth {depth}, interlace {interlace} not read")
    ch = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw, stride = zlib.decompress(chunks[b"IDAT"]), width * ch
    prev, rows = bytearray(stride), []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):  # undo the filter: none, sub, up, average or Paeth
            a, b, c = (line[x - ch], prev[x], prev[x - ch]) if x >= ch else (0, prev[x], 0)
            if kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                a = a if pa <= pb and pa <= pc else b if pb <= pc else c
            line[x] = (line[x] + (0, a, b, (a + b) // 2, a)[kind]) & 0xFF
        rows.append(line)
        prev = line
    px = np.frombuffer(b"".join(rows), np.uint8).reshape(height, width, ch).astype(np.int32)
    if colour == 3:
        return np.frombuffer(chunks[b"PLTE"], np.uint8).reshape(-1, 3)[px[:, :, 0]].astype(int)
    rgb = px[:, :, :3] if colour in (2, 6) else np.repeat(px[:, :, :1], 3, axis=2)
    alpha = px[:, :, -1:] if colour in (4, 6) else 255
    return (rgb * alpha + 255 * (255 - alpha)) // 255


def main():
    img = read_png(sys.argv[1])
    r, g, b = img[:, :, 0], img[:, :, 1], img[:, :, 2]
    blue = (b > 150) & (b - r > 30) & (b - g > 30)
    dark = (r < 110) & (g < 110) & (b < 110)
    ys, xs = np.nonzero(blue)
    if len(xs) < 500:
        raise SystemExit(f"FAIL: {len(xs)} blue pixels: no form")
    x0, x1, y0, y1 = xs.min(), xs.max(), ys.min(), ys.max()
    sx, sy = (x1 - x0) / (FORM_RIGHT - FORM_LEFT), (y1 - y0) / (FORM_BOTTOM - FORM_TOP)
    print(f"form at x {x0}..{x1}, y {y0}..{y1} of {img.shape[1]}x{img.shape[0]}; "
          f"{sx:.4f} x {sy:.4f} px per 0.1 mm")
    failures = [] if abs(sx / sy - 1) <= 0.03 else [f"the form is distorted: {sx:.4f} vs {sy:.4f}"]

    def px(x, y):
        return int(round(x0 + (x - FORM_LEFT) * sx)), int(round(y0 + (y - FORM_TOP) * sy))

    for name, xa, ya, xb, yb in LINES:
        (ax, ay), (bx, by) = px(xa, ya), px(xb, yb)
        steps = max(abs(bx - ax), abs(by - ay), 1)
        points = [(ax + (bx - ax) * i // steps, ay + (by - ay) * i // steps)
                  for i in range(steps + 1)]
        share = np.mean([blue[max(y - 2, 0):y + 3, max(x - 2, 0):x + 3].any() for x, y in points])
        if share < 0.9:  # a blue pixel within 2 px of 90 % of the points along the line
            failures.append(f"{name}: blue along {share:.0%} of it")

    def count(mask, left, top, right, bottom):
        (ax, ay), (bx, by) = px(left, top), px(right, bottom)
        return int(mask[ay:by, ax:bx].sum())

    # Nothing blue between the parts; the subscriber's name in both its boxes; nothing dark in
    # the empty lower message area.
    gap, left, right, empty = (count(blue, 1225, 350, 1295, 1100), count(dark, 110, 240, 740, 320),
                               count(dark, 1380, 350, 1740, 430), count(dark, 300, 450, 1200, 690))
    print(f"dark pixels: name {left} (left), {right} (receipt), {empty} in the empty message area")
    failures += [f"{gap} blue pixels between the left part and the receipt"] if gap else []
    failures += [f"the subscriber's name box has {left} dark pixels"] if left < 300 else []
    failures += [f"the receipt's subscriber box has {right} dark pixels"] if right < 150 else []
    failures += [f"{empty} dark pixels where nothing is printed"] if empty else []
    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print("facsimile PNG ok")


main()
