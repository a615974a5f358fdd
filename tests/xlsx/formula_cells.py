#!/usr/bin/env python3
"""Prints every formula of a workbook as openpyxl, an independent reader,
reads it: one line per cell, "Tab!A1<TAB>=formula". openpyxl works out the
formula of each cell of a shared formula from the first cell's.
Usage: formula_cells.py BOOK.xlsx"""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    for row in sheet.iter_rows():
        for cell in row:
            if cell.data_type == "f":
                print(f"{sheet.title}!{cell.coordinate}\t{cell.value}")
