// What a saved sheet part holds. Each file of data/saves gives parts of a new
// workbook, the cells a run writes on its second sheet (an empty cell clears
// one) and that sheet's part as saved: the same whether the unchanged rows are
// copied as text, where the load found them or where a scan finds them, or
// every row goes through the document tree. A file with a calculation chain
// says whether the save keeps it.
#include <pugixml.hpp>

#include <sstream>

#include "support/cli_fixture.h"
#include "support/data_files.h"
#include "xlsx/sheet_writer.h"
#include "xlsx/workbook_parts.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kSheetPart = "xl/worksheets/sheet2.xml";
constexpr const char* kChainPart = "xl/calcChain.xml";

// A case file is pairs of lines: "=== NAME", then what NAME holds.
std::map<std::string, std::string> Sections(const std::string& text) {
  std::map<std::string, std::string> sections;
  std::istringstream lines(text);
  for (std::string name, content; std::getline(lines, name) && std::getline(lines, content);)
    sections[name.substr(4)] = content;
  return sections;
}

TEST_F(CliTest, SavedSheetsHoldTheCellsOfTheRunAndKeepTheRest) {
  for (const auto& [name, text] : testing::DataFiles("saves", "")) {
    SCOPED_TRACE(name);
    std::map<std::string, std::string> parts = Sections(text);
    const std::string changes = parts["changes"], saved = parts["saved"], chain = parts["chain"];
    for (const char* section : {"changes", "saved", "chain"}) parts.erase(section);
    const fs::path book = directory / name;
    ZipPackage(Created().string()).WriteTo(book.string(), parts);

    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    const std::shared_ptr<MemorySheet> sheet = workbook.book()->sheets()[1];
    const ZipPackage package(book.string());
    const std::vector<std::string> shared = ReadSharedStrings(package);
    const CellFormats formats = CellFormats::Read(package);
    pugi::xml_document cells;
    ASSERT_TRUE(cells.load_string(changes.c_str(), pugi::parse_default | pugi::parse_fragment));
    for (pugi::xml_node cell : cells.children()) {
      const RangeRef at = ParseAddress(cell.attribute("r").value()).value();
      sheet->Set(at.first.row, at.first.column, CellReader(shared, formats).Read(cell));
    }
    const std::string& part = parts.at(kSheetPart);
    const RewrittenSheet byTree = RewriteSheetXmlByTree(part, kSheetPart, *sheet, formats, shared);
    const RewrittenSheet byRows = RewriteSheetXml(part, kSheetPart, *sheet, formats, shared);
    EXPECT_EQ(byTree.xml, saved) << "through the tree";
    EXPECT_EQ(byRows.xml, saved) << "by rows, as a scan finds them";
    EXPECT_EQ(byRows.formulaWent, byTree.formulaWent);
    workbook.Save();
    const ZipPackage after(book.string());
    EXPECT_EQ(after.Read(kSheetPart), saved) << "by rows, as the load found them";
    if (chain.empty()) continue;
    EXPECT_EQ(after.Has(kChainPart), chain == "kept");
    EXPECT_EQ(after.Read("xl/_rels/workbook.xml.rels").find("calcChain") != std::string::npos, chain == "kept");
    EXPECT_EQ(after.Read("[Content_Types].xml").find("calcChain") != std::string::npos, chain == "kept");
  }
}

}  // namespace
}  // namespace pradima::xlsx
