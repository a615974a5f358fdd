#!/usr/bin/env python3
"""What stats and gan say of the published North results, against counts and
gaps worked out here from the CSV (not from our code): gan's gaps, the đầu and
đuôi lines, the charts (grid counts and colours on the documented scale, a gap
bar for each number reported, rendered by librsvg), and the CSV and JSON reports
read by Python's own parsers.
Usage: published_check.py PRADIMA RESULTS.csv BOOK.xlsx WORKDIR"""
import csv
import io
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SVG = "{http://www.w3.org/2000/svg}"
FEWEST, MIDDLE, MOST = (255, 255, 217), (65, 182, 196), (8, 29, 88)
NORTH = ["--region", "Miền Bắc", "--weekday", "Tất cả"]
Q1, YEAR = ("2026-01-01", "2026-03-31"), ("2025-01-01", "2025-12-31")


def scale_colour(count, least, most):
    """Light to the middle colour over the first half, on to dark over the second; halves away from zero."""
    if most <= least:
        return MIDDLE
    share = min(max((count - least) / (most - least), 0.0), 1.0)
    start, end, part = (FEWEST, MIDDLE, share * 2) if share <= 0.5 else (MIDDLE, MOST, share * 2 - 1)
    return "#%02x%02x%02x" % tuple(int(a + (b - a) * part + 0.5) for a, b in zip(start, end))


def draws(results_csv, period, prizes=27):
    """The period's draw days, oldest first: (date, list of its first `prizes` prizes, special prize first)."""
    with open(results_csv, newline="", encoding="utf-8") as f:
        rows = [row for row in csv.reader(f) if period[0] <= row[0] <= period[1]]
    rows.sort(key=lambda row: row[0])
    return [(row[0], [int(p) for p in row[1:1 + prizes] if p.strip()]) for row in rows]


def run(tool, *args):
    return subprocess.run([tool, *args], check=True, capture_output=True, text=True, encoding="utf-8").stdout


def reports(tool, *args):
    """The same report as JSON and as CSV rows."""
    return (json.loads(run(tool, *args, "--format", "json")),
            list(csv.DictReader(io.StringIO(run(tool, *args, "--format", "csv")))))


def rects(svg):
    subprocess.run(["rsvg-convert", "--format", "png", "--output", svg[:-4] + ".png", svg], check=True)
    tree = ElementTree.parse(svg)
    return tree, {r.get("id"): r for r in tree.iter(SVG + "rect") if r.get("id")}


def box(rect):
    return [float(rect.get(a)) for a in ("x", "y", "width", "height")]


def expected_gaps(days, number, modulus=100):
    seen = [i for i, (_, prizes) in enumerate(days) if number in {p % modulus for p in prizes}]
    if not seen:
        return {"last_drawn": None, "current_gap": len(days), "longest_gap": None, "longest_gap_ended": None,
                "longest_gap_running": False}
    # (length, end index, running); the latest of equally long gaps wins.
    gaps = [(b - a - 1, b, False) for a, b in zip(seen, seen[1:])] + [(len(days) - 1 - seen[-1], len(days) - 1, True)]
    longest = max(gaps, key=lambda gap: (gap[0], gap[1]))
    return {"last_drawn": days[seen[-1]][0], "current_gap": len(days) - 1 - seen[-1], "longest_gap": longest[0],
            "longest_gap_ended": days[longest[1]][0], "longest_gap_running": longest[2]}


def check_gan(tool, results_csv, book, work):
    days = draws(results_csv, YEAR)
    assert len(days) > 300, len(days)
    chart = os.path.join(work, "gan.svg")
    period = ["--from", YEAR[0], "--to", YEAR[1], *NORTH, "--type", "2 Con"]
    report = json.loads(run(tool, "gan", book, *period, "--top", "100", "--format", "json"))
    top = json.loads(run(tool, "gan", book, *period, "--format", "json", "--chart", chart))
    assert report["draw_days"] == len(days) and report["request"]["from"] == YEAR[0], report["request"]
    assert top["rows"] == report["rows"][:20], "--top defaults to 20"
    gaps = {n: expected_gaps(days, n) for n in range(100)}
    for row in [dict(r) for r in report["rows"]]:
        number = int(row.pop("number"))
        assert row == gaps[number], (number, row, gaps[number])
    assert len(report["rows"]) == 100
    current = [row["current_gap"] for row in report["rows"]]
    assert current == sorted(current, reverse=True), "the longest current gaps come first"
    # The chart draws the rows reported, a bar for each number drawn in the period.
    _, bars = rects(chart)
    shown = sorted(int(name[8:]) for name in bars if name.startswith("longest-"))
    drawn = sorted(int(r["number"]) for r in top["rows"] if r["longest_gap"] is not None)
    assert shown == drawn, (shown, drawn)


def check_counts(tool, results_csv, book, work):
    days = draws(results_csv, Q1)
    appearances, on_days = [0] * 100, [0] * 100
    heads, tails = [0] * 10, [0] * 10
    for _, prizes in days:
        for number in {prize % 100 for prize in prizes}:
            on_days[number] += 1
        for prize in prizes:
            appearances[prize % 100] += 1
            heads[prize % 100 // 10] += 1
            tails[prize % 10] += 1
    chart = os.path.join(work, "counts.svg")
    request = ["--from", Q1[0], "--to", Q1[1], *NORTH, "--set", "Số Kép", "--type", "2 Con"]
    text = run(tool, "stats", book, *request, "--chart", chart)
    lines = {line.split()[0]: [int(x) for x in line.split()[1:]] for line in text.splitlines()
             if line.startswith(("đầu", "đuôi"))}
    assert lines.get("đầu") == heads and lines.get("đuôi") == tails, (lines, heads, tails)
    counted = json.loads(run(tool, "stats", book, *request, "--format", "json"))
    assert [counted["request"][k] for k in ("from", "to", "station")] == [*Q1, None], counted["request"]
    assert [counted[k] for k in ("draw_days", "dau", "duoi")] == [len(days), heads, tails], (counted, heads, tails)
    assert counted["rows"] == [{"number": f"{d}{d}", "days": on_days[d * 11] or None,
                                "appearances": appearances[d * 11] or None} for d in range(10)], counted["rows"]
    tree, cells = rects(chart)
    assert tree.getroot().find(SVG + "title").text == "Miền Bắc · Tất cả · 01/01/2026 – 31/03/2026 · 2 Con"
    assert sorted(cells) == [f"cell-{n:02d}" for n in range(100)], sorted(cells)
    least, most = min(appearances), max(appearances)
    for n in range(100):
        x, y, w, h = box(cells[f"cell-{n:02d}"])
        # Rows by first digit, columns by last.
        assert (x, y) == (box(cells[f"cell-{n % 10:02d}"])[0], box(cells[f"cell-{n // 10 * 10:02d}"])[1]), n
        written = [t.text for t in tree.iter(SVG + "text") if t.get("font-weight") == "bold"
                   and x <= float(t.get("x")) <= x + w and y <= float(t.get("y")) <= y + h]
        assert written == [str(appearances[n])], (n, written, appearances[n])
        assert cells[f"cell-{n:02d}"].get("fill") == scale_colour(appearances[n], least, most), n


def check_reports(tool, book):
    request = ["--from", Q1[0], "--to", Q1[1], "--region", "Miền Bắc", "--weekday", "Thứ Hai"]
    gan_json, gan_csv = reports(tool, "gan", book, *request, "--type", "3 Con", "--top", "30")
    assert gan_json["request"]["weekday"] == "Thứ Hai" and 10 <= gan_json["draw_days"] <= 13, gan_json["request"]
    assert gan_json["request"]["top"] == 30 and len(gan_json["rows"]) == 30 == len(gan_csv)
    for from_csv, from_json in zip(gan_csv, gan_json["rows"]):
        assert len(from_json["number"]) == 3 and from_csv["number"] == from_json["number"]
        assert int(from_csv["current_gap"]) == from_json["current_gap"]
        assert from_csv["last_drawn"] == (from_json["last_drawn"] or "")
        assert from_csv["longest_gap_running"] == ("true" if from_json["longest_gap_running"] else "false")


def check_three_digit_prizes(tool, results_csv, book, work):
    """--prizes 3-digit: the 23 prizes before the four two-digit 7th prizes, cut to three digits."""
    days, chart = draws(results_csv, Q1, prizes=23), os.path.join(work, "three.svg")
    request = ["--from", Q1[0], "--to", Q1[1], *NORTH, "--type", "3 Con", "--prizes", "3-digit"]
    counted = json.loads(run(tool, "stats", book, *request, "--set", "Full", "--format", "json", "--chart", chart))
    drawn = [prize % 1000 for _, prizes in days for prize in prizes]
    assert [row["appearances"] or 0 for row in counted["rows"]] == [drawn.count(n) for n in range(1000)]
    assert counted["request"]["prizes"] == "3-digit", counted["request"]
    assert counted["dau"] is None and counted["duoi"] is None, "no đầu and đuôi of three-digit numbers"
    title = ElementTree.parse(chart).getroot().find(SVG + "title").text
    assert title.endswith(" · 3 Con · 3-digit prizes"), title
    for row in json.loads(run(tool, "gan", book, *request, "--top", "1000", "--format", "json"))["rows"]:
        assert dict(row, number=None) == dict(expected_gaps(days, int(row["number"]), 1000), number=None), row


def main(tool, results_csv, example, work):
    if not shutil.which("rsvg-convert"):
        sys.exit("rsvg-convert is missing: install Debian's librsvg2-bin (scripts/setup --all)")
    book = os.path.join(work, "b.xlsx")
    shutil.copy(example, book)
    check_gan(tool, results_csv, book, work)
    check_counts(tool, results_csv, book, work)
    check_reports(tool, book)
    check_three_digit_prizes(tool, results_csv, book, work)
    print("stats and gan agree with the published results")


if __name__ == "__main__":
    main(*sys.argv[1:5])
