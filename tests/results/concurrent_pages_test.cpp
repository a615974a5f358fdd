// Pages fetched over several connections at once, against the fixture site:
// the rows, the connections, the window ahead, failures and stops.
#include "results/concurrent_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "base/error.h"
#include "results/curl_fetcher.h"
#include "results/update_results.h"
#include "session/address.h"
#include "session/standard_workbook.h"
#include "support/first_rows.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using namespace std::chrono_literals;
using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

const CivilDate kFirstDay{2005, 1, 1};

Clock At(const CivilDate& day) {
  return [day] { return LocalDateTime{day, 19, 0, 0}; };
}

ConcurrentPageSource::FetcherMaker CurlFetchers() {
  return [](const std::atomic<bool>& cancel) { return std::make_unique<CurlPageFetcher>(60, &cancel); };
}

struct Book {
  Book() {
    session.SetWorkbook(book);
    session.BindSheets();
    results = book->SheetByCodeName("Sheet1");
  }
  int32_t days() const { return results->LastRowAtOrAbove(kMaxRows, 1) - 4; }
  Block Days(int32_t count) const { return results->Read(*ParseAddress("A5:FF" + std::to_string(4 + count))); }
  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook(kFirstDay);
  Session session;
  std::shared_ptr<MemorySheet> results;
};

// The rows of a run one page after another, as the workbook's update makes them.
Block SequentialRows(const CivilDate& today) {
  FixtureSite site(testing::StandardPages);
  Book book;
  CurlPageFetcher fetcher;
  UpdateResults(book.session, fetcher, At(today), site.base_url());
  return book.Days(book.days());
}

// Waits for a condition that other threads make true, for at most 20 seconds.
bool WaitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(ConcurrentPageSource, GivesTheRowsOfTheSequentialUpdateInOrderWhateverOrderTheAnswersCome) {
  const CivilDate today{2005, 2, 28};  // 59 days
  const Block expected = SequentialRows(today);
  ASSERT_EQ(expected.rows(), 59);
  for (const int connections : {1, 4, 8}) {
    SCOPED_TRACE(connections);
    // Each answer waits a while of its own, so answers overtake each other.
    FixtureSite site([](const FixtureRequest& request) {
      std::this_thread::sleep_for(std::chrono::microseconds(std::hash<std::string>{}(request.target) % 3000));
      return testing::StandardPages(request);
    });
    Book book;
    ConcurrentPageSource source(connections, CurlFetchers());
    const UpdateOutcome outcome = UpdateResultsInParts(book.session, source, At(today), site.base_url(), {}, 7);
    EXPECT_EQ(outcome.daysAdded, 59);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(book.Days(59), expected);
    EXPECT_EQ(book.days(), 59);
    EXPECT_EQ(site.request_count(), 59u * 3) << "each page once";
    EXPECT_LE(site.connections(), connections) << "one connection per fetcher, kept alive";
    EXPECT_GE(site.connections(), std::min(connections, 2)) << "pages fetched side by side";
  }
}

TEST(ConcurrentPageSource, FetchesNoFurtherAheadThanItsWindow) {
  FixtureSite site(testing::StandardPages);
  ConcurrentPageSource source(2, CurlFetchers(), {}, 2);
  source.Start(PagePlan(site.base_url(), DaysFromCivil(kFirstDay), 100));
  const size_t window = 2 * PagePlan::kPagesPerDay;
  ASSERT_TRUE(WaitFor([&] { return site.request_count() >= window; }));
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(site.request_count(), window) << "nothing beyond the window while no page is taken";
  ASSERT_TRUE(source.Page(0));
  ASSERT_TRUE(WaitFor([&] { return site.request_count() >= window + 1; }));
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(site.request_count(), window + 1);
}

TEST(ConcurrentPageSource, AFailureStopsNewRequestsAndTheEarliestFailureIsReported) {
  const Block expected = SequentialRows({2005, 1, 20});
  struct Case {
    const char* name;
    int connections;
    std::function<FixtureResponse(const FixtureRequest&, size_t page)> answer;
    std::string description;
    int32_t kept;
    std::optional<size_t> mostRequests;
  };
  const auto page = [](const FixtureRequest& request) { return testing::StandardPages(request); };
  const Case cases[] = {
      // Day 1's North page is slow; its Central page, the first request of
      // its connection, fails at once: no further page is asked for.
      {"no new requests", 2,
       [&](const FixtureRequest& r, size_t p) {
         if (p == 0) std::this_thread::sleep_for(300ms);
         return p == 1 ? FixtureResponse{200, "", true} : page(r);
       },
       "Miền Trung, 01/01/2005: GET ", 0, 2},
      // Day 3's Central page fails first, day 2's a little later: day 2's
      // failure is the one said. (libcurl asks again once when a connection
      // it kept alive is closed on it, so the requests are not counted.)
      {"earliest failure", 4,
       [&](const FixtureRequest& r, size_t p) {
         if (p == 4) std::this_thread::sleep_for(200ms);
         return p == 4 || p == 7 ? FixtureResponse{200, "", true} : page(r);
       },
       "Miền Trung, 02/01/2005: GET ", 1, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureSite site([&c](const FixtureRequest& request) {
      const testing::PageQuery query = testing::ParsePageQuery(request.target);
      const size_t region = query.region == '2' ? 0 : query.region == '3' ? 1 : 2;
      return c.answer(request, static_cast<size_t>(DaysFromCivil(query.day) - DaysFromCivil(kFirstDay)) * 3 + region);
    });
    Book book;
    try {
      ConcurrentPageSource source(c.connections, CurlFetchers());
      UpdateResultsInParts(book.session, source, At({2005, 1, 20}), site.base_url());
      ADD_FAILURE() << "the update did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.description, 0), 0u) << e.what();
    }
    EXPECT_EQ(book.days(), c.kept);
    if (c.kept > 0) {
      EXPECT_EQ(book.Days(c.kept), testing::FirstRows(expected, c.kept));
    }
    if (c.mostRequests) {
      EXPECT_LE(site.request_count(), *c.mostRequests);
    }
  }
}

// A stop keeps the complete days; the pages of a stopped day are not waited for.
TEST(ConcurrentPageSource, AStoppedRunKeepsItsCompleteDaysAndTheNextRunEndsAsAnUninterruptedOne) {
  const CivilDate today{2005, 1, 31};
  const Block expected = SequentialRows(today);
  constexpr int kConnections = 4;
  // The pages from day 12 on are not answered until the run has stopped. The
  // stop comes once every connection waits for one of them, when every page
  // before day 12 is here: the run then ends with exactly 11 days.
  std::mutex mutex;
  std::condition_variable released;
  bool stopped = false;
  int waiting = 0;
  std::atomic<bool> stop = false;
  FixtureSite site([&](const FixtureRequest& request) {
    std::unique_lock lock(mutex);
    if (!stopped && DaysFromCivil(testing::ParsePageQuery(request.target).day) >= DaysFromCivil({2005, 1, 12})) {
      if (++waiting == kConnections) stop = true;
      released.wait_for(lock, 20s, [&] { return stopped; });
      // The run that asked has given up and gone: no answer.
      return FixtureResponse{200, "", true};
    }
    return testing::StandardPages(request);
  });
  Book book;
  UpdateOutcome outcome;
  const auto started = std::chrono::steady_clock::now();
  {
    ConcurrentPageSource source(kConnections, CurlFetchers(), [&] { return stop.load(); });
    outcome = UpdateResultsInParts(book.session, source, At(today), site.base_url(), {}, 5);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s) << "requests under way are given up";
  {
    std::lock_guard lock(mutex);
    stopped = true;
  }
  released.notify_all();
  EXPECT_TRUE(outcome.stopped);
  EXPECT_EQ(outcome.daysAdded, 11);
  EXPECT_EQ(book.days(), 11);
  EXPECT_EQ(book.Days(11), testing::FirstRows(expected, 11));

  stop = false;
  ConcurrentPageSource rest(4, CurlFetchers());
  const UpdateOutcome finished = UpdateResultsInParts(book.session, rest, At(today), site.base_url());
  EXPECT_FALSE(finished.stopped);
  EXPECT_EQ(book.days(), 31);
  EXPECT_EQ(book.Days(31), expected);
}

}  // namespace
}  // namespace pradima
