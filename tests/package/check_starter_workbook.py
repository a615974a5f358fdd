#!/usr/bin/env python3
"""The starter workbook holds every sheet code name, workbook name and cell
that the macros and the engine rely on."""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
problems = []
by_code = {ws.sheet_properties.codeName: ws for ws in book.worksheets}
for code in ("Sheet1", "Sheet2", "Sheet3"):
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
for p in problems:
    print("starter workbook:", p, file=sys.stderr)
sys.exit(1 if problems else 0)
