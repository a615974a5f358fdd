// A new workbook file laid out as the engine expects.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "base/error.h"
#include "cli/concat.h"
#include "cli/xlsx_workbook.h"
#include "cli/xml_text.h"
#include "session/standard_workbook.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima::cli {
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

std::string ListValidation(std::string_view cell, const std::vector<std::string>& items) {
  return Concat("<dataValidation type=\"list\" allowBlank=\"1\" showErrorMessage=\"1\" sqref=\"", cell, "\"><formula1>",
                ListFormula(items), "</formula1></dataValidation>");
}

// The drop-down lists of the control sheet: region, number set, weekday, number type.
std::string ControlSheetValidations() {
  std::vector<std::string> weekdays, regions;
  for (const char* telex : terms::kWeekdayTelexNames) weekdays.push_back(TelexToUnicode(telex));
  weekdays.push_back(TelexToUnicode(terms::kEveryDayTelex));
  for (const terms::Region& region : terms::kRegions) regions.push_back(TelexToUnicode(region.telexName));
  const std::vector<std::string> sets{TelexToUnicode(terms::kDoublesTelex), terms::kFullSet,
                                      TelexToUnicode(terms::kCustomTelex)};
  return Concat("<dataValidations count=\"4\">", ListValidation(terms::kRegionCell, regions),
                ListValidation(terms::kNumberSetCell, sets), ListValidation(terms::kWeekdayCell, weekdays),
                ListValidation(terms::kNumberTypeCell, {terms::kTwoDigits, terms::kThreeDigits}), "</dataValidations>");
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
        Concat("<sheet name=\"", XmlEscaped(sheet->tab_name()), "\" sheetId=\"", n, "\" r:id=\"rId", n, "\"/>");
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
    const std::string quotedSheet = Concat("'", name.sheet->tab_name(), "'");
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
std::map<std::string, std::string> PackageParts(const MemoryWorkbook& layout, const std::string& path) {
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
  parts["xl/worksheets/sheet1.xml"] = WorksheetXml(terms::kResultsCodeName, "");
  parts["xl/worksheets/sheet2.xml"] = WorksheetXml(terms::kSettingsCodeName, "");
  parts["xl/worksheets/sheet3.xml"] = WorksheetXml(terms::kControlCodeName, ControlSheetValidations());
  return parts;
}

// The layout's cells into the new file, through the same writer as every later save.
void FillCells(const std::string& path, const MemoryWorkbook& layout) {
  XlsxWorkbook workbook = XlsxWorkbook::Open(path);
  for (const auto& source : layout.sheets()) {
    const auto target = workbook.book()->SheetByCodeName(source->code_name());
    for (const auto& [row, cells] : source->rows())
      for (size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].IsEmpty()) target->Set(row, static_cast<int32_t>(c) + 1, cells[c]);
  }
  workbook.Save();
}

}  // namespace

bool HasExtension(const std::string& path, std::string_view extension) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.size() <= extension.size()) return false;
  return std::equal(extension.begin(), extension.end(), name.end() - static_cast<std::ptrdiff_t>(extension.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                    });
}

void CreateStandardWorkbook(const std::string& path, const CivilDate& today) {
  if (std::filesystem::exists(path)) {
    throw Error(VbError::ApplicationDefined, path + " exists already; init does not overwrite a workbook");
  }
  const std::shared_ptr<MemoryWorkbook> layout = NewStandardWorkbook(today);
  if (!HasExtension(path, ".xlsx") && !HasExtension(path, ".xlsm"))
    throw Error(VbError::InvalidArgument, path + ": a workbook is named .xlsx, or .xlsm to hold macros");
  WritePackage(path, PackageParts(*layout, path));
  FillCells(path, *layout);
}

}  // namespace pradima::cli
