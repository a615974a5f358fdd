// How a file reaches the disk: a temporary of a short name, renamed into
// place, the folder flushed after; nothing half-made left by a failure or a
// signal, and errors that name the workbook.
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>

#include "base/error.h"
#include "base/files.h"
#include "base/xml_text.h"
#include "cli/tool_main.h"
#include "session/conversions.h"
#include "support/cli_fixture.h"
#include "support/error_of.h"

namespace pradima::cli {
namespace {

std::string TypeOf(const fs::path& book) {
  return ToText(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3")->Get(6, 2));
}

// The placing calls, recorded; a signal raised before one of them; what the folder sync answers.
std::vector<std::string> placed;
int signalToRaise = 0, syncAnswer = 0;
bool raiseAtSync = false;

int Move(const char* from, const char* to, bool replace) {
  placed.push_back(std::string(replace ? "rename to " : "rename anew to ") + fs::path(to).filename().string());
  if (signalToRaise && !raiseAtSync) std::raise(signalToRaise);
  return SystemPlacingCalls().move(from, to, replace);
}
int Sync(const char* folder) {
  placed.push_back("sync " + std::string(folder));
  if (signalToRaise && raiseAtSync) std::raise(signalToRaise);
  return syncAnswer;
}

TEST_F(CliTest, TheFolderIsFlushedAfterTheRenameThatPutsTheFileInPlace) {
  const fs::path file = directory / "f.txt";
  const auto write = [](const std::string& temporary) { std::ofstream(temporary) << "new"; };
  const PlacingCalls system = SetPlacingCalls({Move, Sync});
  std::ofstream(file) << "old";
  syncAnswer = EINVAL;  // a file system that cannot flush a folder: the file is kept as any file there
  ReplaceFile(file, "f.txt", write);
  fs::remove(file);
  syncAnswer = ENOSPC;
  EXPECT_EQ(testing::ErrorOf([&] { CreateNewFile(file, "f.txt", write); }).second,
            "f.txt is written, but its folder cannot be flushed to the disk, so a power loss may "
            "still lose it: No space left on device");
  SetPlacingCalls(system);
  const std::string sync = "sync " + directory.string();
  EXPECT_EQ(placed, (std::vector<std::string>{"rename to f.txt", sync, "rename anew to f.txt", sync}));
  EXPECT_EQ(Slurp(file), "new");
  std::ofstream(file) << "old";  // as if made between the check and the rename
  EXPECT_THROW(CreateNewFile(file, "f.txt", write), Error);
  EXPECT_EQ(Slurp(file), "old");
  EXPECT_EQ(FileNames(directory), std::vector<std::string>{"f.txt"});
}

// The tool in a child process that a signal stops at a chosen point of a save.
TEST_F(CliTest, ASignalDuringASaveRemovesTheTemporaryBeforeTheRunEnds) {
  struct Case {
    int signal;
    bool atSync;  // after the rename, else before it
    std::string command;
  };
  const Case cases[] = {{SIGINT, false, "numbers"}, {SIGTERM, false, "init"}, {SIGHUP, true, "numbers"}};
  const std::string before = Slurp(Created());
  for (const Case& c : cases) {
    const std::string book = (c.command == "init" ? directory / "new.xlsx" : Created()).string();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SetPlacingCalls({Move, Sync});
      signalToRaise = c.signal;
      raiseAtSync = c.atSync;
      std::string args[] = {"pradima", c.command, book, "3 Con"};
      char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data()};
      ::_exit(RunTool(c.command == "init" ? 3 : 4, argv, "http://127.0.0.1:9", SystemLocalTime));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.command << " ended with " << status;
    EXPECT_EQ(FileNames(directory), std::vector<std::string>{"created.xlsx"}) << "no temporary, no half a workbook";
    if (c.atSync) {
      EXPECT_EQ(TypeOf(book), "3 Con");
    } else {
      EXPECT_EQ(Slurp(Created()), before);
    }
  }
}

TEST_F(CliTest, AWorkbookOfTheLongestNameOrAnyTypeIsMadeAndSavedWithoutATrace) {
  std::string vietnamese = "a";  // then letters of three bytes: a cut name must not split one
  while (vietnamese.size() + 8 <= 255) vietnamese += "ữ";
  const std::string names[] = {std::string(250, 'a') + ".xlsx", vietnamese + ".xlsx",
                               vietnamese.substr(0, vietnamese.size() - 3) + "ư.xlsx", "SHOUT.XLSM"};
  for (const std::string& name : names) {
    const fs::path book = directory / name;
    ASSERT_EQ(Run({"init", book.string()}).code, 0);
    // An xlsm, whatever the case of its name, gets the type of a workbook with macros.
    const std::string type =
        name.ends_with(".XLSM") ? "ms-excel.sheet.macroEnabled" : "openxmlformats-officedocument.spreadsheetml.sheet";
    EXPECT_NE(ZipPackage(book.string())
                  .Read("[Content_Types].xml")
                  .find("PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd." + type + ".main+xml\"/>"),
              std::string::npos)
        << name;
    ASSERT_EQ(Run({"numbers", book.string(), "3 Con"}).code, 0);
    EXPECT_EQ(TypeOf(book), "3 Con");
    EXPECT_LE(TemporaryPrefix(book).size(), 67u) << name;
    EXPECT_EQ(UnstorableTextProblem(TemporaryPrefix(book)), std::nullopt) << "whole letters only";
    fs::remove(book);
    EXPECT_EQ(FileNames(directory), std::vector<std::string>{}) << "no temporary is left";
  }
  EXPECT_NE(TemporaryPrefix(directory / names[1]), TemporaryPrefix(directory / names[2]));
}

// A write that fails (here on a limit of the file size) says so of the
// workbook, and leaves the old workbook, or no new one.
TEST_F(CliTest, AFailedWriteNamesTheWorkbookAndLeavesNothingHalfMade) {
  const fs::path book = Created(), fresh = directory / "new.xlsx";
  const std::string before = Slurp(book);
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{4096, limit.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const Outcome saved = Run({"numbers", book.string(), "3 Con"}), made = Run({"init", fresh.string()});
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(saved.err, "pradima: cannot write " + book.string() + ": File too large\n");
  EXPECT_EQ(made.err, "pradima: cannot write " + fresh.string() + ": File too large\n");
  EXPECT_EQ(Slurp(book), before);
  EXPECT_EQ(FileNames(directory), std::vector<std::string>{"created.xlsx"});
}

}  // namespace
}  // namespace pradima::cli
