#!/usr/bin/env python3
"""Checks LibreOffice's PNG of the facsimile metafile: the blue form and the subscriber's name.

LibreOffice centres the picture on a page, so everything is measured from the bounding box of
the blue pixels, which is the form's outer frame: x 4.0 to 176.7 mm, y 5.5 to 111.0 mm of the
slip (the positions below are in 0.1 mm of the slip, as the form is drawn).

    check_facsimile_png.py OUT.png
"""
import struct
import sys
import zlib

import numpy as np

FORM_LEFT, FORM_RIGHT, FORM_TOP, FORM_BOTTOM = 40, 1767, 55, 1110


def read_png(path):
    """The image as an (height, width, 3) uint8 array, for 8-bit grey, RGB, palette or RGBA."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat, palette = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = np.frombuffer(body, np.uint8).reshape(-1, 3)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if depth != 8 or interlace:
        raise SystemExit(f"{path}: depth {depth}, interlace {interlace} not read")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    out = np.zeros((height, stride), np.int32)
    prev = np.zeros(stride, np.int32)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, cur = line[0], np.frombuffer(line[1:], np.uint8).astype(np.int32)
        if kind == 0:
            rec = cur
        elif kind == 2:
            rec = (cur + prev) & 0xFF
        else:  # Sub, Average and Paeth depend on the byte to the left: go byte by byte
            rec = np.zeros(stride, np.int32)
            for x in range(stride):
                a = rec[x - channels] if x >= channels else 0
                b = prev[x]
                c = prev[x - channels] if x >= channels else 0
                if kind == 1:
                    p = a
                elif kind == 3:
                    p = (a + b) // 2
                else:
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    p = a if pa <= pb and pa <= pc else b if pb <= pc else c
                rec[x] = (cur[x] + p) & 0xFF
        out[y] = rec
        prev = rec
    pixels = out.reshape(height, width, channels).astype(np.uint8)
    if colour == 3:
        return palette[pixels[:, :, 0]]
    if colour in (0, 4):
        return np.repeat(pixels[:, :, :1], 3, axis=2)
    rgb = pixels[:, :, :3].astype(np.int32)
    if colour == 6:  # over white
        alpha = pixels[:, :, 3:4].astype(np.int32)
        rgb = (rgb * alpha + 255 * (255 - alpha)) // 255
    return rgb.astype(np.uint8)


def main():
    img = read_png(sys.argv[1]).astype(np.int32)
    r, g, b = img[:, :, 0], img[:, :, 1], img[:, :, 2]
    blue = (b > 150) & (b - r > 30) & (b - g > 30)
    dark = (r < 110) & (g < 110) & (b < 110)
    failures = []

    ys, xs = np.nonzero(blue)
    if len(xs) < 500:
        raise SystemExit(f"FAIL: {len(xs)} blue pixels: no form")
    x0, x1, y0, y1 = xs.min(), xs.max(), ys.min(), ys.max()
    sx = (x1 - x0) / (FORM_RIGHT - FORM_LEFT)
    sy = (y1 - y0) / (FORM_BOTTOM - FORM_TOP)
    print(f"form at x {x0}..{x1}, y {y0}..{y1} of {img.shape[1]}x{img.shape[0]}; "
          f"{sx:.4f} x {sy:.4f} px per 0.1 mm")
    if abs(sx / sy - 1) > 0.03:
        failures.append(f"the form is distorted: {sx:.4f} vs {sy:.4f} px per 0.1 mm")

    def px(x, y):
        return int(round(x0 + (x - FORM_LEFT) * sx)), int(round(y0 + (y - FORM_TOP) * sy))

    def covered(x_a, y_a, x_b, y_b):
        """Share of the points along a form line with a blue pixel within 2 px of it."""
        (ax, ay), (bx, by) = px(x_a, y_a), px(x_b, y_b)
        steps = max(abs(bx - ax), abs(by - ay))
        hits = 0
        for i in range(steps + 1):
            x = ax + (bx - ax) * i // max(steps, 1)
            y = ay + (by - ay) * i // max(steps, 1)
            hits += blue[max(y - 2, 0):y + 3, max(x - 2, 0):x + 3].any()
        return hits / (steps + 1)

    # Frames and cell lines of both parts, each where it belongs relative to the outer frame.
    lines = {
        "left part's top (frame 1)": (40, 120, 1210, 120),
        "left part's right edge (frame 1)": (1210, 120, 1210, 700),
        "name box's bottom (frame 3)": (40, 330, 1210, 330),
        "payer box's top (frame 4)": (40, 700, 860, 700),
        "payer box's bottom (frame 4)": (40, 900, 860, 900),
        "account cell line at 14.1 mm": (141, 150, 141, 230),
        "amount cell line at 110.0 mm": (1110, 150, 1110, 230),
        "receipt's left edge (frame 14)": (1310, 340, 1310, 1110),
        "receipt's amount row (frame 19)": (1360, 470, 1767, 470),
        "receipt cell line at 151.2 mm": (1512, 440, 1512, 550),
    }
    for name, line in lines.items():
        share = covered(*line)
        if share < 0.9:
            failures.append(f"{name}: blue along {share:.0%} of it")
    # Between the two parts there is no form at all.
    (gx0, gy0), (gx1, gy1) = px(1225, 350), px(1295, 1100)
    if blue[gy0:gy1, gx0:gx1].any():
        failures.append("blue between the left part and the receipt")

    def dark_in(left, top, right, bottom):
        (ax, ay), (bx, by) = px(left, top), px(right, bottom)
        return int(dark[ay:by, ax:bx].sum())

    # The subscriber's name in its boxes on both parts; nothing in the empty lower message area.
    name_left = dark_in(110, 240, 740, 320)
    name_right = dark_in(1380, 350, 1740, 430)
    empty = dark_in(300, 450, 1200, 690)
    print(f"dark pixels: name {name_left} (left), {name_right} (receipt), "
          f"{empty} in the empty message area")
    if name_left < 300:
        failures.append(f"the subscriber's name box has {name_left} dark pixels")
    if name_right < 150:
        failures.append(f"the receipt's subscriber box has {name_right} dark pixels")
    if empty > 0:
        failures.append(f"{empty} dark pixels where nothing is printed")

    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print("facsimile PNG ok")


main()
