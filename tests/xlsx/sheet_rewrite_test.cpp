// A saved sheet part is the same whether its unchanged rows are copied as
// text or every row goes through the document tree.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>

#include "xlsx/sheet_writer.h"
#include "support/random_sheet.h"
#include "support/standard_formats.h"
#include "xlsx/worksheet_read.h"
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

class SheetRewriteTest : public ::testing::Test {
 protected:
  SheetRewriteTest() : formats_(StandardFormats()) {}

  // The sheet as the workbook loads it, with where its rows stand.
  std::shared_ptr<MemorySheet> Load(const std::string& xml) {
    const CellReader reader(shared_, formats_);
    const std::optional<ScannedWorksheet> read = ReadWorksheet(xml, "sheet.xml", reader, &layout_);
    auto sheet = book_->AddSheet(read->codeName, "Tab" + std::to_string(book_->sheets().size()));
    for (const auto& [row, cells] : read->rows) sheet->SetRow(row, cells);
    sheet->ForgetChanges();
    return sheet;
  }

  // By rows, with the layout of the load and with a scan of its own, as by the tree.
  void ExpectSameBothWays(const std::string& xml, const MemorySheet& sheet) {
    ASSERT_TRUE(layout_);
    const RewrittenSheet byTree = RewriteSheetXmlByTree(xml, "sheet.xml", sheet, formats_, shared_);
    const WorksheetLayout* loaded = &*layout_;
    for (const WorksheetLayout* layout : {loaded, static_cast<const WorksheetLayout*>(nullptr)}) {
      SCOPED_TRACE(layout ? "with the layout of the load" : "with a scan");
      const RewrittenSheet byRows = RewriteSheetXml(xml, "sheet.xml", sheet, formats_, shared_, layout);
      EXPECT_EQ(Canonical(byRows.xml), Canonical(byTree.xml));
      EXPECT_EQ(byRows.formulaWent, byTree.formulaWent);
    }
  }

  std::vector<std::string> shared_{"07", "Miền Nam"};
  CellFormats formats_;
  std::optional<WorksheetLayout> layout_;
  std::shared_ptr<MemoryWorkbook> book_ = MemoryWorkbook::Create();
};

TEST_F(SheetRewriteTest, RowsCopiedAsTextGiveWhatTheTreeGives) {
  testing::RandomSheets sheets(61206);
  for (int round = 0; round < 400; ++round) {
    int32_t row = 0;
    const std::string xml = sheets.Next("S", false, false, row);
    SCOPED_TRACE(xml);
    std::shared_ptr<MemorySheet> sheet = Load(xml);
    ExpectSameBothWays(xml, *sheet);  // nothing changed
    // Some cells written, some cleared, some rows added, as runs do.
    for (int change = 0, changes = sheets.Pick(6); change < changes; ++change) {
      const int32_t r = 1 + sheets.Pick(row + 3), c = 1 + sheets.Pick(12);
      switch (sheets.Pick(4)) {
        case 0: sheet->Set(r, c, Value()); break;
        case 1: sheet->Set(r, c, Value::Text(std::to_string(sheets.Pick(100)))); break;
        case 2: sheet->Set(r, c, Value::Date(46000 + sheets.Pick(10))); break;
        default: sheet->Set(r, c, Value::Number(sheets.Pick(3)));
      }
    }
    ExpectSameBothWays(xml, *sheet);
  }
}

// Parts the scan does not read, or whose formulas tie cells together, go
// through the tree whole, and come out as the tree writes them.
TEST_F(SheetRewriteTest, PartsTheScanLeavesGoThroughTheTree) {
  const std::string cases[] = {
      "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:A2\" si=\"0\">B1</f><v>1</v></c>"
      "</row><row r=\"2\"><c r=\"A2\"><f t=\"shared\" si=\"0\"/><v>1</v></c></row></sheetData></worksheet>",
      "<worksheet><sheetPr codeName=\"S\"/><sheetData/></worksheet>",
      "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1<!-- c --></v></c></row></sheetData></worksheet>",
  };
  for (const std::string& xml : cases) {
    SCOPED_TRACE(xml);
    std::shared_ptr<MemorySheet> sheet = Load(xml);
    sheet->Set(1, 1, Value::Number(5));
    sheet->Set(3, 2, Value::Text("x"));
    const RewrittenSheet byRows =
        RewriteSheetXml(xml, "sheet.xml", *sheet, formats_, shared_, layout_ ? &*layout_ : nullptr);
    const RewrittenSheet byTree = RewriteSheetXmlByTree(xml, "sheet.xml", *sheet, formats_, shared_);
    EXPECT_EQ(byRows.xml, byTree.xml);
    EXPECT_EQ(byRows.formulaWent, byTree.formulaWent);
  }
}

// The rows go where the sheet data stands, whatever text the rest of the part holds.
TEST_F(SheetRewriteTest, RowsGoIntoTheSheetDataWhateverTheMarkupAroundHolds) {
  for (const char* around : {"pradima-rows-placeholder", "pradima-rows-0", "pradima-rows-0 pradima-rows-1"}) {
    const std::string xml = std::string("<worksheet xmlns=\"u/") + around + "\"><sheetPr codeName=\"" + around +
                            "\"/><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData></worksheet>";
    SCOPED_TRACE(xml);
    std::shared_ptr<MemorySheet> sheet = Load(xml);
    sheet->Set(2, 1, Value::Number(2));
    for (const RewrittenSheet& rewritten : {RewriteSheetXml(xml, "sheet.xml", *sheet, formats_, shared_, &*layout_),
                                            RewriteSheetXmlByTree(xml, "sheet.xml", *sheet, formats_, shared_)}) {
      const std::optional<ScannedWorksheet> read =
          ParseWorksheet(rewritten.xml, "sheet.xml", CellReader(shared_, formats_));
      ASSERT_TRUE(read);
      EXPECT_EQ(read->codeName, around);
      ASSERT_EQ(read->rows.size(), 2u);
      EXPECT_EQ(read->rows[1].second.at(0), Value::Number(2));
    }
  }
}

}  // namespace
}  // namespace pradima::xlsx
