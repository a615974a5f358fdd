// Cells with formulas on a sheet the tool rewrites: a shared formula keeps
// its first cell when that cell is cleared, the calculation chain goes once
// a formula has gone, and the cells a run leaves alone stay as they stood.
#include <set>

#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kControlPart = "xl/worksheets/sheet3.xml";
constexpr const char* kChainPart = "xl/calcChain.xml";

// The markup of every cell element in some markup, in order.
std::vector<std::string> CellElements(const std::string& xml) {
  std::vector<std::string> cells;
  for (size_t at = xml.find("<c r=\""); at != std::string::npos; at = xml.find("<c r=\"", at + 1)) {
    const size_t tagEnd = xml.find('>', at);
    const size_t end = xml[tagEnd - 1] == '/' ? tagEnd + 1 : xml.find("</c>", at) + 4;
    cells.push_back(xml.substr(at, end - at));
  }
  return cells;
}

std::string ReferenceOf(const std::string& cell) { return cell.substr(6, cell.find('"', 6) - 6); }

// The package with `rows` after the control sheet's own, and a calculation
// chain listing every formula cell of them, as the spreadsheet application saves one.
void AddRowsAndChain(const fs::path& from, const fs::path& to, const std::string& rows) {
  ZipPackage package(from.string());
  std::string control = package.Read(kControlPart);
  control.insert(control.find("</sheetData>"), rows);
  std::string chain = "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (const std::string& cell : CellElements(rows))
    if (cell.find("<f") != std::string::npos) chain += "<c r=\"" + ReferenceOf(cell) + "\" i=\"3\"/>";
  chain += "</calcChain>";
  std::string relationships = package.Read("xl/_rels/workbook.xml.rels");
  relationships.insert(relationships.find("</Relationships>"),
                       "<Relationship Id=\"rIdChain\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                       "relationships/calcChain\" Target=\"calcChain.xml\"/>");
  std::string types = package.Read("[Content_Types].xml");
  types.insert(types.find("</Types>"),
               "<Override PartName=\"/xl/calcChain.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>");
  package.WriteTo(to.string(), {{kControlPart, control},
                                {kChainPart, chain},
                                {"xl/_rels/workbook.xml.rels", relationships},
                                {"[Content_Types].xml", types}});
}

std::string SharedMaster(const std::string& reference, const std::string& range, const std::string& formula) {
  return "<c r=\"" + reference + "\"><f t=\"shared\" ref=\"" + range + "\" si=\"0\">" + formula + "</f><v>1</v></c>";
}

std::string SharedCell(const std::string& reference, const std::string& value = "2") {
  return "<c r=\"" + reference + "\"><f t=\"shared\" si=\"0\"/><v>" + value + "</v></c>";
}

TEST_F(CliTest, FormulasInCellsARunClearsLeaveASoundWorkbook) {
  struct Case {
    const char* name;
    std::string rows;
    std::vector<std::string> after;  // the cells of `rows` that the saved control sheet holds
    bool chainKept;
  };
  const Case cases[] = {
      {"a fill down over the end of the list",
       "<row r=\"1000\">" + SharedMaster("F1000", "F1000:F1004", "$B$1+ROW(F1000)*2") + "</row><row r=\"1001\">" +
           SharedCell("F1001") + "</row><row r=\"1002\">" + SharedCell("F1002") + "</row><row r=\"1003\">" +
           SharedCell("F1003") + "</row><row r=\"1004\">" + SharedCell("F1004") + "</row>",
       {"<c r=\"F1003\"><f t=\"shared\" ref=\"F1003:F1004\" si=\"0\">$B$1+ROW(F1003)*2</f><v>2</v></c>",
        SharedCell("F1004")},
       false},
      {"a fill right out of the list, with names, texts and other sheets",
       "<row r=\"7\">" +
           SharedMaster("J7", "J7:L7", "IF(I7=\"A1\",LOG10(I$7)+ATAN2(1,$I7),SUM(CaiDat!B7:C8,'CaiDat'!$D7,I:I,7:8))") +
           SharedCell("K7") + SharedCell("L7") + "</row>",
       {"<c r=\"K7\"><f t=\"shared\" ref=\"K7:L7\" si=\"0\">"
        "IF(J7=\"A1\",LOG10(J$7)+ATAN2(1,$I7),SUM(CaiDat!C7:D8,'CaiDat'!$D7,J:J,7:8))</f><v>2</v></c>",
        SharedCell("L7")},
       false},
      {"a block whose first rows go",
       "<row r=\"1001\">" + SharedMaster("I1001", "I1001:K1003", "A1001+$B1001+C$1001") + SharedCell("J1001") +
           SharedCell("K1001") + "</row><row r=\"1002\">" + SharedCell("I1002") + SharedCell("J1002") +
           SharedCell("K1002") + "</row><row r=\"1003\">" + SharedCell("I1003") + SharedCell("J1003") +
           SharedCell("K1003") + "</row>",
       {"<c r=\"K1001\"><f t=\"shared\" ref=\"K1001:K1003\" si=\"0\">C1001+$B1001+E$1001</f><v>2</v></c>",
        SharedCell("K1002"), "<c r=\"I1003\"><f>A1003+$B1003+C$1001</f><v>2</v></c>",
        "<c r=\"J1003\"><f>B1003+$B1003+D$1001</f><v>2</v></c>", SharedCell("K1003")},
       false},
      {"a formula that would leave the sheet keeps the values",
       "<row r=\"1001\">" + SharedMaster("F1001", "F1001:F1004", "F1048574") + "</row><row r=\"1002\">" +
           SharedCell("F1002") + "</row><row r=\"1003\">" + SharedCell("F1003", "3") +
           "</row><row r=\"1004\"><c r=\"F1004\" t=\"str\"><f t=\"shared\" si=\"0\"/><v>4</v></c></row>",
       {"<c r=\"F1003\"><v>3</v></c>", "<c r=\"F1004\" t=\"inlineStr\"><is><t xml:space=\"preserve\">4</t></is></c>"},
       false},
      {"a formula of its own cleared",
       "<row r=\"500\"><c r=\"G500\"><f>1+1</f><v>2</v></c></row><row r=\"2000\"><c r=\"K2000\"><f>1+2</f><v>3</v>"
       "</c></row>",
       {"<c r=\"K2000\"><f>1+2</f><v>3</v></c>"},
       false},
      {"formulas away from the list",
       "<row r=\"2000\">" + SharedMaster("K2000", "K2000:L2000", "K1999+1") + SharedCell("L2000") +
           "<c r=\"M2000\" t=\"str\"><f>\"x\"&amp;1</f><v>x1</v></c></row>",
       {SharedMaster("K2000", "K2000:L2000", "K1999+1"), SharedCell("L2000"),
        "<c r=\"M2000\" t=\"str\"><f>\"x\"&amp;1</f><v>x1</v></c>"},
       true},
  };
  for (const Case& c : cases) {
    const fs::path book = directory / (std::string(c.name) + ".xlsx");
    AddRowsAndChain(Created(), book, c.rows);
    const Outcome r = Run({"numbers", book.string(), "2 Con"});
    ASSERT_EQ(r.code, 0) << c.name << ": " << r.err;

    ZipPackage saved(book.string());
    std::set<std::string> added;
    for (const std::string& cell : CellElements(c.rows)) added.insert(ReferenceOf(cell));
    std::vector<std::string> after;
    for (const std::string& cell : CellElements(saved.Read(kControlPart)))
      if (added.count(ReferenceOf(cell))) after.push_back(cell);
    EXPECT_EQ(after, c.after) << c.name;
    EXPECT_EQ(saved.Has(kChainPart), c.chainKept) << c.name;
    EXPECT_EQ(saved.Read("xl/_rels/workbook.xml.rels").find("calcChain") != std::string::npos, c.chainKept) << c.name;
    EXPECT_EQ(saved.Read("[Content_Types].xml").find("calcChain") != std::string::npos, c.chainKept) << c.name;
  }
}

}  // namespace
}  // namespace pradima::xlsx
