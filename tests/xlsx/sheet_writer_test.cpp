// What a saved sheet part holds: every cell in its place, nothing emptied left behind, the used range.
#include <pugixml.hpp>

#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kSettingsPart = "xl/worksheets/sheet2.xml";

std::string Worksheet(const std::string& rows) {
  return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
         "<sheetPr codeName=\"Sheet2\"/><dimension ref=\"A1\"/><sheetData>" +
         rows + "</sheetData></worksheet>";
}

struct Cell {
  int32_t row, column;
  Value value;
};

TEST_F(CliTest, SavedSheetsKeepEveryCellInItsPlaceAndTheirUsedRange) {
  struct Case {
    const char* name;
    std::string part;
    std::vector<Cell> changes;
    std::vector<Cell> expected;  // read back after the save
    std::vector<std::string> written;
    std::vector<std::string> notWritten;
    std::string dimension;
  };
  const Case cases[] = {
      {"rows and cells without references",
       Worksheet("<row><c><v>1</v></c><c><v>2</v></c></row><row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
                 "<row r=\"5\"><c><v>5</v></c></row><row><c><f>1+5</f><v>6</v></c></row>"),
       {{7, 5, Value::Number(9)}},
       {{1, 1, Value::Number(1)},
        {1, 2, Value::Number(2)},
        {2, 3, Value::Number(3)},
        {2, 4, Value::Number(4)},
        {5, 1, Value::Number(5)},
        {6, 1, Value::Number(6)},
        {7, 5, Value::Number(9)}},
       {"<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c></row>",
        "<row r=\"2\"><c r=\"C2\"><v>3</v></c><c r=\"D2\"><v>4</v></c></row>", "<row r=\"6\"><c r=\"A6\"><f>1+5</f>",
        "<row r=\"7\"><c r=\"E7\"><v>9</v></c></row>"},
       {},
       "A1:E7"},
      {"emptied cells go, a formatted one stays",
       Worksheet("<row r=\"2\"><c r=\"B2\" s=\"1\"><v>5</v></c><c r=\"C2\"><v>6</v></c><c r=\"D2\"><v>7</v></c>"
                 "</row><row r=\"3\"><c r=\"C3\"><v>8</v></c></row><row r=\"4\" ht=\"30\" customHeight=\"1\">"
                 "<c r=\"D4\"><v>1</v></c></row>"),
       {{2, 2, Value()}, {2, 3, Value()}, {3, 3, Value()}, {4, 4, Value()}},
       {{2, 2, Value()}, {2, 3, Value()}, {2, 4, Value::Number(7)}, {3, 3, Value()}},
       {"<row r=\"2\"><c r=\"B2\" s=\"1\"/><c r=\"D2\"><v>7</v></c></row>",
        "<row r=\"4\" ht=\"30\" customHeight=\"1\"/>"},
       {"C2", "C3", "r=\"3\""},
       "B2:D2"},
      {"one cell",
       Worksheet("<row r=\"3\"><c r=\"C3\"><v>1</v></c></row>"),
       {{3, 3, Value::Number(2)}},
       {{3, 3, Value::Number(2)}},
       {"<c r=\"C3\"><v>2</v></c>"},
       {},
       "C3"},
      {"no cells left",
       Worksheet("<row r=\"3\"><c r=\"C3\"><v>1</v></c></row>"),
       {{3, 3, Value()}},
       {{3, 3, Value()}},
       {},
       {"<row", "<c"},
       "A1"},
      {"a sheet without sheet data gets it where it belongs",
       "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetPr codeName=\"Sheet2\"/>"
       "<cols><col min=\"1\" max=\"1\" width=\"20\" customWidth=\"1\"/></cols><pageMargins left=\"0.7\"/></worksheet>",
       {{2, 3, Value::Number(7)}},
       {{2, 3, Value::Number(7)}},
       {"</cols><sheetData><row r=\"2\">" + CellXml("C2", "7") + "</row></sheetData><pageMargins"},
       {},
       ""},
  };
  for (const Case& c : cases) {
    const fs::path book = CreatedWith(std::string(c.name) + ".xlsx", kSettingsPart, c.part);
    {
      XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
      const auto settings = workbook.book()->SheetByCodeName("Sheet2");
      for (const Cell& change : c.changes) settings->Set(change.row, change.column, change.value);
      workbook.Save();
    }
    const std::string xml = ZipPackage(book.string()).Read(kSettingsPart);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_buffer(xml.data(), xml.size())) << c.name;
    EXPECT_STREQ(doc.child("worksheet").child("dimension").attribute("ref").value(), c.dimension.c_str()) << c.name;
    for (const std::string& markup : c.written) EXPECT_NE(xml.find(markup), std::string::npos) << c.name << "\n" << xml;
    for (const std::string& markup : c.notWritten)
      EXPECT_EQ(xml.find(markup), std::string::npos) << c.name << ": " << markup << "\n" << xml;
    const auto saved = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet2");
    for (const Cell& cell : c.expected)
      EXPECT_EQ(saved->Get(cell.row, cell.column), cell.value) << c.name << " " << cell.row << "," << cell.column;
  }
}

// Numbers as the shortest text that reads back the same; characters XML cannot hold as U+FFFD.
TEST_F(CliTest, EveryValueIsSavedAsWellFormedXmlThatReadsBack) {
  struct Case {
    Value value;
    const char* written;  // the cell's value as the part holds it, if it is a number
    Value readBack;
  };
  const auto number = [](double n, const char* text) { return Case{Value::Number(n), text, Value::Number(n)}; };
  const auto text = [](std::string t, const char* back) { return Case{Value::Text(t), nullptr, Value::Text(back)}; };
  const Case cases[] = {
      number(80, "80"),
      number(-3, "-3"),
      number(0, "0"),
      number(0.1, "0.1"),
      number(45658.75, "45658.75"),
      number(1.0 / 3, "0.3333333333333333"),
      number(123456789012345678.0, "123456789012345680"),
      number(1e21, "1e+21"),
      number(-1e-7, "-1e-07"),
      number(5e-324, "5e-324"),
      number(1.7976931348623157e308, "1.7976931348623157e+308"),
      text(std::string("bell\x07 and nul\0", 14), "bell\xEF\xBF\xBD and nul\xEF\xBF\xBD"),
      text("Th\xE9 Hai", "Th\xEF\xBF\xBD Hai"),
      text("line\r\nend", "line\r\nend"),
      text("\xEF\xBF\xBF", "\xEF\xBF\xBD"),
  };
  const fs::path book = Created();
  {
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    const auto settings = workbook.book()->SheetByCodeName("Sheet2");
    for (size_t i = 0; i < std::size(cases); ++i) settings->Set(100, static_cast<int32_t>(i) + 1, cases[i].value);
    workbook.Save();
  }
  const std::string xml = ZipPackage(book.string()).Read(kSettingsPart);
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_buffer(xml.data(), xml.size())) << xml;
  const auto settings = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet2");
  for (size_t i = 0; i < std::size(cases); ++i) {
    const int32_t column = static_cast<int32_t>(i) + 1;
    const std::string markup = cases[i].written ? CellXml(ColumnLetters(column) + "100", cases[i].written) : "";
    EXPECT_NE(xml.find(markup), std::string::npos) << markup;
    EXPECT_EQ(settings->Get(100, column), cases[i].readBack) << column;
  }
}

TEST_F(CliTest, CellsARunLeavesAloneStayAsTheyStood) {
  const std::string richShared =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"2\" uniqueCount=\"2\">"
      "<si><t>plain</t></si><si><r><rPr><i/></rPr><t>nghi\xC3\xAAng</t></r><r><t xml:space=\"preserve\"> "
      "th\xC6\xB0\xE1\xBB"
      "\x9Dng</t></r></si></sst>";
  const std::string kept[] = {
      "<c r=\"A2\" s=\"1\" t=\"inlineStr\"><is><r><rPr><b/><sz val=\"12\"/></rPr><t>\xC4\x90\xE1\xBA\xADm</t></r>"
      "<r><t xml:space=\"preserve\"> th\xC6\xB0\xE1\xBB\x9Dng</t></r></is></c>",
      "<c r=\"B2\" t=\"s\"><v>1</v></c>",
      "<c r=\"C2\" t=\"s\"><v>0</v></c>",
      "<c r=\"D2\" s=\"1\"><v>46023</v></c>",
      "<c r=\"E2\"><v>1.50</v></c>",
      "<c r=\"F2\" t=\"b\"><v>1</v></c>",
      "<c r=\"G2\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c>",
      "<c r=\"H2\" s=\"1\"/>",
  };
  std::string row = "<row r=\"2\">";
  for (const std::string& cell : kept) row += cell;
  row += "</row><row r=\"3\"><c r=\"A3\"><v>1</v></c></row>";
  const fs::path book = directory / "kept.xlsx";
  ZipPackage(Created().string())
      .WriteTo(book.string(), {{kSettingsPart, Worksheet(row)}, {"xl/sharedStrings.xml", richShared}});
  {
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    const auto settings = workbook.book()->SheetByCodeName("Sheet2");
    ASSERT_EQ(settings->Get(2, 2), Value::Text("nghi\xC3\xAAng th\xC6\xB0\xE1\xBB\x9Dng"));
    settings->Set(3, 1, Value::Number(2));
    workbook.Save();
  }
  const std::string xml = ZipPackage(book.string()).Read(kSettingsPart);
  for (const std::string& cell : kept) EXPECT_NE(xml.find(cell), std::string::npos) << cell << "\n" << xml;
  EXPECT_NE(xml.find(CellXml("A3", "2")), std::string::npos) << xml;
}

}  // namespace
}  // namespace pradima::xlsx
