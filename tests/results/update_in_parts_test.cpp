// The update that keeps every complete day, against a full run's rows: from a
// scripted source with failures and stops at different days and regions and
// blocks of different heights, and over several connections at once against
// the fixture site (the connections, the window ahead, failures and stops).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <thread>

#include "base/error.h"
#include "results/concurrent_pages.h"
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
using testing::FirstRows;
using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

Clock At(const CivilDate& day) {
  return [day] { return LocalDateTime{day, 19, 0, 0}; };
}

// A standard workbook whose results start on 1 January 2005.
struct Book {
  Book() {
    session.SetWorkbook(book);
    session.BindSheets();
    results = book->SheetByCodeName("Sheet1");
  }
  int32_t days() const { return results->LastRowAtOrAbove(kMaxRows, 1) - 4; }
  // Rows 5 on of the results sheet, a day each, every column.
  Block Days(int32_t count) const { return results->Read(*ParseAddress("A5:FF" + std::to_string(4 + count))); }
  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook({2005, 1, 1});
  Session session;
  std::shared_ptr<MemorySheet> results;
};

// The fixture site's pages without the network: the URL's query names the page.
class FixturePages final : public PageFetcher {
 public:
  std::string GetPageText(const std::string& url) override {
    const testing::PageQuery query = testing::ParsePageQuery(url.substr(url.find("/tra-cuu")));
    return testing::StandardPage(query.day, query.region);
  }
};

// How page `index` of the plan goes wrong, if it does.
enum class Trouble { None, RequestFails, DamagedPage, Stop, OutOfMemory };

class ScriptedSource final : public PageSource {
 public:
  ScriptedSource(size_t troubledPage, Trouble trouble) : troubledPage_(troubledPage), trouble_(trouble) {}
  void Start(const PagePlan& plan) override { plan_.emplace(plan); }
  std::optional<std::string> Page(size_t index) override {
    EXPECT_EQ(index, asked_++) << "pages are asked for in order, once each";
    if (index == troubledPage_) {
      switch (trouble_) {
        case Trouble::RequestFails: throw Error(kDownloadFailure, "GET " + plan_->Url(index) + " failed: refused");
        case Trouble::DamagedPage: return "<td class=\"giaidb\"><div>1</div></table></tr></table>";
        case Trouble::Stop: return std::nullopt;
        case Trouble::OutOfMemory: throw std::bad_alloc();
        case Trouble::None: break;
      }
    }
    return FixturePages().GetPageText(plan_->Url(index));
  }

 private:
  size_t troubledPage_;
  Trouble trouble_;
  size_t asked_ = 0;
  std::optional<PagePlan> plan_;
};

constexpr int32_t kDays = 10;  // 1 to 10 January 2005
const Clock kNow = At({2005, 1, kDays});

// The rows of a run one page after another, as the workbook's update makes them.
Block SequentialRows(const CivilDate& today) {
  Book book;
  FixturePages pages;
  UpdateResults(book.session, pages, At(today), "http://site");
  return book.Days(book.days());
}

size_t PageOf(int day, size_t region) { return static_cast<size_t>(day - 1) * PagePlan::kPagesPerDay + region; }

// Any failure, even one that is no error of the run's own (memory running out).
TEST(UpdateResultsInParts, AFailureKeepsTheDaysBeforeItExactlyAsAFullRunWritesThem) {
  const Block full = SequentialRows({2005, 1, kDays});
  struct Case {
    int day;        // the failing day of January
    size_t region;  // 0 North, 1 Central, 2 South
    Trouble trouble;
    int32_t daysPerWrite;
    int number;  // 0: out of memory
    std::string description;
  };
  const Case cases[] = {
      {5, 1, Trouble::RequestFails, 100, kDownloadFailure,
       "Miền Trung, 05/01/2005: GET http://site/tra-cuu-ket-qua-xo-so.html?mien=3&thu=0&ngay=5&thang=1&nam=2005 "
       "failed: refused"},
      {1, 0, Trouble::DamagedPage, 100, 9,
       "Miền Bắc, 01/01/2005: the North page has 2 pieces, fewer than its 27 prizes"},
      {8, 2, Trouble::RequestFails, 3, kDownloadFailure, "Miền Nam, 08/01/2005: GET http://site/"},
      {7, 0, Trouble::DamagedPage, 3, 9, "Miền Bắc, 07/01/2005: the North page has 2 pieces"},
      {10, 2, Trouble::RequestFails, 1, kDownloadFailure, "Miền Nam, 10/01/2005: GET "},
      {6, 2, Trouble::OutOfMemory, 4, 0, "out of memory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    Book book;
    ScriptedSource source(PageOf(c.day, c.region), c.trouble);
    try {
      UpdateResultsInParts(book.session, source, kNow, "http://site", {}, c.daysPerWrite);
      ADD_FAILURE() << "the update did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(std::string(e.what()).rfind(c.description, 0), 0u) << e.what();
    } catch (const std::bad_alloc&) {
      EXPECT_EQ(c.number, 0);
    }
    const int32_t kept = c.day - 1;
    EXPECT_EQ(book.days(), kept);
    if (kept > 0) {
      EXPECT_EQ(book.Days(kept), FirstRows(full, kept));
    }
    EXPECT_EQ(book.book->calls("Value.set"), (kept + c.daysPerWrite - 1) / c.daysPerWrite) << "one write per block";
  }
}

// The run after the stop writes in blocks of its own and reports each day.
TEST(UpdateResultsInParts, AStopKeepsTheCompleteDaysAndTheNextRunEndsAsAnUninterruptedOne) {
  const Block full = SequentialRows({2005, 1, kDays});
  struct Case {
    size_t stopPage;
    int32_t daysPerWrite;
    int32_t kept;
  };
  const Case cases[] = {{PageOf(1, 0), 100, 0}, {PageOf(6, 1), 1, 5}, {PageOf(7, 0), 4, 6}, {PageOf(10, 2), 2, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stopPage);
    Book book;
    ScriptedSource stopping(c.stopPage, Trouble::Stop);
    const UpdateOutcome stopped = UpdateResultsInParts(book.session, stopping, kNow, "http://site", {}, c.daysPerWrite);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.daysAdded, c.kept);
    EXPECT_EQ(book.days(), c.kept);
    if (c.kept > 0) {
      EXPECT_EQ(book.Days(c.kept), FirstRows(full, c.kept));
    }

    ScriptedSource rest(SIZE_MAX, Trouble::None);
    std::vector<int> reported;
    book.book->ResetCalls();
    const UpdateOutcome finished = UpdateResultsInParts(
        book.session, rest, kNow, "http://site",
        [&](int done, int total, const CivilDate& day) {
          EXPECT_EQ(total, kDays - c.kept);
          EXPECT_EQ(day, (CivilDate{2005, 1, c.kept + done}));
          reported.push_back(done);
        },
        c.daysPerWrite);
    EXPECT_FALSE(finished.stopped);
    EXPECT_EQ(finished.daysAdded, kDays - c.kept);
    EXPECT_EQ(reported.size(), static_cast<size_t>(kDays - c.kept));
    EXPECT_EQ(book.book->calls("Value.set"), (kDays - c.kept + c.daysPerWrite - 1) / c.daysPerWrite);
    EXPECT_EQ(book.Days(kDays), full);
    EXPECT_EQ(book.days(), kDays);
  }
}

ConcurrentPageSource::FetcherMaker CurlFetchers() {
  return [](const std::atomic<bool>& cancel) { return std::make_unique<CurlPageFetcher>(60, &cancel); };
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
  source.Start(PagePlan(site.base_url(), DaysFromCivil({2005, 1, 1}), 100));
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
      return c.answer(request, static_cast<size_t>(DaysFromCivil(query.day) - DaysFromCivil({2005, 1, 1})) * 3 + region);
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
      EXPECT_EQ(book.Days(c.kept), FirstRows(expected, c.kept));
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
  EXPECT_EQ(book.Days(11), FirstRows(expected, 11));

  stop = false;
  ConcurrentPageSource rest(4, CurlFetchers());
  const UpdateOutcome finished = UpdateResultsInParts(book.session, rest, At(today), site.base_url());
  EXPECT_FALSE(finished.stopped);
  EXPECT_EQ(book.days(), 31);
  EXPECT_EQ(book.Days(31), expected);
}

}  // namespace
}  // namespace pradima
