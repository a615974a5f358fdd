// What the tool takes on its command line, and what it says back.
#include <filesystem>
#include <new>
#include <stdexcept>

#include "cli/sheet_binding.h"
#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"

namespace pradima::cli {
namespace {

TEST_F(CliTest, HelpAndVersionAreAnswered) {
  struct Case {
    std::vector<std::string> args;
    const char* shown;
    const char* notShown;
  };
  const Case cases[] = {
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

// Every command's bad usage (exit 2, what is wrong and the command's usage) and bad files (exit 1): the
// workbook stays as it was, and no file is made.
TEST_F(CliTest, BadUsageAndBadFilesSayWhatAndLeaveTheFilesAlone) {
  const std::string book = Example().string(), before = Slurp(book);
  const std::string svgBook = (directory / "book.svg").string();
  fs::copy_file(book, svgBook);
  const fs::path text = directory / "notes.xlsx";
  std::ofstream(text) << "not a zip";
  const std::string noControl = CreatedWithCodeName("no-control.xlsx", 3, "Other").string();
  const std::string noResults = CreatedWithCodeName("no-results.xlsx", 1, "Notes").string();
  // Without code names, a workbook whose tabs are not those init gives, or with one code name kept, is refused.
  const ZipPackage created(Created().string());
  const std::string renamedTab =
      WithoutCodeNames("renamed-tab.xlsx",
                       {{"xl/workbook.xml", Replaced(created.Read("xl/workbook.xml"), "name=\"ThongKe\"", "name=\"Stats\"")}})
          .string();
  const std::string oneCodeName = WithoutCodeNames("one-code-name.xlsx", {{SheetPart(2), created.Read(SheetPart(2))}}).string();
  const std::string folder = (directory / "folder.svg").string(), noFolder = (directory / "none" / "c.svg").string();
  fs::create_directory(folder);
  struct Case {
    std::vector<std::string> args;  // after the command, "B" stands for the workbook
    std::string message;
    const char* usage = "usage:";  // with exit code 2; nullptr: exit code 1
  };
  const std::string init = "is no workbook name: it ends in .xlsx, or .xlsm", conn = "is not a whole number from 1 to 8";
  const Case cases[] = {
      {{}, "no command given"},
      {{"stats"}, "stats needs a workbook", "pradima stats BOOK [--from DATE]"},
      {{"numbers", "B"}, "wrong arguments for numbers", "pradima numbers BOOK"},
      {{"numbers", "B", "2 con"}, "the number type must be", "pradima numbers BOOK"},
      {{"stats", "B", "--colour", "red"}, "unknown option --colour", "pradima stats BOOK"},
      {{"stats", "B", "--to", "01/13/2026"}, "--to 01/13/2026 is not a date (YYYY-MM-DD or DD/MM/YYYY)"},
      {{"stats", "B", "--type", "4 Con"}, "--type must be"},
      {{"stats", "B", "--to"}, "--to needs a value"},
      {{"stats", "B", "--from", "2026-03-01", "--to", "2026-02-01"}, "--from 2026-03-01 is after --to 2026-02-01"},
      {{"stats", "B", "--from", "31/12/1899"}, "--from 31/12/1899 is before 1900", "pradima stats BOOK"},
      // One end on the line crossing the other, kept in the control sheet.
      {{"stats", "B", "--from", "2099-01-01"}, "--from is after the end date", "pradima stats BOOK"},
      {{"stats", "B", "--to", "1901-01-01"}, "--to is before the start date"},
      {{"stats", "B", "--set", std::string("Full\0", 5)}, "holds the character U+0000"},
      {{"stats", "B", "--format", "yaml"}, "--format must be table, csv or json"},
      {{"stats", "B", "--numbers", "07,,12"}, "--numbers 07,,12: number 2 is missing", "[--numbers LIST]"},
      {{"stats", "B", "--numbers", "07,12,"}, "--numbers 07,12,: number 3 is missing"},
      {{"stats", "B", "--numbers", "07,7a"}, "--numbers 07,7a: number 2 \"7a\" is not digits only"},
      {{"stats", "B", "--numbers", "12", "--set", "Full"}, "it cannot go with --set Full"},
      {{"stats", "B", "--chart", folder + ".png"}, "--chart " + folder + ".png is no chart file name: it ends in .svg"},
      {{"stats", svgBook, "--chart", svgBook}, "--chart " + svgBook + " is the workbook itself"},
      {{"gan", "B", "--set", "Full"}, "unknown option --set"},
      {{"gan", "B", "--top", "x"}, "--top x is not a whole number from 1 to 9999"},
      {{"update", "B", "--connections", "0"}, "--connections 0 " + conn, "pradima update BOOK [--connections N]"},
      {{"update", "B", "--connections", "9"}, "--connections 9 " + conn},
      {{"init", (directory / "book.xlsx.txt").string()}, init, "pradima init"},
      {{"init", (directory / ".xlsx").string()}, init},
      {{"init", "B"}, "exists already", nullptr},
      {{"stats", (directory / "missing.xlsx").string()}, "missing.xlsx: no such file", nullptr},
      {{"stats", text.string()}, "is not a workbook file", nullptr},
      {{"stats", noControl}, "has no worksheet with code name Sheet3 (the control sheet)", nullptr},
      {{"update", noResults}, "has no worksheet with code name Sheet1 (the results sheet); set the code names", nullptr},
      {{"stats", renamedTab}, std::string("has no worksheet with code name Sheet3 (the control sheet); ") + kCodeNameRemedy,
       nullptr},
      {{"stats", oneCodeName}, "has no worksheet with code name Sheet1 (the results sheet)", nullptr},
      {{"stats", "B", "--region", "Miền Tây"}, "the region \"Miền Tây\" is none of", nullptr},
      {{"gan", "B", "--chart", noFolder}, "cannot write the chart " + noFolder + ": ", nullptr},
      {{"gan", "B", "--chart", folder}, "cannot replace the chart " + folder + ": ", nullptr},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    for (std::string& arg : args)
      if (arg == "B") arg = book;
    const Outcome r = Run(args);
    EXPECT_EQ(r.code, c.usage ? 2 : 1) << c.message;
    EXPECT_EQ(r.err.rfind("pradima: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.usage) {
      EXPECT_NE(r.err.find(c.usage), std::string::npos) << r.err;
    }
  }
  EXPECT_TRUE(Slurp(book) == before) << "a failed command does not write the workbook";
  EXPECT_TRUE(Slurp(svgBook) == before);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(FileCount(), 9) << "no file is made";
}

TEST_F(CliTest, InitGivesAnXlsmItsMacroEnabledType) {
  struct Case {
    const char* name;
    const char* contentType;
  };
  const Case cases[] = {
      {"plain.xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"},
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

}  // namespace
}  // namespace pradima::cli
