// A new workbook file laid out as the engine expects.
#include <filesystem>
#include <map>

#include "cli/xlsx_workbook.h"
#include "cli/xml_text.h"
#include "base/error.h"
#include "session/standard_workbook.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

std::string List(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : ",") + item;
  return "&quot;" + XmlEscaped(joined) + "&quot;";
}

std::string Validation(const char* cell, const std::vector<std::string>& items) {
  return std::string("<dataValidation type=\"list\" allowBlank=\"1\" showErrorMessage=\"1\" sqref=\"") + cell +
         "\"><formula1>" + List(items) + "</formula1></dataValidation>";
}

std::string Sheet(const std::string& codeName, const std::string& extra) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
         "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
         "<sheetPr codeName=\"" + codeName + "\"/><dimension ref=\"A1\"/><sheetData/>" + extra + "</worksheet>";
}

std::string QuotedSheet(const std::string& name) { return "'" + name + "'"; }

}  // namespace

void CreateStandardWorkbook(const std::string& path, const CivilDate& today) {
  if (std::filesystem::exists(path)) {
    throw Error(VbError::ApplicationDefined, path + " exists already; init does not overwrite a workbook");
  }
  const std::shared_ptr<MemoryWorkbook> layout = NewStandardWorkbook(today);

  std::string sheets, relationships, contentTypes, names;
  int index = 0;
  for (const auto& sheet : layout->sheets()) {
    ++index;
    const std::string n = std::to_string(index);
    sheets += "<sheet name=\"" + XmlEscaped(sheet->tab_name()) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    relationships += "<Relationship Id=\"rId" + n +
                     "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                     "Target=\"worksheets/sheet" + n + ".xml\"/>";
    contentTypes += "<Override PartName=\"/xl/worksheets/sheet" + n +
                    ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
  }
  for (const DefinedName& name : layout->names()) {
    const std::string range = "$" + ColumnLetters(name.range.first.column) + "$" + std::to_string(name.range.first.row) +
                              ":$" + ColumnLetters(name.range.last.column) + "$" + std::to_string(name.range.last.row);
    names += "<definedName name=\"" + name.name + "\">" + XmlEscaped(QuotedSheet(name.sheet->tab_name())) + "!" + range +
             "</definedName>";
  }
  const std::string styles =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/></numFmts>"
      "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
      "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
      "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
      "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
      "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
      "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
      "</styleSheet>";

  std::vector<std::string> weekdays, regions;
  for (const char* telex : terms::kWeekdayTelexNames) weekdays.push_back(TelexToUnicode(telex));
  weekdays.push_back(TelexToUnicode(terms::kEveryDayTelex));
  for (const terms::Region& region : terms::kRegions) regions.push_back(TelexToUnicode(region.telexName));
  const std::string validations =
      "<dataValidations count=\"4\">" + Validation(terms::kRegionCell, regions) +
      Validation(terms::kNumberSetCell,
                 {TelexToUnicode(terms::kDoublesTelex), terms::kFullSet, TelexToUnicode(terms::kCustomTelex)}) +
      Validation(terms::kWeekdayCell, weekdays) +
      Validation(terms::kNumberTypeCell, {terms::kTwoDigits, terms::kThreeDigits}) + "</dataValidations>";

  std::map<std::string, std::string> parts;
  parts["[Content_Types].xml"] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>" +
      contentTypes + "</Types>";
  parts["_rels/.rels"] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
      "Target=\"xl/workbook.xml\"/></Relationships>";
  parts["xl/workbook.xml"] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
      "<sheets>" + sheets + "</sheets><definedNames>" + names + "</definedNames></workbook>";
  parts["xl/_rels/workbook.xml.rels"] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + relationships +
      "<Relationship Id=\"rIdStyles\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/></Relationships>";
  parts["xl/styles.xml"] = styles;
  parts["xl/worksheets/sheet1.xml"] = Sheet(terms::kResultsCodeName, "");
  parts["xl/worksheets/sheet2.xml"] = Sheet(terms::kSettingsCodeName, "");
  parts["xl/worksheets/sheet3.xml"] = Sheet(terms::kControlCodeName, validations);
  WritePackage(path, parts);

  // Then the cells, through the same writer as every later save.
  XlsxWorkbook workbook = XlsxWorkbook::Open(path);
  for (const auto& source : layout->sheets()) {
    const auto target = workbook.book()->SheetByCodeName(source->code_name());
    for (const auto& [row, cells] : source->rows())
      for (size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].IsEmpty()) target->Set(row, static_cast<int32_t>(c) + 1, cells[c]);
  }
  workbook.Save();
}

}  // namespace pradima::cli
