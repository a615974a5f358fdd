#!/usr/bin/env python3
# A strict check of a workbook package, as the strictest reader applies it:
# content types for every part, relationships that resolve, worksheet elements
# in schema order, and style indexes within the style sheet (the order of
# rows and cells is checked against exact parts by the saved-sheet tests).
# Usage: strict_package_check.py BOOK.xlsx [BOOK.xlsm ...]
import posixpath
import sys
import zipfile
import xml.etree.ElementTree as ET

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"
CT = "{http://schemas.openxmlformats.org/package/2006/content-types}"
OFFICE_REL = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"

WORKSHEET_ORDER = [
    "sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "sheetCalcPr", "sheetProtection",
    "protectedRanges", "scenarios", "autoFilter", "sortState", "dataConsolidate", "customSheetViews", "mergeCells",
    "phoneticPr", "conditionalFormatting", "dataValidations", "hyperlinks", "printOptions", "pageMargins",
    "pageSetup", "headerFooter", "rowBreaks", "colBreaks", "customProperties", "cellWatches", "ignoredErrors",
    "smartTags", "drawing", "legacyDrawing", "legacyDrawingHF", "drawingHF", "picture", "oleObjects", "controls",
    "webPublishItems", "tableParts", "extLst",
]


def local(tag):
    return tag.split("}", 1)[-1]


def rels_of(package, part):
    name = posixpath.join(posixpath.dirname(part), "_rels", posixpath.basename(part) + ".rels")
    if name not in package.namelist():
        return {}
    root = ET.fromstring(package.read(name))
    return {r.get("Id"): (r.get("Type"), r.get("Target"), r.get("TargetMode")) for r in root.iter(REL + "Relationship")}


def resolve(part, target):
    if target.startswith("/"):
        return target[1:]
    return posixpath.normpath(posixpath.join(posixpath.dirname(part), target))


def check(path):
    problems = []
    package = zipfile.ZipFile(path)
    names = set(package.namelist())
    for name in names:
        if name.endswith(".xml") or name.endswith(".rels"):
            try:
                ET.fromstring(package.read(name))
            except ET.ParseError as e:
                problems.append(f"{name}: not well-formed XML ({e})")
    types = ET.fromstring(package.read("[Content_Types].xml"))
    defaults = {d.get("Extension").lower() for d in types.iter(CT + "Default")}
    overrides = {o.get("PartName").lstrip("/"): o.get("ContentType") for o in types.iter(CT + "Override")}
    for name in names:
        if name.endswith("/") or name == "[Content_Types].xml":
            continue
        if name not in overrides and name.rsplit(".", 1)[-1].lower() not in defaults:
            problems.append(f"{name}: no content type")
    for name in overrides:
        if name not in names:
            problems.append(f"[Content_Types].xml names {name}, which the package lacks")
    for part in [n for n in names if not n.endswith(".rels")]:
        for rid, (kind, target, mode) in rels_of(package, part).items():
            if mode != "External" and resolve(part, target) not in names:
                problems.append(f"{part}: relationship {rid} points at {target}, which the package lacks")

    workbook = "xl/workbook.xml"
    xfs = ET.fromstring(package.read("xl/styles.xml")).find(MAIN + "cellXfs") if "xl/styles.xml" in names else None
    xf_count = 1 if xfs is None else len(xfs)
    rels = rels_of(package, workbook)
    sheet_parts = [resolve(workbook, rels[s.get(OFFICE_REL + "id")][1])
                   for s in ET.fromstring(package.read(workbook)).iter(MAIN + "sheet")]
    for part in sheet_parts:
        root = ET.fromstring(package.read(part))
        order = [local(child.tag) for child in root]
        known = [o for o in order if o in WORKSHEET_ORDER]
        repeated = {k for k in known if known.count(k) > 1 and k != "conditionalFormatting"}
        if known != sorted(known, key=WORKSHEET_ORDER.index) or repeated:
            problems.append(f"{part}: elements out of schema order: {order}")
        data = root.find(MAIN + "sheetData")
        if data is None:
            problems.append(f"{part}: no sheetData")
            continue
        for c in data.iter(MAIN + "c"):
            if c.get("s") is not None and int(c.get("s")) >= xf_count:
                problems.append(f"{part}: cell {c.get('r')} has style {c.get('s')} of {xf_count}")
    for p in problems:
        print(f"{path}: {p}", file=sys.stderr)
    return not problems


if __name__ == "__main__":
    results = [check(path) for path in sys.argv[1:]]
    sys.exit(0 if all(results) else 1)
