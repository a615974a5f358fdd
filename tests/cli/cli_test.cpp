// The tool's commands on workbooks as people run them: stats on the example and on a list typed by hand,
// gan beside stats, charts, sheets found without their code names, and the parts a save leaves alone.
#include <pugixml.hpp>

#include "base/concat.h"
#include "base/error.h"
#include "cli/control_sheet.h"
#include "support/cli_fixture.h"
#include "support/fixture_site.h"
#include "support/stats_fixture.h"
#include "terms/lottery.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

// stats and numbers on the example as people run them, one run after the other: the table printed and the
// request saved, numbers given on the line, names typed with their marks apart (some keyboards, macOS), the
// warning of a weekday that counts every day, and the type that numbers lays out kept for the next count.
TEST_F(CliTest, StatsAndNumbersOnTheExample) {
  struct Case {
    std::vector<std::string> args;  // the command, then what follows the workbook
    std::vector<std::string> printed;
    std::string warned;                                  // on standard error
    std::vector<std::pair<const char*, Value>> control;  // cells of the control sheet once saved
  };
  const Case cases[] = {
      {{"stats", "--from", "2026-01-01", "--to", "22/08/2026", "--region", "Miền Bắc", "--weekday", "all", "--set",
        "Số Kép", "--type", "2 Con"},
       {" * Tổng số ngày thống kê: 230\n", "\n00        50           58\n", "\n77        59           64\n"},
       "pradima: the weekday \"all\" in B5 is not one of Chủ Nhật, Thứ Hai, Thứ Ba, Thứ Tư, Thứ Năm, Thứ Sáu, Thứ Bảy, "
       "so every day is counted (as \"Tất cả\" asks)\n",
       {{"B1", Value::Date(SerialFromCivil({2026, 1, 1}))},
        {"B5", Value::Text("all")},
        {"F12", Value::Text("99")},
        {"H12", Value::Number(55)}}},
      {{"stats", "--weekday", "Tất cả", "--numbers", "00, 77"},
       {"set      Tùy Chọn\n", "\n00        50           58\n77        59           64\n"},
       "",
       {{"F4", Value::Text("77")}, {"F5", Value()}}},
      {{"stats", "--region", "Mie\u0302\u0300n Ba\u0306\u0301c", "--weekday", "Thu\u031B\u0301 Hai", "--set",
        "So\u0302\u0301 Ke\u0301p"},
       {"period   01/01/2026 to 22/08/2026\nregion   Miền Bắc\nweekday  Thứ Hai\nset      Số Kép\ntype     2 Con\n"},
       "",
       {{"B3", Value::Text("Miền Bắc")},
        {"B4", Value::Text("Số Kép")},
        {"B5", Value::Text("Thứ Hai")},
        {"F12", Value::Text("99")}}},
      {{"numbers", "3 Con"},
       {"laid out 10 numbers of the set \"Số Kép\" as \"3 Con\" from F3 of the control sheet, and B6 is \"3 Con\"\n"},
       "",
       {{"B6", Value::Text("3 Con")}, {"F12", Value::Text("999")}}},
      {{"stats"}, {"type     3 Con\n", "\n999 "}, "", {}},
  };
  const fs::path book = Example();
  for (const Case& c : cases) {
    std::vector<std::string> args = {c.args.front(), book.string()};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    const Outcome r = Run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    for (const std::string& printed : c.printed) EXPECT_NE(r.out.find(printed), std::string::npos) << r.out;
    EXPECT_EQ(r.err, c.warned);
    const auto control = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3");
    for (const auto& [cell, value] : c.control) EXPECT_EQ(CellAt(*control, cell), value) << cell;
  }
}

using testing::Texts;

const std::string kCustom = TelexToUnicode(terms::kCustomTelex);
constexpr int32_t kListColumn = 6;  // F

// Column `column` of a sheet from `first` down to its last cell.
std::vector<Value> ColumnFrom(const MemorySheet& sheet, int32_t first, int32_t column) {
  std::vector<Value> values;
  for (int32_t row = first; row <= sheet.LastRowAtOrAbove(kMaxRows, column); ++row)
    values.push_back(sheet.Get(row, column));
  return values;
}

// The custom set ("--set Tùy Chọn") counts the list typed in column F, tidied for the type and saved on the
// settings sheet too (P for two digits, AD for three); other sets count the list as it stands. Entries that
// cannot be counted are named once; with nothing listed, the run says so. A blank entry gets no report row.
TEST_F(CliTest, TheListInColumnFIsCountedAndWhatItCannotCountIsNamedOnce) {
  struct Case {
    const char* type;
    bool custom;
    std::vector<Value> typed;
    std::vector<Value> listed;  // in column F after the count; for a custom list, also on the settings sheet
    std::string warned;         // empty: nothing said
    std::string report = "";    // the CSV report; empty: not checked
  };
  const std::string notCounted = "pradima: not counted, as they are not ";
  const std::string laidOut =
      "pradima: no numbers were listed from F3 of the control sheet, so the 100 numbers of the set \"Full\" were "
      "laid out there as \"2 Con\" first, as pradima numbers does\n";
  std::vector<Value> full;
  for (int n = 0; n < 100; ++n) full.push_back(Value::Text(std::string{char('0' + n / 10), char('0' + n % 10)}));
  std::vector<Value> pastTheList(10001, Value::Text("123"));
  pastTheList.insert(pastTheList.end(), {Value(), Value::Text("456")});
  const std::vector<Value> mixed = {Value::Text("07"), Value::Text("123"), Value::Text(" 12 "), Value::Number(5),
                                    Value::Text("7a"), Value::Number(2.5), Value::Number(100)};
  const Case cases[] = {
      {"2 Con", true, Texts({"07", "12", "345", "1207"}), Texts({"07", "12", "34", "45"}), ""},
      {"3 Con", true, Texts({"007", "123", "999"}), Texts({"007", "123", "999"}), ""},
      {"2 Con", false, mixed, mixed, notCounted + "2-digit numbers (\"2 Con\"): \"123\", \"7a\", \"2.5\", \"100\"\n"},
      {"3 Con", false, Texts({"123", "1000"}), Texts({"123", "1000"}),
       notCounted + "3-digit numbers (\"3 Con\"): \"1000\"\n"},
      {"2 Con", false, Texts({"00", "99"}), Texts({"00", "99"}), ""},
      {"2 Con",
       false,
       {Value::Text("07"), Value(), Value::Text("12")},
       {Value::Text("07"), Value(), Value::Text("12")},
       "",
       "number,days,appearances\n07,,\n12,,\n"},
      {"2 Con", true, Texts({"07", "7a", "12"}), Texts({"07", "12"}),
       notCounted + "2-digit numbers (\"2 Con\"): \"7a\"\n"},
      {"2 Con", false, {}, full, laidOut},
      {"3 Con", false, pastTheList, pastTheList,
       "pradima: not counted, being below F10000 where the count stops reading the list: 4 entries down to F10005\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.warned);
    const fs::path book = directory / "book.xlsx";
    fs::remove(book);
    fs::copy_file(Created(), book);
    {
      // Typed into F3 down, as a user does; the type first, without a set that lays the list out anew.
      XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
      const auto control = workbook.book()->SheetByCodeName("Sheet3");
      control->Set(6, 2, Value::Text(c.type));
      for (int32_t row = 3; row <= 1002; ++row) control->Set(row, kListColumn, Value());
      for (size_t i = 0; i < c.typed.size(); ++i) control->Set(3 + static_cast<int32_t>(i), kListColumn, c.typed[i]);
      workbook.Save();
    }
    std::vector<std::string> args = {"stats", book.string(), "--format", "csv"};
    if (c.custom) args.insert(args.end(), {"--set", kCustom, "--type", c.type});
    const Outcome r = Run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    // The workbook of init holds no draw yet, and stats says so first.
    EXPECT_EQ(r.err, "pradima: the results sheet holds no draw yet: \"pradima update " + book.string() +
                         "\" fetches them\n" + c.warned);
    EXPECT_TRUE(c.report.empty() || r.out == c.report) << r.out;
    XlsxWorkbook saved = XlsxWorkbook::Open(book.string());
    const auto control = saved.book()->SheetByCodeName("Sheet3");
    EXPECT_EQ(ColumnFrom(*control, 3, kListColumn), c.listed);
    if (c.custom) {
      EXPECT_EQ(control->Get(4, 2), Value::Text(kCustom));
      const int32_t savedColumn = c.type[0] == '2' ? 16 : 30;  // P or AD
      EXPECT_EQ(ColumnFrom(*saved.book()->SheetByCodeName("Sheet2"), 2, savedColumn), c.listed);
    }
  }
}

// gan sees exactly the request and the draw days that stats counts, in every region.
TEST_F(CliTest, GanDrawDaysAgreeWithStatsForEachRegionAndWeekday) {
  // Two months of every region from the fixture site (the example holds the North only).
  const std::string book = Created().string();
  {
    testing::FixtureSite site(testing::StandardPages);
    ASSERT_EQ(Run({"update", book, "--connections", "4"}, site.base_url(), {{2005, 2, 28}, 19, 0, 0}).code, 0);
  }
  struct Case {
    const char *region, *weekday;
    int days;
  };
  const Case cases[] = {
      {"Miền Bắc", "Tất cả", 45},  {"Miền Bắc", "Chủ Nhật", 7}, {"Miền Trung", "Tất cả", 45},
      {"Miền Trung", "Thứ Tư", 6}, {"Miền Nam", "Thứ Bảy", 7},  {"Miền Nam", "Tất cả", 45},
  };
  for (const Case& c : cases) {
    // gan first: the control sheet still holds the request of the case before.
    for (const char* command : {"gan", "stats"}) {
      const Outcome r = Run({command, book, "--from", "2005-01-15", "--to", "2005-02-28", "--region", c.region,
                             "--weekday", c.weekday, "--type", "2 Con", "--format", "json"});
      ASSERT_EQ(r.code, 0) << r.err;
      const std::string request = Concat("\"region\": \"", c.region, "\", \"weekday\": \"", c.weekday, "\"");
      EXPECT_NE(r.out.find(request), std::string::npos) << r.out;
      EXPECT_NE(r.out.find("\n \"draw_days\": " + std::to_string(c.days) + ",\n"), std::string::npos) << r.out;
    }
  }
}

// A chart written through a link: the link stays, and the file it points to gets the chart.
TEST_F(CliTest, AChartWrittenThroughALinkReplacesTheFileItPointsTo) {
  const fs::path chart = directory / "kept.svg", link = directory / "link.svg";
  std::ofstream(chart) << "old";
  fs::create_symlink(chart, link);
  ASSERT_EQ(Run({"gan", Example().string(), "--chart", link.string()}).code, 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(Slurp(chart).starts_with("<?xml")) << Slurp(chart);
}

// A workbook saved without code names has its tabs found by the names init gives them: gan, which never
// writes, says so; stats writes the code names back, first in each sheet's markup, and brings a macro project,
// a formula and every part it does not change through as stored.
TEST_F(CliTest, WithoutCodeNamesTheTabsAreFoundAndWhatStatsDoesNotChangeComesThroughUntouched) {
  std::string macro(4096, '\0');
  for (size_t i = 0; i < macro.size(); ++i) macro[i] = static_cast<char>((i * 131) % 251);
  std::string control =
      Replaced(ZipPackage(Created().string()).Read(SheetPart(3)), "codeName=\"Sheet3\"", "filterMode=\"0\"");
  control.insert(control.find("</sheetData>"), "<row r=\"2000\"><c r=\"K2000\"><f>1+1</f><v>2</v></c></row>");
  const fs::path book =
      WithoutCodeNames("saved-elsewhere.xlsm", {{"xl/vbaProject.bin", macro}, {SheetPart(3), control}});
  const std::string before = Slurp(book);
  const Outcome gan = Run({"gan", book.string()});
  ASSERT_EQ(gan.code, 0) << gan.err;
  EXPECT_NE(gan.err.find("are taken by their tab names; this command does not change the file"), std::string::npos)
      << gan.err;
  EXPECT_TRUE(Slurp(book) == before);
  const ZipPackage stored(book.string());
  const Outcome r = Run({"stats", book.string(), "--set", "Full"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("has no code names for its sheets"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the sheets KetQua, CaiDat, ThongKe are taken by their tab names"), std::string::npos) << r.err;

  ZipPackage saved(book.string());
  for (int number = 1; number <= 3; ++number) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(saved.Read(SheetPart(number)).c_str())) << number;
    const pugi::xml_node first = doc.child("worksheet").first_child();
    EXPECT_STREQ(first.name(), "sheetPr") << "first in sheet " << number;
    EXPECT_EQ(first.attribute("codeName").value(), "Sheet" + std::to_string(number));
  }
  EXPECT_EQ(saved.Read("xl/vbaProject.bin"), macro);
  EXPECT_EQ(saved.Read(SheetPart(4)), stored.Read(SheetPart(4))) << "an unchanged sheet is copied as stored";
  EXPECT_EQ(saved.Read("xl/styles.xml"), stored.Read("xl/styles.xml"));
  control = saved.Read(SheetPart(3));
  EXPECT_NE(control.find("filterMode=\"0\""), std::string::npos) << "other properties stay";
  EXPECT_NE(control.find("<dataValidations count=\"4\">"), std::string::npos);
  EXPECT_NE(control.find("<c r=\"K2000\"><f>1+1</f><v>2</v></c>"), std::string::npos) << "the formula is kept";
  EXPECT_NE(control.find("<c r=\"F102\" t=\"inlineStr\"><is><t>99</t></is></c>"), std::string::npos);
}

TEST_F(CliTest, AFailedSaveLeavesTheDateFormatStillToBeAdded) {
  // The new workbook without a format that shows a date.
  const fs::path book = CreatedWith(
      "no-dates.xlsx", "xl/styles.xml",
      Replaced(ZipPackage(Created().string()).Read("xl/styles.xml"), "<xf numFmtId=\"164\"", "<xf numFmtId=\"2\""));
  XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
  workbook.book()->SheetByCodeName("Sheet2")->Set(40, 1, Value::Date(SerialFromCivil({2026, 3, 8})));
  // The workbook's folder gone for a moment makes the save fail.
  const fs::path away = directory.string() + "-away";
  fs::rename(directory, away);
  EXPECT_THROW(workbook.Save(), Error);
  fs::rename(away, directory);
  workbook.Save();

  XlsxWorkbook saved = XlsxWorkbook::Open(book.string());
  EXPECT_EQ(saved.book()->SheetByCodeName("Sheet2")->Get(40, 1), Value::Date(SerialFromCivil({2026, 3, 8})));
  EXPECT_NE(ZipPackage(book.string()).Read("xl/styles.xml").find("<cellXfs count=\"3\">"), std::string::npos);
}

}  // namespace
}  // namespace pradima::cli
