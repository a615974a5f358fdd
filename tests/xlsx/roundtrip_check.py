# Opens a workbook the tool wrote with openpyxl, an independent reader, and
# checks code names, defined names, data validation and the cells written.
import datetime
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
code_names = {ws.sheet_properties.codeName: ws for ws in book.worksheets}
assert set(code_names) == {"Sheet1", "Sheet2", "Sheet3"}, code_names
names = book.defined_names
for name in ("BangDai", "Bang1", "Bang2", "Bang3", "Bang4", "CaiDatMien"):
    assert name in names, name
assert names["BangDai"].attr_text == "'CaiDat'!$A$2:$H$8", names["BangDai"].attr_text
control = code_names["Sheet3"]
lists = {str(v.sqref): v.formula1 for v in control.data_validations.dataValidation}
assert lists["B6"] == '"2 Con,3 Con"', lists
assert lists["B3"] == '"Miền Bắc,Miền Trung,Miền Nam"', lists
assert control["B1"].value == datetime.datetime(2026, 1, 1), control["B1"].value
assert control["F1"].value == " * Tổng số ngày thống kê: 230", control["F1"].value
counts = [[cell.value for cell in row] for row in control["F3:H12"]]
assert counts[0] == ["00", 50, 58] and counts[9] == ["99", 49, 55], counts
results = code_names["Sheet1"]
assert results["A5"].value == datetime.datetime(2005, 10, 1), results["A5"].value
assert results["A5"].is_date
assert [cell.value for cell in results["B5:E5"][0]] == ["T7", "34584", "16876", "34885"], results["B5:E5"]
print("openpyxl round trip passed")
