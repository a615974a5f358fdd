// A new workbook file: every part made here, the cells through the same
// writer as every later save, then the file written in one go.
#include "xlsx/new_workbook.h"

#include <filesystem>
#include <map>

#include "base/concat.h"
#include "base/error.h"
#include "base/files.h"
#include "base/xml_text.h"
#include "xlsx/cell_formats.h"
#include "xlsx/sheet_writer.h"
#include "xlsx/zip_writer.h"

namespace pradima::xlsx {
namespace {

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMainNamespaces =
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

// One font, the two fills every workbook has, one border; format 1 shows a date as dd/mm/yyyy.
constexpr std::string_view kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
    "patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

// A list validation's items as its formula writes them: "a,b,c", quotes escaped.
std::string ListFormula(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) {
    if (!joined.empty()) joined += ',';
    joined += item;
  }
  return Concat("&quot;", XmlEscaped(joined), "&quot;");
}

// The drop-down lists of one sheet, as its part writes them after the cells.
std::string ListValidations(const MemorySheet& sheet, const std::vector<DropDownList>& lists) {
  std::string validations;
  int count = 0;
  for (const DropDownList& list : lists) {
    if (list.codeName != sheet.codeName()) continue;
    validations += Concat("<dataValidation type=\"list\" allowBlank=\"1\" showErrorMessage=\"1\" sqref=\"", list.cell,
                          "\"><formula1>", ListFormula(list.items), "</formula1></dataValidation>");
    ++count;
  }
  if (count == 0) return "";
  return Concat("<dataValidations count=\"", std::to_string(count), "\">", validations, "</dataValidations>");
}

// An empty worksheet with its code name; `extra` follows its cells.
std::string WorksheetXml(std::string_view codeName, std::string_view extra) {
  return Concat(kXmlDeclaration, "<worksheet ", kMainNamespaces, "><sheetPr codeName=\"", codeName,
                "\"/><dimension ref=\"A1\"/><sheetData/>", extra, "</worksheet>");
}

// $A$2:$H$8
std::string AbsoluteRange(const RangeRef& range) {
  return Concat("$", ColumnLetters(range.first.column), "$", std::to_string(range.first.row), ":$",
                ColumnLetters(range.last.column), "$", std::to_string(range.last.row));
}

// The entries that list the sheets in the workbook part, its relationships and the content types.
struct SheetListings {
  std::string sheets, relationships, contentTypes;
};

SheetListings ListSheets(const MemoryWorkbook& layout) {
  SheetListings listings;
  int index = 0;
  for (const auto& sheet : layout.sheets()) {
    const std::string n = std::to_string(++index);
    listings.sheets +=
        Concat("<sheet name=\"", XmlEscaped(sheet->tabName()), "\" sheetId=\"", n, "\" r:id=\"rId", n, "\"/>");
    listings.relationships +=
        Concat("<Relationship Id=\"rId", n,
               "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
               "Target=\"worksheets/sheet",
               n, ".xml\"/>");
    listings.contentTypes +=
        Concat("<Override PartName=\"/xl/worksheets/sheet", n,
               ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>");
  }
  return listings;
}

std::string DefinedNames(const MemoryWorkbook& layout) {
  std::string names;
  for (const DefinedName& name : layout.names()) {
    const std::string quotedSheet = Concat("'", name.sheet->tabName(), "'");
    names += Concat("<definedName name=\"", name.name, "\">", XmlEscaped(quotedSheet), "!", AbsoluteRange(name.range),
                    "</definedName>");
  }
  return names;
}

// The content type of the workbook part: a macro-enabled one for an .xlsm
// file, which the spreadsheet opens only with it.
std::string_view WorkbookContentType(const std::string& path) {
  if (HasExtension(path, ".xlsm")) return "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
  return "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
}

// Every part of the new file; the sheets without their cells.
std::map<std::string, std::string> PackageParts(const MemoryWorkbook& layout, const std::vector<DropDownList>& lists,
                                                const std::string& path) {
  const SheetListings listings = ListSheets(layout);
  std::map<std::string, std::string> parts;
  parts["[Content_Types].xml"] =
      Concat(kXmlDeclaration,
             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" ContentType=\"",
             WorkbookContentType(path),
             "\"/>"
             "<Override PartName=\"/xl/styles.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>",
             listings.contentTypes, "</Types>");
  parts["_rels/.rels"] =
      Concat(kXmlDeclaration,
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" "
             "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
             "Target=\"xl/workbook.xml\"/></Relationships>");
  parts["xl/workbook.xml"] = Concat(kXmlDeclaration, "<workbook ", kMainNamespaces, "><sheets>", listings.sheets,
                                    "</sheets><definedNames>", DefinedNames(layout), "</definedNames></workbook>");
  parts["xl/_rels/workbook.xml.rels"] =
      Concat(kXmlDeclaration, "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">",
             listings.relationships,
             "<Relationship Id=\"rIdStyles\" "
             "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
             "Target=\"styles.xml\"/></Relationships>");
  parts["xl/styles.xml"] = Concat(kXmlDeclaration, kStyles);
  int index = 0;
  for (const auto& sheet : layout.sheets())
    parts[Concat("xl/worksheets/sheet", std::to_string(++index), ".xml")] =
        WorksheetXml(sheet->codeName(), ListValidations(*sheet, lists));
  return parts;
}

// The layout's cells into the parts of its sheets, through the same writer as every later save.
void FillCells(std::map<std::string, std::string>& parts, const MemoryWorkbook& layout) {
  const CellFormats formats = CellFormats::Parse(parts.at(kStylesPart), kStylesPart);
  int index = 0;
  for (const auto& sheet : layout.sheets()) {
    const std::string name = Concat("xl/worksheets/sheet", std::to_string(++index), ".xml");
    if (!sheet->rows().empty()) parts[name] = RewriteSheetXml(parts.at(name), name, *sheet, formats, {}).xml;
  }
}

}  // namespace

void CreateWorkbookFile(const std::string& path, const MemoryWorkbook& layout, const std::vector<DropDownList>& lists) {
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
    throw Error(VbError::ApplicationDefined, path + " exists already; a new workbook never replaces a file");
  if (!HasExtension(path, ".xlsx") && !HasExtension(path, ".xlsm"))
    throw Error(VbError::InvalidArgument, path + ": a workbook's name must end in .xlsx, or in .xlsm to hold macros");
  std::map<std::string, std::string> parts = PackageParts(layout, lists, path);
  FillCells(parts, layout);
  // Written whole under a temporary name, so a failure leaves no half-made workbook.
  CreateNewFile(path, path, [&](const std::string& temporary) {
    ZipWriter writer(temporary, path, false);
    for (const auto& [name, content] : parts) writer.AddDeflated(name, content);
    writer.Finish();
  });
}

}  // namespace pradima::xlsx
