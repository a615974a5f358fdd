// A worksheet part read in one pass over its text, or through the document
// tree, and written again with its unchanged rows copied as text, or with
// every row through the tree: either way, the same sheet.
#include "xlsx/worksheet_read.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>

#include "base/error.h"
#include "same_sheet.h"
#include "support/data_files.h"
#include "support/error_of.h"
#include "support/random_sheet.h"
#include "support/standard_formats.h"
#include "xlsx/sheet_writer.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/xml_part.h"

namespace pradima::xlsx {
namespace {

// The part as a tree, printed again with each row's attributes in name
// order and without its column span (a hint that a writer may leave out).
std::string Canonical(const std::string& xml) {
  pugi::xml_document doc = ParseXmlPart(xml, "sheet.xml");
  pugi::xml_node sheetData = Child(Child(doc, "worksheet"), "sheetData");
  for (pugi::xml_node row : sheetData.children()) {
    std::vector<std::pair<std::string, std::string>> attributes;
    for (pugi::xml_attribute a : row.attributes())
      if (std::string_view(a.name()) != "spans") attributes.emplace_back(a.name(), a.value());
    std::sort(attributes.begin(), attributes.end());
    while (row.first_attribute()) row.remove_attribute(row.first_attribute());
    for (const auto& [name, value] : attributes) row.append_attribute(name.c_str()).set_value(value.c_str());
  }
  return SerializeXml(doc);
}

class WorksheetTest : public ::testing::Test {
 protected:
  WorksheetTest() : formats_(StandardFormats()), reader_(shared_, formats_) {}

  std::vector<std::string> shared_{"Miền Bắc", "07", "x&y"};
  CellFormats formats_;
  CellReader reader_;
};

// The worksheets of data/worksheets. The scan reads markup it reads itself
// (same-*) exactly as the tree does; it leaves to the tree markup that the
// tree treats in ways of its own (odd-*), and reading gives the tree's rows or
// its error; markup that is not well-formed (broken-*) raises the parser's error.
TEST_F(WorksheetTest, TheScanReadsWhatTheTreeReadsOrLeavesThePartToIt) {
  for (const auto& [name, xml] : testing::DataFiles("worksheets", "")) {
    SCOPED_TRACE(name);
    const std::optional<ScannedWorksheet> scanned = ScanWorksheet(xml, reader_);
    EXPECT_EQ(scanned.has_value(), name.starts_with("same-"));
    std::optional<ScannedWorksheet> read, parsed;
    const auto readError = testing::ErrorOf([&] { read = ReadWorksheet(xml, "sheet1.xml", reader_); });
    const auto parseError = testing::ErrorOf([&] { parsed = ParseWorksheet(xml, "sheet1.xml", reader_); });
    EXPECT_EQ(readError, parseError);
    EXPECT_TRUE(!name.starts_with("broken-") || !parseError.second.empty()) << "a broken part was read";
    ASSERT_EQ(read.has_value(), parsed.has_value());
    if (read) {
      EXPECT_EQ(SheetDifference(*read, *parsed), "");
    }
    if (scanned && parsed) {
      EXPECT_EQ(SheetDifference(*scanned, *parsed), "");
    }
  }
}

// Random sheets as writers lay them out read the same both ways; rewritten
// with some cells changed, as runs change them, their rows copied as text
// (where the load found them, or where a scan of its own finds them) give
// what the tree gives.
TEST_F(WorksheetTest, RandomSheetsReadAndRewriteTheSameBothWays) {
  testing::RandomSheets sheets(20261206);
  const std::shared_ptr<MemoryWorkbook> book = MemoryWorkbook::Create();
  int scanned = 0;
  for (int round = 0; round < 600; ++round) {
    // Numbers that do not read are left out of the rewrite: the two ways differ on their format.
    const bool oddNumbers = round % 2 == 0;
    int32_t lastRow = 0;
    const std::string xml = sheets.Next("S", sheets.Pick(4) == 0, oddNumbers, lastRow);
    SCOPED_TRACE(xml);
    const std::optional<ScannedWorksheet> parsed = ParseWorksheet(xml, "sheet1.xml", reader_);
    ASSERT_TRUE(parsed);
    std::optional<WorksheetLayout> layout;
    const std::optional<ScannedWorksheet> read = ReadWorksheet(xml, "sheet1.xml", reader_, &layout);
    if (layout) {
      ++scanned;
      ASSERT_EQ(SheetDifference(*read, *parsed), "");
    }
    if (oddNumbers) continue;
    auto sheet = book->AddSheet(read->codeName, "Tab" + std::to_string(round));
    for (const auto& [row, cells] : read->rows) sheet->SetRow(row, cells);
    sheet->ForgetChanges();
    for (int change = 0, changes = sheets.Pick(6); change < changes; ++change) {
      const int32_t r = 1 + sheets.Pick(lastRow + 3), c = 1 + sheets.Pick(12);
      switch (sheets.Pick(4)) {
        case 0: sheet->Set(r, c, Value()); break;
        case 1: sheet->Set(r, c, Value::Text(std::to_string(sheets.Pick(100)))); break;
        case 2: sheet->Set(r, c, Value::Date(46000 + sheets.Pick(10))); break;
        default: sheet->Set(r, c, Value::Number(sheets.Pick(3)));
      }
    }
    const RewrittenSheet byTree = RewriteSheetXmlByTree(xml, "sheet1.xml", *sheet, formats_, shared_);
    const WorksheetLayout* loaded = layout ? &*layout : nullptr;
    for (const WorksheetLayout* rows : {loaded, static_cast<const WorksheetLayout*>(nullptr)}) {
      const RewrittenSheet byRows = RewriteSheetXml(xml, "sheet1.xml", *sheet, formats_, shared_, rows);
      EXPECT_EQ(Canonical(byRows.xml), Canonical(byTree.xml)) << (rows ? "where the load found them" : "scanned");
      EXPECT_EQ(byRows.formulaWent, byTree.formulaWent);
    }
  }
  EXPECT_GT(scanned, 500);
}

// Large parts are read in two halves at once; whatever stands around the
// middle, they read as the tree reads them.
TEST_F(WorksheetTest, LargePartsReadInTwoHalvesAsTheTreeReadsThem) {
  // Rows enough for a part of several megabytes; every seventh row leaves its number to its place.
  const auto rows = [](int count, bool numbered) {
    std::string xml;
    for (int r = 1; r <= count; ++r) {
      xml += (numbered || r % 7 != 0) ? "<row r=\"" + std::to_string(r) + "\">" : std::string("<row>");
      for (int c = 1; c <= 30; ++c)
        xml += "<c r=\"" + ColumnLetters(c) + std::to_string(r) + "\" t=\"inlineStr\"><is><t>" +
               std::to_string(r * 31 + c) + "</t></is></c>";
      xml += "</row>";
    }
    return xml;
  };
  const std::string data = rows(4000, false);
  const std::string numbered = rows(4000, true);
  const std::string open = "<worksheet xmlns=\"u\">";
  const std::string cases[] = {
      open + "<sheetPr codeName=\"Sheet1\"/><sheetData>" + data + "</sheetData></worksheet>",
      // The code name after the rows, read by the second half.
      open + "<sheetData>" + numbered + "</sheetData><sheetPr codeName=\"Late\"/></worksheet>",
      // The middle of the part falls in a comment after the rows that looks like rows.
      open + "<sheetData>" + rows(300, true) + "</sheetData><!--" + numbered + "--></worksheet>",
      // Two code names, one in each half: left to the tree.
      open + "<sheetPr codeName=\"A\"/><sheetData>" + numbered + "</sheetData><sheetPr codeName=\"B\"/></worksheet>",
  };
  for (const std::string& xml : cases) {
    SCOPED_TRACE(xml.substr(0, 120));
    ASSERT_GT(xml.size(), 4u << 20);
    const std::optional<ScannedWorksheet> parsed = ParseWorksheet(xml, "sheet1.xml", reader_);
    ASSERT_TRUE(parsed);
    WorksheetLayout layout;
    const std::optional<ScannedWorksheet> scanned = ScanWorksheet(xml, reader_, &layout);
    if (!scanned) {
      EXPECT_EQ(&xml, &cases[3]) << "only two code names go to the tree";
      continue;
    }
    EXPECT_EQ(SheetDifference(*scanned, *parsed), "");
    // The layout places every row where the part has it, in order.
    ASSERT_EQ(layout.rows.size(), scanned->rows.size());
    for (size_t i = 0; i < layout.rows.size(); ++i) {
      const RowText& row = layout.rows[i];
      ASSERT_EQ(row.values, std::optional<size_t>(i));
      ASSERT_EQ(row.row, scanned->rows[i].first);
      ASSERT_TRUE(xml.compare(row.begin, 4, "<row") == 0 && xml.compare(row.end - 6, 6, "</row>") == 0) << i;
    }
    EXPECT_EQ(xml.compare(layout.dataEnd, 12, "</sheetData>"), 0);
  }
}

TEST(CellReaderTest, AnIsoDateCellIsReadAsTheDateItNames) {
  const std::vector<std::string> noStrings;
  const CellFormats noFormats;
  const CellReader reader(noStrings, noFormats);
  for (const std::vector<std::string>& c : testing::DataTable("iso-date-cells.tsv")) {
    const Value value = c[1] == "text"   ? Value::Text(c[2])
                        : c[1] == "date" ? Value::Date(std::stod(c[2]))
                                         : Value::Number(std::stod(c[2]));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(c[0].c_str()));
    EXPECT_EQ(reader.Read(doc.first_child()), value) << c[0];
  }
}

}  // namespace
}  // namespace pradima::xlsx
