#!/usr/bin/env python3
"""The starter workbook holds every sheet code name, workbook name and cell
that the macros and the engine rely on; filled (a last date given as
YYYY-MM-DD), it holds one row for every day from 1 January 2005 to that
date, with every region's prizes."""
import datetime
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
problems = []
by_code = {ws.sheet_properties.codeName: ws for ws in book.worksheets}
for code in ("Sheet1", "Sheet2", "Sheet3", "Sheet4"):
    if code not in by_code:
        problems.append(f"no worksheet with code name {code}")
names = set(book.defined_names.keys()) if hasattr(book.defined_names, "keys") else {n.name for n in book.defined_names.definedName}
for name in ("BangDai", "Bang1", "Bang2", "Bang3", "Bang4", "CaiDatMien"):
    if name not in names:
        problems.append(f"no workbook name {name}")
if not problems:
    results, control = by_code["Sheet1"], by_code["Sheet3"]
    if results["A4"].value in (None, ""):
        problems.append("the results sheet's A4 is empty: the engine needs its headings")
    for cell in ("B1", "B2", "B3", "B4", "B5", "B6"):
        if control[cell].value in (None, ""):
            problems.append(f"the control sheet's {cell} is empty")
    if control["B6"].value not in ("2 Con", "3 Con"):
        problems.append(f"B6 holds {control['B6'].value!r}, not a number type")
    if len(control.data_validations.dataValidation) < 4:
        problems.append("the control sheet lacks its drop-down lists")
if not problems and len(sys.argv) > 2:
    day, last = datetime.date(2005, 1, 1), datetime.date.fromisoformat(sys.argv[2])
    # A (date), C (North's first prize), AE (Central's), CJ (South's)
    for row in results.iter_rows(min_row=5, max_col=88, values_only=True):
        if row[0] is None:
            break
        if row[0].date() != day or any(row[c] in (None, "") for c in (2, 30, 87)):
            problems.append(f"the row for {day} holds {row[0]} with prizes {row[2]!r} {row[30]!r} {row[87]!r}")
            break
        day += datetime.timedelta(days=1)
    if not problems and day != last + datetime.timedelta(days=1):
        problems.append(f"the results end on {day - datetime.timedelta(days=1)}, not on {last}")
for p in problems:
    print("starter workbook:", p, file=sys.stderr)
sys.exit(1 if problems else 0)
