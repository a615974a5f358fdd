// pradima update as people run it: its --connections option, its progress
// line, a request that fails and a signal that stops it.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "support/cli_fixture.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima::cli {
namespace {

using namespace std::chrono_literals;
using testing::FixtureRequest;
using testing::FixtureResponse;

// update appends every missing day over 1 to 8 connections, needing no control sheet, on a terminal with one
// line of progress rewritten in place. SIGTERM or SIGINT (Ctrl-C), or a failed request, stops it: it keeps the
// complete days before, or with none the workbook byte for byte, and says how far it got.
TEST_F(CliTest, UpdateAppendsTheMissingDaysAndAStopKeepsTheDaysBeforeIt) {
  struct Case {
    int connections;
    bool terminal;
    int signal;         // sent once every connection waits for a page from 11 January on
    CivilDate failing;  // the day whose pages get no answer
    int code;
    int32_t daysKept;
    std::vector<std::string> said;  // on standard error
    int lines;                      // of standard error
  };
  const std::string stop = " 10 day(s) added, up to 10/01/2005, and saved; run update again to continue\n";
  const std::string failed = "pradima: Miền Bắc, 0", kept = "\npradima: 4 day(s) added, up to 04/01/2005, and saved";
  // The signals come first, while no run before has left a handler for them: one the run did not catch
  // ends the test.
  const Case cases[] = {
      {1, false, SIGTERM, {}, 143, 10, {"pradima: stopped by SIGTERM:" + stop}, 1},
      {4, false, SIGINT, {}, 130, 10, {"pradima: stopped by SIGINT:" + stop}, 1},
      {1, false, 0, {}, 0, 20, {"20 day(s) added\n"}, 1},
      {8, true, 0, {}, 0, 20, {"\r20/20 days, 20/01/2005, time left 0:00   \n20 day(s) added\n"}, 2},
      {4, false, 0, {2005, 1, 5}, 1, 4, {failed + "5/01/2005: GET ", kept}, 2},
      {4, false, 0, {2005, 1, 1}, 1, 0, {failed + "1/01/2005: GET "}, 1},
  };
  const fs::path noControl = CreatedWithCodeName("no-control.xlsx", 3, "Notes");
  const std::string before = Slurp(noControl);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said.front());
    const fs::path book = directory / "book.xlsx";
    fs::remove(book);
    fs::copy_file(noControl, book);
    // With a signal to come, the pages from 11 January on are not answered while the run goes on. Once every
    // connection waits for one, every page before is here, and the signal comes: the run then keeps exactly
    // the ten days before.
    std::mutex mutex;
    std::condition_variable changed;
    int waiting = 0;
    bool released = false;
    testing::FixtureSite site([&](const FixtureRequest& request) {
      const CivilDate day = testing::ParsePageQuery(request.target).day;
      if (day == c.failing) return FixtureResponse{200, "", true};
      std::unique_lock lock(mutex);
      if (!c.signal || released || day.day < 11) return testing::StandardPages(request);
      if (++waiting == c.connections) ::kill(::getpid(), c.signal);
      changed.wait_for(lock, 30s, [&] { return released; });
      return FixtureResponse{200, "", true};
    });
    const Outcome r = Run({"update", book.string(), "--connections", std::to_string(c.connections)}, site.base_url(),
                          {{2005, 1, 20}, 19, 0, 0}, c.terminal);
    {
      std::lock_guard lock(mutex);
      released = true;
    }
    changed.notify_all();
    EXPECT_EQ(r.code, c.code);
    for (const std::string& said : c.said) EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.lines) << r.err;
    if (c.code == 0) {
      EXPECT_LE(site.connections(), c.connections);
      EXPECT_EQ(site.request_count(), 60u) << "each page fetched once";
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 3) << "no temporary left";
    const auto results = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet1");
    EXPECT_EQ(results->LastRowAtOrAbove(kMaxRows, 1), 4 + c.daysKept);
    if (c.daysKept == 0) {
      EXPECT_TRUE(Slurp(book) == before);
      continue;
    }
    const CivilDate last{2005, 1, c.daysKept};
    EXPECT_EQ(results->Get(4 + c.daysKept, 1), Value::Date(SerialFromCivil(last)));
    EXPECT_EQ(results->Get(4 + c.daysKept, 3), Value::Text(testing::FixturePrize(last, '2', 1, 1)));
  }
}

}  // namespace
}  // namespace pradima::cli
