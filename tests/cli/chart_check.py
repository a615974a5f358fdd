#!/usr/bin/env python3
"""The charts of `pradima stats --chart` and `pradima gan --chart` are SVG
that librsvg renders, and what they show agrees with the published North
results (the CSV, not our code): each grid cell holds its number's
appearances, and the rendered cells of the most, the fewest and a middle
count have the colour of the scale computed here; each gap bar of gan is as
long in pixels as its gap, on one scale.
Usage: chart_check.py PRADIMA RESULTS.csv BOOK.xlsx WORKDIR"""
import collections
import csv
import datetime
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zlib

SVG = "{http://www.w3.org/2000/svg}"
FEWEST, MIDDLE, MOST = (255, 255, 217), (65, 182, 196), (8, 29, 88)
CURRENT_GAP, LONGEST_GAP = (8, 81, 156), (189, 215, 238)


def scale_colour(count, least, most):
    """The documented scale: light to the middle colour over the first half, on to dark over the second."""
    if most <= least:
        return MIDDLE
    share = min(max((count - least) / (most - least), 0.0), 1.0)
    start, end, part = (FEWEST, MIDDLE, share * 2) if share <= 0.5 else (MIDDLE, MOST, share * 2 - 1)
    # Halves are rounded away from zero, as C's lround does.
    return tuple(int(a + (b - a) * part + 0.5) for a, b in zip(start, end))


def read_png(path):
    """(width, height, rows of (r, g, b) pixels) of an 8-bit, non-interlaced RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour in (2, 6) and interlace == 0, header
    channels = 4 if colour == 6 else 3
    raw, stride = zlib.decompress(idat), width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def render(svg):
    png = svg[:-4] + ".png"
    subprocess.run(["rsvg-convert", "--format", "png", "--output", png, svg], check=True)
    tree = ElementTree.parse(svg)
    width, height, pixels = read_png(png)
    root = tree.getroot()
    assert (width, height) == (round(float(root.get("width"))), round(float(root.get("height")))), (width, height)
    return tree, pixels


def draws(results_csv, first, last):
    """The draw days of the period, oldest first: each a list of its prizes."""
    with open(results_csv, newline="", encoding="utf-8") as f:
        rows = csv.reader(f)
        next(rows)
        days = [row for row in rows if first <= row[0] <= last]
    days.sort(key=lambda row: row[0])
    return [[int(prize) for prize in row[1:] if prize.strip()] for row in days]


def check_count_grid(tool, results_csv, book, work, problems):
    first, last, before = "2026-01-01", "2026-03-31", len(problems)
    appearances = [0] * 100
    for prizes in draws(results_csv, first, last):
        for prize in prizes:
            appearances[prize % 100] += 1
    chart = os.path.join(work, "counts.svg")
    subprocess.run([tool, "stats", book, "--from", first, "--to", last, "--region", "Miền Bắc", "--weekday", "Tất cả",
                    "--set", "Số Kép", "--type", "2 Con", "--chart", chart], check=True, capture_output=True)
    tree, pixels = render(chart)
    title = tree.getroot().find(SVG + "title").text
    if title != "Miền Bắc · Tất cả · 01/01/2026 – 31/03/2026 · 2 Con":
        problems.append(f"the grid's title is {title!r}")
    cells = {rect.get("id")[5:]: [float(rect.get(a)) for a in ("x", "y", "width", "height")]
             for rect in tree.iter(SVG + "rect") if (rect.get("id") or "").startswith("cell-")}
    if sorted(cells) != [f"{n:02d}" for n in range(100)]:
        problems.append(f"the grid's cells are {sorted(cells)}")
        return
    # The count written in each cell, and the cells' places: rows by first digit, columns by last.
    for n in range(100):
        x, y, w, h = cells[f"{n:02d}"]
        if (x, y) != (cells[f"{n % 10:02d}"][0], cells[f"{n // 10 * 10:02d}"][1]):
            problems.append(f"the cell of {n:02d} is out of its row or column")
        written = [t.text for t in tree.iter(SVG + "text") if t.get("font-weight") == "bold"
                   and x <= float(t.get("x")) <= x + w and y <= float(t.get("y")) <= y + h]
        if written != [str(appearances[n])]:
            problems.append(f"the cell of {n:02d} says {written}, the published results give {appearances[n]}")
    least, most = min(appearances), max(appearances)
    middle = min(range(100), key=lambda n: (abs(appearances[n] - (least + most) / 2), n))
    for n in (appearances.index(most), appearances.index(least), middle):
        x, y, w, h = (round(v) for v in cells[f"{n:02d}"])
        # The cell's own colour is the one most of its pixels have; its text covers a few.
        seen = collections.Counter(pixels[py][px] for py in range(y + 2, y + h - 2) for px in range(x + 2, x + w - 2))
        colour, expected = seen.most_common(1)[0][0], scale_colour(appearances[n], least, most)
        if any(abs(a - b) > 1 for a, b in zip(colour, expected)):
            problems.append(f"the cell of {n:02d} ({appearances[n]} of {least} to {most}) is rendered {colour}, "
                            f"the scale gives {expected}")
    if len(problems) == before:
        print(f"grid: 100 cells agree; {least} to {most} appearances, cells of {appearances.index(most):02d}, "
              f"{appearances.index(least):02d} and {middle:02d} rendered in the scale's colours")


def gaps_of(days, number):
    """(current gap, longest gap) in draw days, or (days, None) for a number never drawn."""
    seen = [i for i, prizes in enumerate(days) if number in {p % 100 for p in prizes}]
    if not seen:
        return len(days), None
    spans = [b - a - 1 for a, b in zip(seen, seen[1:])] + [len(days) - 1 - seen[-1]]
    return len(days) - 1 - seen[-1], max(spans)


def run_length(row, start, near):
    """How many pixels from `start` on are as `near` asks."""
    length = 0
    while start + length < len(row) and near(row[start + length]):
        length += 1
    return length


def close_to(colour):
    return lambda pixel: all(abs(a - b) <= 24 for a, b in zip(pixel, colour))


def check_gap_bars(tool, results_csv, book, work, problems):
    first, last, before = "2025-01-01", "2025-12-31", len(problems)
    days = draws(results_csv, first, last)
    gaps = {n: gaps_of(days, n) for n in range(100)}
    # Never drawn first, then the longest away, ties by number.
    top = sorted(range(100), key=lambda n: (gaps[n][1] is not None, -gaps[n][0], n))[:20]
    chart = os.path.join(work, "gan.svg")
    subprocess.run([tool, "gan", book, "--from", first, "--to", last, "--region", "Miền Bắc", "--weekday", "Tất cả",
                    "--type", "2 Con", "--chart", chart], check=True, capture_output=True)
    tree, pixels = render(chart)
    bars = {rect.get("id"): [float(rect.get(a)) for a in ("x", "y", "width", "height")]
            for rect in tree.iter(SVG + "rect") if rect.get("id")}
    shown = sorted(int(name[8:]) for name in bars if name.startswith("longest-"))
    if shown != sorted(n for n in top if gaps[n][1] is not None):
        problems.append(f"gan draws bars for {shown}, the published results give the top 20 {sorted(top)}")
        return
    # Along the middle of each row: the dark bar, and the whole bar to the end of the light one, where white begins.
    measured = {}
    for n in shown:
        x, y, _, h = bars[f"longest-{n:02d}"]
        row = pixels[int(y + h / 2)]
        if not close_to(LONGEST_GAP)(row[round(x)]) and not close_to(CURRENT_GAP)(row[round(x)]):
            problems.append(f"the bar of {n:02d} begins in {row[round(x)]}, neither of the bars' colours")
        measured[n] = (run_length(row, round(x), close_to(CURRENT_GAP)),
                       run_length(row, round(x), lambda pixel: not close_to((255, 255, 255))(pixel)))
    widest = max(shown, key=lambda n: gaps[n][1])
    per_day = measured[widest][1] / gaps[widest][1]
    for n in shown:
        current, longest = gaps[n]
        if abs(measured[n][0] - current * per_day) > 1.5 or abs(measured[n][1] - longest * per_day) > 1.5:
            problems.append(f"the bars of {n:02d} are {measured[n]} pixels long; its gaps {current} and {longest} "
                            f"at {per_day:.2f} pixels a day give {current * per_day:.1f} and {longest * per_day:.1f}")
    if len(problems) == before:
        print(f"gan: the bars of {len(shown)} numbers are as long as their gaps ({per_day:.2f} pixels a draw day)")


def main(tool, results_csv, book, work):
    if not shutil.which("rsvg-convert"):
        sys.exit("rsvg-convert is missing: install Debian's librsvg2-bin (scripts/setup --all)")
    problems = []
    check_count_grid(tool, results_csv, book, work, problems)
    check_gap_bars(tool, results_csv, book, work, problems)
    for problem in problems:
        print(problem, file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main(*sys.argv[1:5])
