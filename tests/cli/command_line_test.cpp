// What the tool takes on its command line, and what it says back.
#include <filesystem>
#include <new>
#include <stdexcept>

#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::cli {
namespace {

TEST_F(CliTest, HelpAndVersionAreAnswered) {
  struct Case {
    std::vector<std::string> args;
    const char* shown;
    const char* notShown;
  };
  const Case cases[] = {
      {{"-h"}, "pradima stats BOOK", nullptr},
      {{"--help"}, "pradima init BOOK.xlsx|BOOK.xlsm", nullptr},
      {{"help", "stats"}, "written into the control sheet (B1 to B6)", "pradima init"},
      {{"stats", "--help"}, "pradima stats BOOK", "pradima update"},
      {{"numbers", "-h"}, "pradima numbers BOOK", "pradima stats"},
      {{"--version"}, "pradima ", "usage"},
  };
  for (const Case& c : cases) {
    const Outcome r = Run(c.args);
    EXPECT_EQ(r.code, 0) << c.args[0];
    EXPECT_NE(r.out.find(c.shown), std::string::npos) << r.out;
    if (c.notShown) {
      EXPECT_EQ(r.out.find(c.notShown), std::string::npos) << r.out;
    }
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(CliTest, BadUsageSaysWhatAndShowsTheCommandsUsage) {
  const fs::path book = Example();
  const std::string before = Slurp(book);
  struct Case {
    std::vector<std::string> args;
    const char* message;
    const char* usage;
  };
  const Case cases[] = {
      {{"stats"}, "stats needs a workbook", "pradima stats BOOK [--from DATE]"},
      {{"update"}, "update needs a workbook", "pradima update BOOK"},
      {{"numbers", book.string()}, "wrong arguments for numbers", "pradima numbers BOOK"},
      {{"stats", book.string(), "--from", "2026-03-01", "--to", "2026-02-01"},
       "--from 2026-03-01 is after --to 2026-02-01",
       "pradima stats BOOK"},
      {{"stats", book.string(), "--from", "31/12/1899"}, "--from 31/12/1899 is before 1900", "pradima stats BOOK"},
      // One end on the line crossing the other, kept in the control sheet.
      {{"stats", book.string(), "--from", "2099-01-01"}, "--from is after the end date", "pradima stats BOOK"},
      {{"stats", book.string(), "--to", "1901-01-01"}, "--to is before the start date", "stats BOOK"},
      {{"stats", book.string(), "--to", "1850-06-15"}, "--to 1850-06-15 is before 1900", "pradima stats BOOK"},
      {{"stats", book.string(), "--to", "2026-01-01 and more"}, "--to 2026-01-01 and more is not a date", "stats BOOK"},
      {{"stats", book.string(), "--weekday", "Th\xE9 Hai"}, "is not valid UTF-8 (byte 3)", "pradima stats BOOK"},
      {{"stats", book.string(), "--region", "Mi\x1b[1mền"}, "holds the character U+001B", "pradima stats BOOK"},
      {{"stats", book.string(), "--set", std::string("Full\0", 5)}, "holds the character U+0000", "stats BOOK"},
      {{"numbers", book.string(), "2 Con\x7f\x01"}, "holds the character U+0001", "pradima numbers BOOK"},
  };
  for (const Case& c : cases) {
    const Outcome r = Run(c.args);
    EXPECT_EQ(r.code, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.usage), std::string::npos) << r.err;
  }
  EXPECT_EQ(Slurp(book), before) << "bad usage does not write the workbook";
}

TEST_F(CliTest, InitTakesOnlyWorkbookNamesAndGivesAnXlsmItsMacroEnabledType) {
  for (const char* name : {"book.ods", "book.xls", "book", "book.xlsx.txt", ".xlsx"}) {
    const Outcome r = Run({"init", (directory / name).string()});
    EXPECT_EQ(r.code, 2) << name;
    EXPECT_NE(r.err.find("is no workbook name: it ends in .xlsx, or .xlsm"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(directory / name)) << name;
  }
  struct Case {
    const char* name;
    const char* contentType;
  };
  const Case cases[] = {
      {"plain.xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"},
      {"macros.xlsm", "application/vnd.ms-excel.sheet.macroEnabled.main+xml"},
      {"SHOUT.XLSM", "application/vnd.ms-excel.sheet.macroEnabled.main+xml"},
  };
  for (const Case& c : cases) {
    const fs::path book = directory / c.name;
    ASSERT_EQ(Run({"init", book.string()}).code, 0) << c.name;
    const std::string types = ZipPackage(book.string()).Read("[Content_Types].xml");
    const std::string expected =
        std::string("<Override PartName=\"/xl/workbook.xml\" ContentType=\"") + c.contentType + "\"/>";
    EXPECT_NE(types.find(expected), std::string::npos) << types;
    EXPECT_TRUE(XlsxWorkbook::Open(book.string()).book()->FindName("BangDai")) << c.name;
  }
}

TEST_F(CliTest, AnyFailureReachesTheCallerAsAMessageAndExitCodeOne) {
  struct Case {
    std::function<LocalDateTime()> clock;
    const char* message;
  };
  const Case cases[] = {
      {[]() -> LocalDateTime { throw std::bad_alloc(); }, "pradima: out of memory\n"},
      {[]() -> LocalDateTime { throw std::runtime_error("the clock stopped"); }, "pradima: the clock stopped\n"},
      {[]() -> LocalDateTime {
         throw fs::filesystem_error("rename", fs::path("/books/b.xlsx"),
                                    std::make_error_code(std::errc::cross_device_link));
       },
       "pradima: /books/b.xlsx: Invalid cross-device link\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    const int code =
        RunCommand({"init", (directory / "new.xlsx").string()}, "http://127.0.0.1:9", c.clock, out, err, false);
    EXPECT_EQ(code, 1) << c.message;
    EXPECT_EQ(err.str(), c.message);
  }
}

TEST_F(CliTest, NumbersRecordsTheTypeItLaidOutSoTheNextCountUsesIt) {
  const fs::path book = Created();
  const Outcome laidOut = Run({"numbers", book.string(), "3 Con"});
  ASSERT_EQ(laidOut.code, 0) << laidOut.err;
  EXPECT_EQ(
      laidOut.out,
      "laid out 1000 numbers of the set \"Full\" as \"3 Con\" from F3 of the control sheet, and B6 is \"3 Con\"\n");
  const auto control = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3");
  EXPECT_EQ(control->Get(6, 2), Value::Text("3 Con"));
  EXPECT_EQ(control->Get(1002, 6), Value::Text("999"));

  const Outcome counted = Run({"stats", book.string()});
  ASSERT_EQ(counted.code, 0) << counted.err;
  EXPECT_NE(counted.out.find("type     3 Con\n"), std::string::npos) << counted.out;
  EXPECT_NE(counted.out.find("\n999 "), std::string::npos) << "the three-digit list is counted";
}

TEST_F(CliTest, StatsPrintsTheRequestItRanAndWarnsOfWhatCountsNothingOrEverything) {
  const fs::path book = Example();
  const Outcome r = Run({"stats", book.string(), "--from", "2026-01-01", "--to", "22/08/2026", "--region", "Miền Bắc",
                         "--weekday", "Thứ Hai", "--set", "Số Kép", "--type", "2 Con"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("period   01/01/2026 to 22/08/2026\n"
                        "region   Miền Bắc\n"
                        "weekday  Thứ Hai\n"
                        "set      Số Kép\n"
                        "type     2 Con\n",
                        0),
            0u)
      << r.out;
  EXPECT_EQ(r.err, "");

  const Outcome slip = Run({"stats", book.string(), "--weekday", "Thu Hai"});
  ASSERT_EQ(slip.code, 0) << slip.err;
  EXPECT_NE(slip.err.find("the weekday \"Thu Hai\" in B5 is none of Chủ Nhật, Thứ Hai, Thứ Ba, Thứ Tư, Thứ Năm, "
                          "Thứ Sáu, Thứ Bảy, so every day is counted"),
            std::string::npos)
      << slip.err;
  const Outcome everyDay = Run({"stats", book.string(), "--weekday", "Tất cả"});
  ASSERT_EQ(everyDay.code, 0) << everyDay.err;
  EXPECT_EQ(everyDay.err, "");

  {
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    const auto control = workbook.book()->SheetByCodeName("Sheet3");
    for (int32_t row = 3; row <= 1002; ++row) control->Set(row, 6, Value());
    workbook.Save();
  }
  const Outcome empty = Run({"stats", book.string()});
  ASSERT_EQ(empty.code, 0) << empty.err;
  EXPECT_NE(empty.err.find("no numbers are listed from F3 of the control sheet"), std::string::npos) << empty.err;
}

}  // namespace
}  // namespace pradima::cli
