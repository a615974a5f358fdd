#include "xlsx/worksheet_read.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/error.h"
#include "support/data_files.h"
#include "support/random_sheet.h"
#include "support/standard_formats.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

// Values equal as the workbook keeps them: a number by its bits, so "nan" equals itself.
bool SameValue(const Value& a, const Value& b) {
  if (a.kind() != b.kind()) return false;
  if (a.IsText()) return a.text() == b.text();
  const double x = a.number(), y = b.number();
  return std::memcmp(&x, &y, sizeof x) == 0;
}

::testing::AssertionResult SameSheet(const ScannedWorksheet& scanned, const ScannedWorksheet& parsed) {
  if (scanned.codeName != parsed.codeName)
    return ::testing::AssertionFailure() << "code name " << scanned.codeName << " vs " << parsed.codeName;
  if (scanned.rows.size() != parsed.rows.size())
    return ::testing::AssertionFailure() << scanned.rows.size() << " rows vs " << parsed.rows.size();
  for (size_t r = 0; r < scanned.rows.size(); ++r) {
    const auto& [row, cells] = scanned.rows[r];
    const auto& [parsedRow, parsedCells] = parsed.rows[r];
    if (row != parsedRow || cells.size() != parsedCells.size())
      return ::testing::AssertionFailure() << "row " << row << " (" << cells.size() << " cells) vs " << parsedRow
                                           << " (" << parsedCells.size() << ")";
    for (size_t c = 0; c < cells.size(); ++c)
      if (!SameValue(cells[c], parsedCells[c]))
        return ::testing::AssertionFailure()
               << "row " << row << " column " << c + 1 << ": " << cells[c] << " vs " << parsedCells[c];
  }
  return ::testing::AssertionSuccess();
}

class WorksheetReadTest : public ::testing::Test {
 protected:
  WorksheetReadTest() : formats_(StandardFormats()), reader_(shared_, formats_) {}


  std::vector<std::string> shared_{"Miền Bắc", "07", "x&y"};
  CellFormats formats_;
  CellReader reader_;
};

// Markup the scan reads itself (data/worksheets/same-*) gives exactly what the document tree gives.
TEST_F(WorksheetReadTest, TheScanReadsWhatTheTreeReads) {

  for (const auto& [name, xml] : testing::DataFiles("worksheets", "same-")) {
    SCOPED_TRACE(name);
    const std::optional<ScannedWorksheet> scanned = ScanWorksheet(xml, reader_);
    ASSERT_TRUE(scanned) << "the scan left this to the full parser";
    const std::optional<ScannedWorksheet> parsed = ParseWorksheet(xml, "sheet1.xml", reader_);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(SameSheet(*scanned, *parsed));
  }
}

// Markup the tree treats in ways of its own is left to it: reading still
// gives the tree's rows, or its error.
TEST_F(WorksheetReadTest, OddMarkupIsLeftToTheTree) {

  for (const auto& [name, xml] : testing::DataFiles("worksheets", "odd-")) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(ScanWorksheet(xml, reader_));
    std::optional<ScannedWorksheet> read, parsed;
    std::string readError, parseError;
    try {
      read = ReadWorksheet(xml, "sheet1.xml", reader_);
    } catch (const Error& e) {
      readError = e.what();
    }
    try {
      parsed = ParseWorksheet(xml, "sheet1.xml", reader_);
    } catch (const Error& e) {
      parseError = e.what();
    }
    EXPECT_EQ(readError, parseError);
    ASSERT_EQ(read.has_value(), parsed.has_value());
    if (read) {
      EXPECT_TRUE(SameSheet(*read, *parsed));
    }
  }
}

// Markup that is not well-formed is never read as cells.
TEST_F(WorksheetReadTest, MarkupThatIsNotWellFormedRaisesTheParsersError) {

  for (const auto& [name, xml] : testing::DataFiles("worksheets", "broken-")) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(ScanWorksheet(xml, reader_));
    EXPECT_THROW(ParseWorksheet(xml, "sheet1.xml", reader_), Error);
  }
}

// Random sheets as writers lay them out, read both ways.
TEST_F(WorksheetReadTest, RandomSheetsReadTheSameBothWays) {
  testing::RandomSheets sheets(20261206);
  int scanned = 0;
  for (int sheet = 0; sheet < 300; ++sheet) {
    int32_t lastRow = 0;
    const std::string xml = sheets.Next("S" + std::to_string(sheet), sheets.Pick(4) == 0, true, lastRow);
    SCOPED_TRACE(xml);
    const std::optional<ScannedWorksheet> parsed = ParseWorksheet(xml, "sheet1.xml", reader_);
    ASSERT_TRUE(parsed);
    const std::optional<ScannedWorksheet> scan = ScanWorksheet(xml, reader_);
    if (!scan) continue;  // a reference the scan leaves to the tree
    ++scanned;
    ASSERT_TRUE(SameSheet(*scan, *parsed));
  }
  EXPECT_GT(scanned, 250);
}

// Large parts are read in two halves at once; whatever stands around the
// middle, they read as the tree reads them.
TEST_F(WorksheetReadTest, LargePartsReadInHalvesReadAsTheTreeReads) {
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
    EXPECT_TRUE(SameSheet(*scanned, *parsed));
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
  struct Case {
    const char* cell;
    Value value;
  };
  const Case cases[] = {
      {"<c r=\"A1\" t=\"d\"><v>2026-03-08</v></c>", Value::Date(SerialFromCivil({2026, 3, 8}))},
      {"<c r=\"A1\" t=\"d\"><v>2026-03-08T00:00:00</v></c>", Value::Date(SerialFromCivil({2026, 3, 8}))},
      {"<c r=\"A1\" t=\"d\"><v>2026-03-08T18:00:00Z</v></c>", Value::Date(SerialFromCivil({2026, 3, 8}) + 0.75)},
      {"<c r=\"A1\" t=\"d\"><v>2005-01-01T06:00</v></c>", Value::Date(SerialFromCivil({2005, 1, 1}) + 0.25)},
      {"<c r=\"A1\" t=\"d\"><v>1900-01-01T12:00:00.000</v></c>", Value::Date(SerialFromCivil({1900, 1, 1}) + 0.5)},
      {"<c r=\"A1\" t=\"d\"><v>08/03/2026</v></c>", Value::Text("08/03/2026")},
      {"<c r=\"A1\" t=\"d\"><v>2026-02-30</v></c>", Value::Text("2026-02-30")},
      {"<c r=\"A1\" t=\"d\"><v>2026-03-08T25:00:00</v></c>", Value::Text("2026-03-08T25:00:00")},
      {"<c r=\"A1\"><v>2026</v></c>", Value::Number(2026)},
  };
  const std::vector<std::string> noStrings;
  const CellFormats noFormats;
  const CellReader reader(noStrings, noFormats);
  for (const Case& c : cases) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(c.cell));
    EXPECT_EQ(reader.Read(doc.first_child()), c.value) << c.cell;
  }
}

}  // namespace
}  // namespace pradima::xlsx
