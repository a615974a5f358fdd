// What the tool takes on its command line, and what it says back.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <new>
#include <stdexcept>

#include "cli/sheet_binding.h"
#include "cli/standard_output.h"
#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

// Help and the version (exit 0, on standard output), every command's bad usage (exit 2, what is wrong and the
// command's usage) and bad files (exit 1): the workbook stays as it was, and no file is made.
TEST_F(CliTest, EveryCommandLineIsAnsweredAndABadOneLeavesTheFilesAlone) {
  const std::string book = Example().string(), before = Slurp(book);
  const std::string svgBook = (directory / "book.svg").string();
  fs::copy_file(book, svgBook);
  const fs::path text = directory / "notes.xlsx";
  std::ofstream(text) << "not a zip";
  const std::string noResults = CreatedWithCodeName("no-results.xlsx", 1, "Notes").string();
  // Without code names, a workbook whose tabs are not those init gives, or with one code name kept, is refused.
  const ZipPackage created(Created().string());
  const std::string renamedTab =
      WithoutCodeNames(
          "renamed-tab.xlsx",
          {{"xl/workbook.xml", Replaced(created.Read("xl/workbook.xml"), "name=\"ThongKe\"", "name=\"Stats\"")}})
          .string();
  const std::string oneCodeName =
      WithoutCodeNames("one-code-name.xlsx", {{SheetPart(2), created.Read(SheetPart(2))}}).string();
  const std::string folder = (directory / "folder.svg").string(), noFolder = (directory / "none" / "c.svg").string();
  fs::create_directory(folder);
  struct Case {
    std::vector<std::string> args;  // "B" stands for the workbook
    std::string said;               // on standard output with exit code 0, else on standard error
    int code = 2;
    const char* usage = "--help\" for more information.\n";  // the last line with exit code 2, else not said
  };
  const std::string init = "is not a workbook name: it must end in .xlsx, or in .xlsm",
                    conn = "is not a whole number from 1 to 8";
  const Case cases[] = {
      {{"--help"}, "pradima init BOOK.xlsx|BOOK.xlsm", 0, nullptr},
      {{"help", "stats"}, "stats writes its options into the control sheet (B1 to B6)", 0, "pradima init"},
      {{"stats", "--help"}, "pradima stats BOOK", 0, "pradima update"},
      {{"numbers", "-h"}, "pradima numbers BOOK", 0, "pradima stats"},
      {{"gan", "B", "--top", "5", "--help"}, "--prizes 3-digit counts only the prizes drawn", 0, "pradima update"},
      {{"help", "foo"}, "unknown command or wrong arguments: foo"},
      {{"stats", "--from", "2026-01-01", "B"}, "the workbook comes first, before the options: pradima stats BOOK ..."},
      {{"gan", "B", "--top=2", "--format=csv", "--from=2026-08-01"}, "\n98,2026-08-05,17,17,2026-08-22,true\n", 0},
      {{"xien", "B", "--reverse=yes"}, "--reverse takes no value"},
      {{"--version"}, "pradima ", 0},
      {{}, "no command given"},
      {{"stats"}, "stats needs a workbook", 2, "\nTry \"pradima stats --help\""},
      {{"numbers", "B"}, "wrong arguments for numbers", 2, "\"pradima numbers --help\""},
      {{"numbers", "B", "2 con"}, "the number type must be"},
      {{"stats", "B", "--colour", "red"}, "unknown option --colour", 2, "\"pradima stats --help\""},
      {{"stats", "B", "--to", "01/13/2026"}, "--to 01/13/2026 is not a date (YYYY-MM-DD or DD/MM/YYYY)"},
      {{"stats", "B", "--type", "4 Con"}, "--type must be"},
      {{"stats", "B", "--to"}, "--to needs a value"},
      {{"gan", "B", "--from", "2026-01-01", "--top", "5", "--from", "2026-02-01"}, "--from is given twice"},
      {{"xien", "B", "--reverse", "--reverse"}, "--reverse is given twice"},
      {{"stats", "B", "--from", "2026-03-01", "--to", "2026-02-01"}, "--from 2026-03-01 is after --to 2026-02-01"},
      {{"stats", "B", "--from", "31/12/1899"}, "--from 31/12/1899 is before 1900"},
      // One end on the line crossing the other, kept in the control sheet.
      {{"stats", "B", "--from", "2099-01-01"}, "--from is after the end date"},
      {{"stats", "B", "--to", "1901-01-01"}, "--to is before the start date"},
      {{"stats", "B", "--set", std::string("Full\0", 5)}, "holds the character U+0000"},
      {{"stats", "B", "--format", "yaml"}, "--format must be table, csv or json"},
      {{"stats", "B", "--numbers", "07,12,"}, "--numbers 07,12,: number 3 is missing"},
      {{"stats", "B", "--numbers", "07 12, ,3"}, "number 1 \"07 12\" is not digits only"},
      {{"stats", "B", "--numbers", "07,7a"}, "--numbers 07,7a: number 2 \"7a\" is not digits only"},
      {{"stats", "B", "--numbers", "12", "--set", "Full"}, "it cannot go with --set Full"},
      {{"stats", "B", "--chart", folder + ".png"}, "--chart " + folder + ".png is not an SVG file name: it must end in .svg"},
      {{"stats", svgBook, "--chart", svgBook}, "--chart " + svgBook + " is the workbook itself"},
      {{"gan", "B", "--set", "Full"}, "unknown option --set"},
      {{"gan", "B", "--top", "x"}, "--top x is not a whole number from 1 to 9999"},
      // One end on the line crossing the stored draw the other defaults to.
      {{"gan", "B", "--from", "2099-01-01"}, "--from 2099-01-01 is after the last stored draw, ", 2, "\"pradima gan --help\""},
      {{"gan", "B", "--to", "1901-01-01"}, "--to 1901-01-01 is before the first stored draw, "},
      {{"stats", "B", "--prizes", "3"}, "--prizes must be all or 3-digit"},
      {{"stats", "B", "--prizes", "3-digit", "--type", "2 Con"}, "--prizes 3-digit counts \"3 Con\" only"},
      {{"gan", "B", "--prizes", "3-digit", "--type", "2 Con"}, "and the number type is \"2 Con\""},
      {{"xien", "--help"}, "--reverse counts only the pairs of a number and its reverse", 0, "pradima update"},
      {{"xien", "B", "--size", "4"}, "--size 4 is neither 2 nor 3", 2, "\"pradima xien --help\""},
      {{"xien", "B", "--reverse", "--size", "3"}, "--reverse pairs a number with its reverse: it goes with --size 2 only"},
      {{"xien", "B", "--size", "3", "--reverse", "--top"}, "--top needs a value"},
      {{"xien", "B", "--type", "3 Con"}, "unknown option --type"},
      {{"gan", "B", "--reverse"}, "unknown option --reverse"},
      {{"bacnho", "B"}, "bacnho needs --after", 2, "\"pradima bacnho --help\""},
      {{"bacnho", "B", "--after", "7"}, "--after 7: \"7\" is not a two-digit number"},
      {{"bacnho", "B", "--after", "27,x2"}, "\"x2\" is not a two-digit number"},
      {{"bacnho", "B", "--after", "27,,72"}, "\"\" is not a two-digit number"},
      {{"bacnho", "B", "--after", "100"}, "\"100\" is not"},
      {{"bacnho", "B", "--after", "27", "--type", "3 Con"}, "unknown option --type"},
      {{"update", "B", "--connections", "0"}, "--connections 0 " + conn, 2, "\"pradima update --help\""},
      {{"update", "B", "--connections", "9"}, "--connections 9 " + conn},
      {{"init", (directory / "book.xlsx.txt").string()}, init, 2, "\"pradima init --help\""},
      {{"init", (directory / ".xlsx").string()}, init},
      {{"init", "B"}, "exists already", 1},
      {{"init", noFolder + ".xlsx"}, ".xlsx: its folder " + (directory / "none").string() + " does not exist", 1},
      {{"stats", (directory / "missing.xlsx").string()}, "missing.xlsx: no such file", 1},
      {{"stats", text.string()}, "is not a workbook file", 1},
      {{"update", noResults}, "has no worksheet with code name Sheet1 (the results sheet); set the code names", 1},
      {{"stats", renamedTab},
       std::string("has no worksheet with code name Sheet3 (the control sheet); ") + kCodeNameRemedy,
       1},
      {{"stats", oneCodeName}, "has no worksheet with code name Sheet1 (the results sheet)", 1},
      {{"gan", "B", "--region", "Mien Bac"}, "--region must be \"Miền Bắc\", \"Miền Trung\" or \"Miền Nam\"; it is"},
      // a list laid out for a run that then fails is not said to be
      {{"stats", "B", "--region", "Miền Nam", "--station", "X"}, "no draw day of the period has the station \"X\""},
      {{"gan", "B", "--chart", noFolder}, "--chart " + noFolder + ": its folder " + (directory / "none").string()},
      {{"gan", "B", "--station="}, "--station needs a value"},
      {{"gan", "B", "--chart", folder}, "cannot replace the chart " + folder + ": ", 1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    for (std::string& arg : args)
      if (arg == "B") arg = book;
    const Outcome r = Run(args);
    EXPECT_EQ(r.code, c.code) << c.said;
    const std::string& said = c.code == 0 ? r.out : r.err;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_TRUE(c.code == 0 ? r.err.empty() : r.err.starts_with("pradima: ")) << r.err;
    if (c.code == 2) {
      EXPECT_NE(r.err.find(c.usage), std::string::npos) << r.err;
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << "the error and where the help is:\n" << r.err;
    } else if (c.usage) {
      EXPECT_EQ(said.find(c.usage), std::string::npos) << said;
    }
  }
  EXPECT_TRUE(Slurp(book) == before) << "a failed command does not write the workbook";
  EXPECT_TRUE(Slurp(svgBook) == before);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 8) << "no file is made";
}

TEST_F(CliTest, AnyFailureReachesTheCallerAsAMessageAndExitCodeOne) {
  const std::pair<std::function<LocalDateTime()>, const char*> cases[] = {
      {[]() -> LocalDateTime { throw std::bad_alloc(); }, "pradima: out of memory\n"},
      {[]() -> LocalDateTime { throw std::runtime_error("the clock stopped"); }, "pradima: the clock stopped\n"},
      {[]() -> LocalDateTime {
         throw fs::filesystem_error("rename", fs::path("/books/b.xlsx"),
                                    std::make_error_code(std::errc::cross_device_link));
       },
       "pradima: /books/b.xlsx: Invalid cross-device link\n"},
  };
  for (const auto& [clock, message] : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCommand({"init", (directory / "new.xlsx").string()}, "http://127.0.0.1:9", clock, out, err, false), 1);
    EXPECT_EQ(err.str(), message);
  }
}

// A full disk fails the tool (the test cli_output_to_full_disk_fails); a reader that left is no failure.
TEST(StandardOutputTest, AReaderThatLeftIsNoFailure) {
  std::signal(SIGPIPE, SIG_IGN);  // as the tool does
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);  // the reader is gone, as `head` goes after its lines
  EXPECT_EQ(WriteOutput(ends[1], std::string(100000, 'x')), 0);
  ::close(ends[1]);
}

}  // namespace
}  // namespace pradima::cli
