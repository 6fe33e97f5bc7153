#!/usr/bin/env python3
"""Reads what a print job put on paper: pages, page sizes and every word with its box.

Runs `pdftotext -bbox` (poppler-utils) on a PDF - a PDF file, or a job captured from the
spooler, from which the PDF is cut out if a printer language wraps it - and reports the words
with their boxes in points (1/72 inch, from the page's top-left corner) and in device pixels at
a given resolution, so they compare directly with the program's device coordinates.

Device pixels here are counted from the paper's corner. The program's own coordinates start at
the printable area's corner: pass the printer's PHYSICALOFFSETX/Y as --offset to compare with
them (a word drawn at device (x, y) lands at paper pixel (x + offset x, y + offset y)). A word's
top is its cell top: pdftotext puts it at the baseline minus the font's ascent.

As a command:
  pdfcheck.py FILE [--dpi 600] [--offset OX OY] [--json]
      lists the title, the page count, each page's size and every word
  pdfcheck.py FILE --dpi 600 [--offset OX OY] [--pages 2] [--title T] [--tolerance 1.5]
              [--expect WORD X Y]... [--expect-on P WORD X Y]...
      checks the page count, the title, and that WORD's top-left lies at device pixel (X, Y)
      (on any page, or on page P, 1-based); exit status 0 when every check holds, 1 otherwise,
      2 when the file cannot be read.

As a module:
  import pdfcheck
  doc = pdfcheck.read_pdf(path)            # Document(title, pages=[Page(width, height, words)])
  word = doc.find("払込取扱票", page=1)     # Word(text, page, x_min, y_min, x_max, y_max) or None
  x, y = word.top_left_px(600, offset=(100, 150))
  pdfcheck.pt_to_px(72, 600) == 600.0
"""

from __future__ import annotations

import argparse
import dataclasses
import json
import os
import signal
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

XHTML = "{http://www.w3.org/1999/xhtml}"


def pt_to_px(points: float, dpi: int) -> float:
    return points * dpi / 72.0


def px_to_pt(pixels: float, dpi: int) -> float:
    return pixels * 72.0 / dpi


@dataclasses.dataclass
class Word:
    text: str
    page: int  # 1-based
    x_min: float  # points from the page's left edge
    y_min: float  # points from the page's top edge
    x_max: float
    y_max: float

    def top_left_px(self, dpi: int, offset: tuple[int, int] = (0, 0)) -> tuple[float, float]:
        """The word's top-left corner in device pixels from the printable area's corner."""
        return (pt_to_px(self.x_min, dpi) - offset[0], pt_to_px(self.y_min, dpi) - offset[1])

    def box_px(self, dpi: int, offset: tuple[int, int] = (0, 0)) -> tuple[float, ...]:
        x0, y0 = self.top_left_px(dpi, offset)
        return (x0, y0, pt_to_px(self.x_max, dpi) - offset[0], pt_to_px(self.y_max, dpi) - offset[1])


@dataclasses.dataclass
class Page:
    number: int  # 1-based
    width: float  # points
    height: float
    words: list[Word]


@dataclasses.dataclass
class Document:
    title: str
    pages: list[Page]

    @property
    def page_count(self) -> int:
        return len(self.pages)

    @property
    def words(self) -> list[Word]:
        return [w for p in self.pages for w in p.words]

    def find(self, text: str, page: int | None = None) -> Word | None:
        """The first word equal to `text`, on `page` (1-based) or on any page."""
        for w in self.words:
            if w.text == text and (page is None or w.page == page):
                return w
        return None

    def find_all(self, text: str) -> list[Word]:
        return [w for w in self.words if w.text == text]


class PdfCheckError(Exception):
    pass


def extract_pdf(data: bytes) -> bytes:
    """The PDF inside a spooled job: from "%PDF-" to the last "%%EOF" (a printer language such as
    PJL may wrap it; a job that passed through unchanged is returned as it is)."""
    start = data.find(b"%PDF-")
    end = data.rfind(b"%%EOF")
    if start < 0 or end < 0:
        raise PdfCheckError("no PDF in the job")
    return data[start:end + len(b"%%EOF")] + b"\n"


def read_pdf(path: str) -> Document:
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"%PDF-"):
        data = extract_pdf(data)
        with tempfile.NamedTemporaryFile(suffix=".pdf", delete=False) as tmp:
            tmp.write(data)
        try:
            return _read_pdf_file(tmp.name)
        finally:
            os.unlink(tmp.name)
    return _read_pdf_file(path)


def _read_pdf_file(path: str) -> Document:
    run = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, check=False)
    if run.returncode != 0:
        raise PdfCheckError(f"pdftotext failed on {path}: {run.stderr.decode(errors='replace')}")
    root = ET.fromstring(run.stdout)
    title_el = root.find(f"{XHTML}head/{XHTML}title")
    title = (title_el.text or "") if title_el is not None else ""
    pages = []
    for number, page_el in enumerate(root.iter(f"{XHTML}page"), start=1):
        words = [
            Word(
                text=w.text or "",
                page=number,
                x_min=float(w.get("xMin")),
                y_min=float(w.get("yMin")),
                x_max=float(w.get("xMax")),
                y_max=float(w.get("yMax")),
            )
            for w in page_el.iter(f"{XHTML}word")
        ]
        pages.append(Page(number, float(page_el.get("width")), float(page_el.get("height")), words))
    return Document(title, pages)


def _report(doc: Document, dpi: int, offset: tuple[int, int], as_json: bool) -> None:
    if as_json:
        out = {
            "title": doc.title,
            "page_count": doc.page_count,
            "dpi": dpi,
            "offset": list(offset),
            "pages": [
                {
                    "page": p.number,
                    "width_pt": p.width,
                    "height_pt": p.height,
                    "width_px": pt_to_px(p.width, dpi),
                    "height_px": pt_to_px(p.height, dpi),
                    "words": [
                        {
                            "text": w.text,
                            "box_pt": [w.x_min, w.y_min, w.x_max, w.y_max],
                            "box_px": [round(v, 2) for v in w.box_px(dpi, offset)],
                        }
                        for w in p.words
                    ],
                }
                for p in doc.pages
            ],
        }
        json.dump(out, sys.stdout, ensure_ascii=False, indent=1)
        print()
        return
    print(f"title {doc.title}")
    print(f"pages {doc.page_count}")
    for p in doc.pages:
        print(f"page {p.number} {p.width:g}x{p.height:g} pt = "
              f"{pt_to_px(p.width, dpi):.1f}x{pt_to_px(p.height, dpi):.1f} px at {dpi} dpi")
        for w in p.words:
            x0, y0, x1, y1 = w.box_px(dpi, offset)
            print(f"  {w.text}\tpt {w.x_min:.2f},{w.y_min:.2f}-{w.x_max:.2f},{w.y_max:.2f}"
                  f"\tpx {x0:.1f},{y0:.1f}-{x1:.1f},{y1:.1f}")


def main(argv: list[str]) -> int:
    parser = argparse.ArgumentParser(description="Words and boxes of a printed PDF.")
    parser.add_argument("file")
    parser.add_argument("--dpi", type=int, default=600)
    parser.add_argument("--offset", type=int, nargs=2, default=(0, 0), metavar=("OX", "OY"))
    parser.add_argument("--json", action="store_true")
    parser.add_argument("--pages", type=int, help="expected page count")
    parser.add_argument("--title", help="expected document title")
    parser.add_argument("--expect", nargs=3, action="append", default=[],
                        metavar=("WORD", "X", "Y"),
                        help="WORD's top-left at device pixel X, Y")
    parser.add_argument("--expect-on", nargs=4, action="append", default=[],
                        metavar=("PAGE", "WORD", "X", "Y"),
                        help="WORD's top-left at device pixel X, Y on PAGE (1-based)")
    parser.add_argument("--tolerance", type=float, default=1.5, help="pixels")
    args = parser.parse_args(argv)

    try:
        doc = read_pdf(args.file)
    except (OSError, PdfCheckError, ET.ParseError) as e:
        print(f"pdfcheck: {e}", file=sys.stderr)
        return 2
    offset = (args.offset[0], args.offset[1])
    expectations = [(None, w, x, y) for w, x, y in args.expect]
    expectations += [(int(p), w, x, y) for p, w, x, y in args.expect_on]
    checking = args.pages is not None or args.title is not None or expectations
    if not checking:
        _report(doc, args.dpi, offset, args.json)
        return 0

    failures = []
    if args.pages is not None and doc.page_count != args.pages:
        failures.append(f"{doc.page_count} pages, expected {args.pages}")
    if args.title is not None and doc.title != args.title:
        failures.append(f"title {doc.title!r}, expected {args.title!r}")
    for page, text, x, y in expectations:
        word = doc.find(text, page)
        where = f" on page {page}" if page else ""
        if word is None:
            failures.append(f"{text!r} not found{where}")
            continue
        wx, wy = word.top_left_px(args.dpi, offset)
        if abs(wx - float(x)) > args.tolerance or abs(wy - float(y)) > args.tolerance:
            failures.append(f"{text!r}{where} at {wx:.1f},{wy:.1f} px, expected {x},{y}")
        else:
            print(f"ok {text}{where} at {wx:.1f},{wy:.1f} px")
    for f in failures:
        print(f"FAIL {f}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    # Piped into head: end quietly, as other command-line tools do.
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    sys.exit(main(sys.argv[1:]))
