#!/usr/bin/env python3
"""The đầu and đuôi lines of `pradima stats` for two-digit numbers agree with
an independent count from the published North results (the CSV, not our
code): every prize's last two digits, by first and by last digit.
Usage: heads_tails_check.py PRADIMA RESULTS.csv BOOK.xlsx"""
import csv
import datetime
import subprocess
import sys

pradima, results_csv, book = sys.argv[1:4]
start, end = datetime.date(2026, 1, 1), datetime.date(2026, 3, 31)

heads, tails = [0] * 10, [0] * 10
with open(results_csv, encoding="utf-8") as f:
    rows = csv.reader(f)
    next(rows)
    for row in rows:
        day = datetime.date.fromisoformat(row[0])
        if not start <= day <= end:
            continue
        for prize in row[1:]:
            lo = int(prize) % 100
            heads[lo // 10] += 1
            tails[lo % 10] += 1

output = subprocess.run([pradima, "stats", book, "--from", str(start), "--to", str(end), "--region", "Miền Bắc",
                         "--weekday", "Tất cả", "--set", "Số Kép", "--type", "2 Con"],
                        capture_output=True, text=True, check=True).stdout
lines = {line.split()[0]: [int(x) for x in line.split()[1:]] for line in output.splitlines()
         if line.startswith(("đầu", "đuôi"))}
problems = []
if lines.get("đầu") != heads:
    problems.append(f"đầu {lines.get('đầu')}, the published results give {heads}")
if lines.get("đuôi") != tails:
    problems.append(f"đuôi {lines.get('đuôi')}, the published results give {tails}")
for p in problems:
    print(p, file=sys.stderr)
sys.exit(1 if problems else 0)
