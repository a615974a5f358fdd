// pradima update as people run it: stopped by a signal in its own process,
// its --connections option and its progress line.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"
#include "session/address.h"
#include "support/first_rows.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

extern char** environ;

namespace pradima::cli {
namespace {

using namespace std::chrono_literals;
using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

const LocalDateTime kNow{{2005, 1, 20}, 19, 0, 0};  // 20 days to fetch
constexpr const char* kNowText = "2005-01-20 19:00";

// The test build of the tool (see tool_on_test_site.cpp) in a process of its own.
class ToolProcess {
 public:
  ToolProcess(const std::vector<std::string>& args, const std::string& site, const fs::path& errors) {
    std::vector<std::string> environment = {"PRADIMA_TEST_SITE=" + site, std::string("PRADIMA_TEST_NOW=") + kNowText};
    for (char** entry = environ; *entry; ++entry)
      if (std::strncmp(*entry, "PRADIMA_TEST_", 13) != 0) environment.emplace_back(*entry);
    std::vector<std::string> argv = {PRADIMA_TEST_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // Default handling and no blocked signals, whatever the test runner has.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int error =
        posix_spawn(&pid_, argv[0].c_str(), &files, &attributes, Pointers(argv).data(), Pointers(environment).data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (error != 0) ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(error);
  }
  ~ToolProcess() {
    if (pid_ > 0 && !exit_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  void Signal(int number) const { kill(pid_, number); }

  // The exit code, or none if the process has not ended within 20 seconds
  // or ended by a signal.
  std::optional<int> Wait() {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(5ms);
    }
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    if (!WIFEXITED(status)) return std::nullopt;
    return exit_;
  }

 private:
  static std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
  }
  pid_t pid_ = -1;
  std::optional<int> exit_;
};

// Rows 5 on of the results sheet of a workbook file, a day each.
Block SavedDays(const fs::path& book, int32_t count) {
  const auto results = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet1");
  EXPECT_EQ(results->LastRowAtOrAbove(kMaxRows, 1), 4 + count) << "the days saved";
  return results->Read(*ParseAddress("A5:FF" + std::to_string(4 + count)));
}

TEST_F(CliTest, ASignalStopsTheUpdateWhichSavesTheCompleteDaysAndTheNextOneFinishes) {
  // An uninterrupted update, for its rows.
  const fs::path reference = directory / "reference.xlsx";
  ASSERT_EQ(Run({"init", reference.string()}).code, 0);
  {
    FixtureSite site(testing::StandardPages);
    ASSERT_EQ(Run({"update", reference.string()}, site.base_url(), kNow).code, 0);
  }
  const Block expected = SavedDays(reference, 20);

  struct Case {
    int signal;
    int connections;
    const char* said;
  };
  const Case cases[] = {
      {SIGINT, 4,
       "pradima: stopped by SIGINT: 10 day(s) added, up to 10/01/2005, and saved; run update again to "
       "continue\n"},
      {SIGTERM, 1,
       "pradima: stopped by SIGTERM: 10 day(s) added, up to 10/01/2005, and saved; run update again to "
       "continue\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    const fs::path book = directory / "book.xlsx";
    fs::remove(book);
    ASSERT_EQ(Run({"init", book.string()}).code, 0);
    // The pages from 11 January on are not answered while the run goes on.
    // Once every connection waits for one, every page before is here, and
    // the signal comes: the run then keeps exactly the ten days before.
    std::mutex mutex;
    std::condition_variable changed;
    int waiting = 0;
    bool released = false;
    FixtureSite site([&](const FixtureRequest& request) {
      std::unique_lock lock(mutex);
      if (released || testing::ParsePageQuery(request.target).day.day < 11) return testing::StandardPages(request);
      ++waiting;
      changed.notify_all();
      changed.wait_for(lock, 30s, [&] { return released; });
      return FixtureResponse{200, "", true};
    });
    const fs::path errors = directory / "errors.txt";
    {
      ToolProcess tool({"update", book.string(), "--connections", std::to_string(c.connections)}, site.base_url(),
                       errors);
      {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 20s, [&] { return waiting >= c.connections; })) << Slurp(errors);
      }
      tool.Signal(c.signal);
      const std::optional<int> code = tool.Wait();
      {
        std::lock_guard lock(mutex);
        released = true;
      }
      changed.notify_all();
      ASSERT_TRUE(code) << "the tool did not end: " << Slurp(errors);
      EXPECT_EQ(*code, 128 + c.signal);
    }
    EXPECT_EQ(Slurp(errors), c.said);
    EXPECT_EQ(SavedDays(book, 10), testing::FirstRows(expected, 10));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 3) << "no temporary left";

    ToolProcess again({"update", book.string()}, site.base_url(), errors);
    EXPECT_EQ(again.Wait(), 0);
    EXPECT_EQ(Slurp(errors), "10 day(s) added\n");
    EXPECT_EQ(SavedDays(book, 20), expected);
  }
}

TEST_F(CliTest, UpdateTakesOneToEightConnections) {
  for (const int connections : {1, 8}) {
    const fs::path fresh = directory / ("fresh-" + std::to_string(connections) + ".xlsx");
    ASSERT_EQ(Run({"init", fresh.string()}).code, 0);
    FixtureSite site(testing::StandardPages);
    const Outcome r = Run({"update", fresh.string(), "--connections", std::to_string(connections)}, site.base_url(),
                          {{2005, 1, 3}, 19, 0, 0});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "3 day(s) added\n");
    EXPECT_LE(site.connections(), connections);
    EXPECT_EQ(site.request_count(), 9u);
  }
}

// On a terminal the update keeps one line up to date, and ends it.
TEST_F(CliTest, TheProgressLineEndsWithTheLastDayAndNoTimeLeft) {
  const fs::path book = Created();
  FixtureSite site(testing::StandardPages);
  std::ostringstream out, err;
  const LocalDateTime now{{2005, 1, 10}, 19, 0, 0};
  ASSERT_EQ(RunCommand(
                {"update", book.string()}, site.base_url(), [now] { return now; }, out, err, true),
            0)
      << err.str();
  const std::string said = err.str();
  EXPECT_EQ(said.rfind("\r", 0), 0u) << said;
  EXPECT_NE(said.find("\r10/10 days, 10/01/2005, time left 0:00   \n10 day(s) added\n"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.find("\n10 day(s)")) << "one line, rewritten in place";
}

}  // namespace
}  // namespace pradima::cli
