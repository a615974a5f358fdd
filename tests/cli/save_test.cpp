// How a file reaches the disk: a temporary of a short name, renamed into
// place, the folder flushed after; nothing half-made left by a failure or a
// signal, and errors that name the workbook.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include "base/error.h"
#include "base/files.h"
#include "base/xml_text.h"
#include "cli/tool_main.h"
#include "session/conversions.h"
#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

std::vector<std::string> FileNames(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string TypeOf(const fs::path& book) {
  return ToText(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3")->Get(6, 2));
}

// What the placing calls did, and what the folder sync answers.
std::vector<std::string> placed;
int syncAnswer = 0;
int signalToRaise = 0;

int RecordMove(const char* from, const char* to, bool replace) {
  placed.push_back(std::string(replace ? "rename to " : "rename anew to ") + fs::path(to).filename().string());
  return SystemPlacingCalls().move(from, to, replace);
}
int RecordSync(const char* folder) {
  placed.push_back("sync " + std::string(folder));
  return syncAnswer;
}
int RaiseThenMove(const char* from, const char* to, bool replace) {
  std::raise(signalToRaise);
  return SystemPlacingCalls().move(from, to, replace);
}
int RaiseThenSync(const char* folder) {
  std::raise(signalToRaise);
  return SystemPlacingCalls().syncFolder(folder);
}

TEST_F(CliTest, TheFolderIsFlushedAfterTheRenameThatPutsTheFileInPlace) {
  struct Case {
    bool replace;
    int syncError;
    const char* error;  // nullptr: none
  };
  const Case cases[] = {
      {true, 0, nullptr},
      {false, 0, nullptr},
      {true, EIO, "f.txt is written, but its folder cannot be flushed to the disk, so a power loss may still lose it"},
      {false, ENOSPC, "f.txt is written, but its folder cannot be flushed"},
      {true, EINVAL, nullptr},  // a file system that cannot flush a folder
  };
  const fs::path file = directory / "f.txt";
  const auto write = [](const std::string& temporary) { std::ofstream(temporary) << "new"; };
  for (const Case& c : cases) {
    fs::remove(file);
    if (c.replace) std::ofstream(file) << "old";
    placed.clear();
    syncAnswer = c.syncError;
    const PlacingCalls before = SetPlacingCalls({RecordMove, RecordSync});
    std::string error;
    try {
      if (c.replace) ReplaceFile(file, file.string(), write);
      else CreateNewFile(file, file.string(), write);
    } catch (const Error& e) {
      error = e.what();
    }
    SetPlacingCalls(before);
    EXPECT_EQ(placed, (std::vector<std::string>{c.replace ? "rename to f.txt" : "rename anew to f.txt",
                                                "sync " + directory.string()}));
    EXPECT_EQ(Slurp(file), "new");
    EXPECT_EQ(FileNames(directory), std::vector<std::string>{"f.txt"});
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    } else {
      EXPECT_EQ(error, "");
    }
  }
  std::ofstream(file) << "old";  // as if made between the check and the rename
  EXPECT_THROW(CreateNewFile(file, file.string(), write), Error);
  EXPECT_EQ(Slurp(file), "old");
  EXPECT_EQ(FileNames(directory), std::vector<std::string>{"f.txt"});
}

// The tool in a child process that a signal stops at a chosen point of a save.
TEST_F(CliTest, ASignalDuringASaveRemovesTheTemporaryBeforeTheRunEnds) {
  struct Case {
    int signal;
    PlacingCalls calls;
    const char* command;  // numbers or init
    bool saved;
  };
  const PlacingCalls system = SystemPlacingCalls();
  const Case cases[] = {
      {SIGINT, {RaiseThenMove, system.syncFolder}, "numbers", false},
      {SIGTERM, {RaiseThenMove, system.syncFolder}, "init", false},
      {SIGHUP, {system.move, RaiseThenSync}, "numbers", true},
  };
  for (const Case& c : cases) {
    const bool init = std::strcmp(c.command, "init") == 0;
    const fs::path book = init ? directory / "new.xlsx" : Created();
    const std::string before = Slurp(Created());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SetPlacingCalls(c.calls);
      signalToRaise = c.signal;
      std::string args[] = {"pradima", c.command, book.string(), "3 Con"};
      char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data()};
      ::_exit(RunTool(init ? 3 : 4, argv, "http://127.0.0.1:9", SystemLocalTime));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.command << " ended with " << status;
    EXPECT_EQ(FileNames(directory), std::vector<std::string>{"created.xlsx"}) << "no temporary, no half a workbook";
    if (c.saved) {
      EXPECT_EQ(TypeOf(book), "3 Con");
    } else {
      EXPECT_EQ(Slurp(Created()), before);
    }
  }
}

TEST_F(CliTest, AWorkbookOfTheLongestNameIsMadeAndSavedWithoutATrace) {
  const std::string letter = "ữ";  // three bytes: a cut name must not split it
  std::string vietnamese = "a";
  while (vietnamese.size() + letter.size() + 5 <= 255) vietnamese += letter;
  const std::string names[] = {std::string(250, 'a') + ".xlsx", std::string(235, 'b') + ".xlsm", vietnamese + ".xlsx",
                               vietnamese.substr(0, vietnamese.size() - 3) + "ư.xlsx"};
  for (const std::string& name : names) {
    const fs::path book = directory / name;
    const Outcome made = Run({"init", book.string()});
    ASSERT_EQ(made.code, 0) << made.err;
    const Outcome saved = Run({"numbers", book.string(), "3 Con"});
    ASSERT_EQ(saved.code, 0) << saved.err;
    EXPECT_EQ(TypeOf(book), "3 Con");
    const std::string prefix = TemporaryPrefix(book);
    EXPECT_LE(prefix.size(), 67u) << name;
    EXPECT_TRUE(UnstorableTextProblem(prefix) == std::nullopt) << "whole characters only: " << prefix;
    fs::remove(book);
    EXPECT_EQ(FileNames(directory), std::vector<std::string>{}) << "no temporary is left";
  }
  EXPECT_NE(TemporaryPrefix(directory / names[2]), TemporaryPrefix(directory / names[3]));
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
  const Outcome saved = Run({"numbers", book.string(), "3 Con"});
  const Outcome made = Run({"init", fresh.string()});
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous);
  for (const Outcome& r : {saved, made}) {
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.find(".pradima-"), std::string::npos) << r.err;
  }
  EXPECT_EQ(saved.err, "pradima: cannot write " + book.string() + ": File too large\n");
  EXPECT_EQ(made.err, "pradima: cannot write " + fresh.string() + ": File too large\n");
  EXPECT_EQ(Slurp(book), before);
  EXPECT_EQ(FileNames(directory), std::vector<std::string>{"created.xlsx"});
}

}  // namespace
}  // namespace pradima::cli
