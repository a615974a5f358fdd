#include "cli/commands.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima::cli {
namespace {

// stats on the example as people run it: the table printed and saved, names typed with their marks apart
// (some keyboards, macOS), numbers given on the line, and the warnings of what counts nothing or everything.
TEST_F(CliTest, StatsOnTheExample) {
  const fs::path book = Example();
  Outcome r = Run({"stats", book.string(), "--from", "2026-01-01", "--to", "22/08/2026", "--region", "Miền Bắc",
                   "--weekday", "all", "--set", "Số Kép", "--type", "2 Con"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(" * Tổng số ngày thống kê: 230\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("00        50           58\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("77        59           64\n"), std::string::npos) << r.out;
  {
    XlsxWorkbook saved = XlsxWorkbook::Open(book.string());
    const auto control = saved.book()->SheetByCodeName("Sheet3");
    EXPECT_EQ(control->Get(1, 2), Value::Date(SerialFromCivil({2026, 1, 1})));
    EXPECT_EQ(control->Get(5, 2), Value::Text("all"));
    EXPECT_EQ(control->Get(12, 6), Value::Text("99"));
    EXPECT_EQ(control->Get(12, 8), Value::Number(55));
    EXPECT_EQ(saved.book()->SheetByCodeName("Sheet1")->Get(5, 1), Value::Date(SerialFromCivil({2005, 10, 1})));
  }
  r = Run({"stats", book.string(), "--weekday", "Tất cả", "--numbers", "00, 77"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("set      Tùy Chọn\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n00        50           58\n77        59           64\n"), std::string::npos) << r.out;
  auto control = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3");
  EXPECT_EQ(control->Get(5, 6), Value()) << "nothing of the old list is left";
  EXPECT_EQ(control->Get(4, 6), Value::Text("77"));

  r = Run({"stats", book.string(), "--region", "Mie\u0302\u0300n Ba\u0306\u0301c", "--weekday", "Thu\u031B\u0301 Hai",
           "--set", "So\u0302\u0301 Ke\u0301p"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("period   01/01/2026 to 22/08/2026\nregion   Miền Bắc\nweekday  Thứ Hai\nset      Số Kép\n"
                        "type     2 Con\n", 0), 0u) << r.out;
  EXPECT_EQ(r.err, "") << "the weekday is known";
  control = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3");
  EXPECT_EQ(control->Get(3, 2), Value::Text("Miền Bắc"));
  EXPECT_EQ(control->Get(5, 2), Value::Text("Thứ Hai"));
  EXPECT_EQ(control->Get(4, 2), Value::Text("Số Kép"));
  EXPECT_EQ(control->Get(12, 6), Value::Text("99")) << "the doubles are laid out";

  r = Run({"stats", book.string(), "--weekday", "Thu Hai"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("the weekday \"Thu Hai\" in B5 is not one of Chủ Nhật, Thứ Hai, Thứ Ba, Thứ Tư, Thứ Năm, "
                       "Thứ Sáu, Thứ Bảy, so every day is counted"),
            std::string::npos)
      << r.err;
  {
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    for (int32_t row = 3; row <= 1002; ++row) workbook.book()->SheetByCodeName("Sheet3")->Set(row, 6, Value());
    workbook.Save();
  }
  r = Run({"stats", book.string(), "--weekday", "Tất cả"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err,
            "pradima: no numbers were listed from F3 of the control sheet, so the 10 numbers of the set "
            "\"Số Kép\" were laid out there as \"2 Con\" first, as pradima numbers does\n");
  EXPECT_NE(r.out.find("\n00        50           58\n11 "), std::string::npos) << r.out;
  EXPECT_EQ(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3")->Get(12, 6), Value::Text("99"));
}

// A failed request keeps the days before it; with none before it, the workbook stays byte for byte.
TEST_F(CliTest, AFailedRequestSavesTheDaysBeforeItAndNothingElse) {
  struct Case {
    CivilDate failing;
    int32_t daysKept;
    const char* message;
  };
  for (const Case& c :
       {Case{{2005, 1, 5}, 4, "Miền Bắc, 05/01/2005: GET "}, Case{{2005, 1, 1}, 0, "Miền Bắc, 01/01/2005: GET "}}) {
    SCOPED_TRACE(c.message);
    const fs::path book = directory / "new.xlsx";
    fs::remove(book);
    ASSERT_EQ(Run({"init", book.string()}).code, 0);
    const std::string before = Slurp(book);
    testing::FixtureSite site([&c](const testing::FixtureRequest& request) {
      const auto query = testing::ParsePageQuery(request.target);
      if (query.day == c.failing) return testing::FixtureResponse{200, "", true};
      return testing::StandardPages(request);
    });
    const Outcome r = Run({"update", book.string()}, site.base_url(), {{2005, 1, 10}, 19, 0, 0});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1) << "no temporary left";
    if (c.daysKept == 0) {
      EXPECT_EQ(Slurp(book), before);
      EXPECT_EQ(r.err.find("day(s) added"), std::string::npos) << r.err;
      continue;
    }
    EXPECT_NE(r.err.find("4 day(s) added, up to 04/01/2005, and saved; run update again to continue"),
              std::string::npos)
        << r.err;
    const auto results = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet1");
    for (int32_t d = 1; d <= c.daysKept; ++d)
      EXPECT_EQ(results->Get(4 + d, 1), Value::Date(SerialFromCivil({2005, 1, d}))) << d;
    EXPECT_EQ(results->LastRowAtOrAbove(kMaxRows, 1), 4 + c.daysKept);
  }
}

TEST_F(CliTest, AMacroProjectAndOtherPartsComeThroughUntouched) {
  const fs::path plain = Example();
  const fs::path book = directory / "example.xlsm";
  std::string macro(4096, '\0');
  for (size_t i = 0; i < macro.size(); ++i) macro[i] = static_cast<char>((i * 131) % 251);
  {
    // a formula on the control sheet, which the statistics run rewrites
    ZipPackage package(plain.string());
    std::string control = package.Read("xl/worksheets/sheet3.xml");
    control.insert(control.find("</sheetData>"), "<row r=\"2000\"><c r=\"K2000\"><f>1+1</f><v>2</v></c></row>");
    package.WriteTo(book.string(), {{"xl/vbaProject.bin", macro}, {"xl/worksheets/sheet3.xml", control}});
  }
  const std::string settingsBefore = ZipPackage(book.string()).Read("xl/worksheets/sheet2.xml");
  const std::string stylesBefore = ZipPackage(book.string()).Read("xl/styles.xml");
  ASSERT_EQ(Run({"stats", book.string(), "--set", "Full"}).code, 0);
  ZipPackage saved(book.string());
  EXPECT_EQ(saved.Read("xl/vbaProject.bin"), macro);
  EXPECT_EQ(saved.Read("xl/worksheets/sheet2.xml"), settingsBefore) << "an unchanged sheet is copied as stored";
  EXPECT_EQ(saved.Read("xl/styles.xml"), stylesBefore);
  const std::string control = saved.Read("xl/worksheets/sheet3.xml");
  EXPECT_NE(control.find("<dataValidations count=\"4\">"), std::string::npos);
  EXPECT_NE(control.find("<c r=\"K2000\"><f>1+1</f><v>2</v></c>"), std::string::npos) << "the formula is kept";
  EXPECT_NE(control.find("<c r=\"F102\" t=\"inlineStr\"><is><t>99</t></is></c>"), std::string::npos);
}

TEST_F(CliTest, AFailedSaveLeavesTheDateFormatStillToBeAdded) {
  // The styles of the new workbook without a format that shows a date.
  std::string styles = ZipPackage(Created().string()).Read("xl/styles.xml");
  const std::string dateFormat = "<xf numFmtId=\"164\"";
  ASSERT_NE(styles.find(dateFormat), std::string::npos);
  styles.replace(styles.find(dateFormat), dateFormat.size(), "<xf numFmtId=\"2\"");
  const fs::path book = CreatedWith("no-dates.xlsx", "xl/styles.xml", styles);

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
  const std::string savedStyles = ZipPackage(book.string()).Read("xl/styles.xml");
  EXPECT_NE(savedStyles.find("<cellXfs count=\"3\">"), std::string::npos) << savedStyles;
}

}  // namespace
}  // namespace pradima::cli
