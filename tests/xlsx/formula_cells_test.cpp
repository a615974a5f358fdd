// Cells with formulas on a sheet the tool rewrites: a shared formula keeps
// its first cell when that cell is cleared, the calculation chain goes once
// a formula has gone, and the cells a run leaves alone stay as they stood.
#include <cstdio>
#include <map>

#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kControlPart = "xl/worksheets/sheet3.xml";
constexpr const char* kChainPart = "xl/calcChain.xml";
constexpr const char* kChainType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain";

// What a command prints, and its exit code.
struct Printed {
  int code;
  std::string out;
};

Printed Shell(const std::string& command) {
  Printed printed{-1, {}};
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return printed;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) printed.out.append(buffer, n);
  printed.code = ::pclose(pipe);
  return printed;
}

std::string Script(const char* name) { return std::string(PRADIMA_PYTHON) + " " + PRADIMA_XLSX_SCRIPTS + "/" + name; }

// The formula of every cell as openpyxl reads the workbook, by "Tab!A1".
std::map<std::string, std::string> FormulasOf(const fs::path& book) {
  const Printed printed = Shell(Script("formula_cells.py") + " '" + book.string() + "'");
  EXPECT_EQ(printed.code, 0) << book << " does not open in openpyxl";
  std::map<std::string, std::string> formulas;
  std::istringstream lines(printed.out);
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) formulas[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return formulas;
}

// The references of the cells with a formula in some rows of markup.
std::vector<std::string> FormulaReferences(const std::string& rows) {
  std::vector<std::string> references;
  for (size_t at = rows.find("<c r=\""); at != std::string::npos; at = rows.find("<c r=\"", at + 1)) {
    const size_t end = rows.find("</c>", at);
    if (rows.substr(at, end - at).find("<f") == std::string::npos) continue;
    references.push_back(rows.substr(at + 6, rows.find('"', at + 6) - at - 6));
  }
  return references;
}

// The package with `rows` after the control sheet's own, and a calculation
// chain listing every formula cell of them, as the spreadsheet application saves one.
void AddRowsAndChain(const fs::path& from, const fs::path& to, const std::string& rows) {
  ZipPackage package(from.string());
  std::string control = package.Read(kControlPart);
  control.insert(control.find("</sheetData>"), rows);
  std::string chain = "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (const std::string& reference : FormulaReferences(rows)) chain += "<c r=\"" + reference + "\" i=\"3\"/>";
  chain += "</calcChain>";
  std::string relationships = package.Read("xl/_rels/workbook.xml.rels");
  relationships.insert(relationships.find("</Relationships>"), std::string("<Relationship Id=\"rIdChain\" Type=\"") +
                                                                   kChainType + "\" Target=\"calcChain.xml\"/>");
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
    std::vector<std::string> formulasKept;  // as openpyxl reads them before and after
    std::vector<std::string> valuesKept;    // without their formula
    std::vector<std::string> writtenAfter;  // markup of the saved control sheet
    bool chainKept;
  };
  const Case cases[] = {
      {"a fill down over the end of the list",
       "<row r=\"1000\">" + SharedMaster("F1000", "F1000:F1004", "$B$1+ROW(F1000)*2") + "</row><row r=\"1001\">" +
           SharedCell("F1001") + "</row><row r=\"1002\">" + SharedCell("F1002") + "</row><row r=\"1003\">" +
           SharedCell("F1003") + "</row><row r=\"1004\">" + SharedCell("F1004") + "</row>",
       {"F1003", "F1004"},
       {},
       {"<c r=\"F1003\"><f t=\"shared\" ref=\"F1003:F1004\" si=\"0\">$B$1+ROW(F1003)*2</f><v>2</v></c>",
        "<c r=\"F1004\"><f t=\"shared\" si=\"0\"/><v>2</v></c>"},
       false},
      {"a fill right out of the list, with names, texts and other sheets",
       "<row r=\"7\">" +
           SharedMaster("J7", "J7:L7", "IF(I7=\"A1\",LOG10(I$7)+ATAN2(1,$I7),SUM(CaiDat!B7:C8,'CaiDat'!$D7,I:I,7:8))") +
           SharedCell("K7") + SharedCell("L7") + "</row>",
       {"K7", "L7"},
       {},
       {"<c r=\"K7\"><f t=\"shared\" ref=\"K7:L7\" si=\"0\">"
        "IF(J7=\"A1\",LOG10(J$7)+ATAN2(1,$I7),SUM(CaiDat!C7:D8,'CaiDat'!$D7,J:J,7:8))</f>"},
       false},
      {"a block whose first rows go",
       "<row r=\"1001\">" + SharedMaster("I1001", "I1001:K1003", "A1001+$B1001+C$1001") + SharedCell("J1001") +
           SharedCell("K1001") + "</row><row r=\"1002\">" + SharedCell("I1002") + SharedCell("J1002") +
           SharedCell("K1002") + "</row><row r=\"1003\">" + SharedCell("I1003") + SharedCell("J1003") +
           SharedCell("K1003") + "</row>",
       {"K1001", "K1002", "I1003", "J1003", "K1003"},
       {},
       {"<c r=\"K1001\"><f t=\"shared\" ref=\"K1001:K1003\" si=\"0\">C1001+$B1001+E$1001</f>",
        "<c r=\"I1003\"><f>A1003+$B1003+C$1001</f>"},
       false},
      {"a formula that would leave the sheet keeps the values",
       "<row r=\"1001\">" + SharedMaster("F1001", "F1001:F1004", "F1048574") + "</row><row r=\"1002\">" +
           SharedCell("F1002") + "</row><row r=\"1003\">" + SharedCell("F1003", "3") + "</row><row r=\"1004\">" +
           SharedCell("F1004", "4") + "</row>",
       {},
       {"F1003", "F1004"},
       {"<c r=\"F1003\"><v>3</v></c>", "<c r=\"F1004\"><v>4</v></c>"},
       false},
      {"a formula of its own cleared",
       "<row r=\"500\"><c r=\"G500\"><f>1+1</f><v>2</v></c></row><row r=\"2000\"><c r=\"K2000\"><f>1+2</f><v>3</v>"
       "</c></row>",
       {"K2000"},
       {},
       {"<c r=\"K2000\"><f>1+2</f><v>3</v></c>"},
       false},
      {"formulas away from the list",
       "<row r=\"2000\">" + SharedMaster("K2000", "K2000:L2000", "K1999+1") + SharedCell("L2000") +
           "<c r=\"M2000\" t=\"str\"><f>\"x\"&amp;1</f><v>x1</v></c></row>",
       {"K2000", "L2000", "M2000"},
       {},
       {SharedMaster("K2000", "K2000:L2000", "K1999+1") + SharedCell("L2000")},
       true},
  };
  for (const Case& c : cases) {
    const fs::path book = directory / (std::string(c.name) + ".xlsx");
    AddRowsAndChain(Created(), book, c.rows);
    const std::map<std::string, std::string> before = FormulasOf(book);
    std::map<std::string, Value> valuesBefore;
    {
      const auto control = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3");
      for (const std::string& reference : c.valuesKept) {
        const RangeRef cell = *ParseAddress(reference);
        valuesBefore[reference] = control->Get(cell.first.row, cell.first.column);
      }
    }
    const Outcome r = Run({"numbers", book.string(), "2 Con"});
    ASSERT_EQ(r.code, 0) << c.name << ": " << r.err;

    EXPECT_EQ(Shell(Script("strict_package_check.py") + " '" + book.string() + "' 2>&1").code, 0)
        << c.name << Shell(Script("strict_package_check.py") + " '" + book.string() + "' 2>&1").out;
    const std::map<std::string, std::string> after = FormulasOf(book);
    for (const std::string& reference : c.formulasKept) {
      const std::string cell = "ThongKe!" + reference;
      ASSERT_TRUE(before.count(cell)) << c.name << " " << cell;
      EXPECT_EQ(after.count(cell) ? after.at(cell) : "(none)", before.at(cell)) << c.name << " " << cell;
    }
    const auto control = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3");
    for (const std::string& reference : c.valuesKept) {
      EXPECT_FALSE(after.count("ThongKe!" + reference)) << c.name << " " << reference;
      const RangeRef cell = *ParseAddress(reference);
      EXPECT_EQ(control->Get(cell.first.row, cell.first.column), valuesBefore[reference]) << c.name << " " << reference;
    }
    EXPECT_EQ(after.size(), c.formulasKept.size()) << c.name << ": no other formula is left";

    ZipPackage saved(book.string());
    const std::string xml = saved.Read(kControlPart);
    for (const std::string& markup : c.writtenAfter)
      EXPECT_NE(xml.find(markup), std::string::npos) << c.name << ": " << markup << "\n" << xml;
    EXPECT_EQ(saved.Has(kChainPart), c.chainKept) << c.name;
    EXPECT_EQ(saved.Read("xl/_rels/workbook.xml.rels").find("calcChain") != std::string::npos, c.chainKept) << c.name;
    EXPECT_EQ(saved.Read("[Content_Types].xml").find("calcChain") != std::string::npos, c.chainKept) << c.name;
  }
}

}  // namespace
}  // namespace pradima::xlsx
