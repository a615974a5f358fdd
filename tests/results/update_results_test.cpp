// The update of the results sheet: the rows it makes of the fixture site's
// pages, the days it fetches, and what it keeps when a run fails or stops,
// one page after another and over several connections at once.
#include "results/update_results.h"

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
#include <tuple>

#include "base/error.h"
#include "results/concurrent_pages.h"
#include "results/curl_fetcher.h"
#include "session/address.h"
#include "session/standard_workbook.h"
#include "support/error_of.h"
#include "support/first_rows.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"
#include "terms/station_schedule.h"

namespace pradima {
namespace {

using namespace std::chrono_literals;
using testing::FirstRows;
using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

constexpr int32_t kHeads[7] = {30, 49, 68, 87, 106, 125, 144};

Clock At(CivilDate day, int hour = 19, int minute = 0) {
  return [=] { return LocalDateTime{day, hour, minute, 0}; };
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
  Block Days(int32_t count) const {
    return count ? results->Read(*ParseAddress("A5:FF" + std::to_string(4 + count))) : Block(0, 162);
  }
  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook({2005, 1, 1});
  Session session;
  std::shared_ptr<MemorySheet> results;
};

class UpdateResultsTest : public ::testing::Test, public Book {
 protected:
  // Runs an update against a fixture site answering with handler.
  void Run(const Clock& clock, FixtureSite::Handler handler = testing::StandardPages) {
    site = std::make_unique<FixtureSite>(std::move(handler));
    CurlPageFetcher fetcher;
    book->ResetCalls();
    UpdateResults(session, fetcher, clock, site->base_url());
  }

  void SetLastDate(const CivilDate& day) {
    results->Set(5, 1, Value::Date(SerialFromCivil(day)));
    results->ForgetChanges();
  }

  // Checks one results row against the fixture's pages for its day: only
  // the regions whose pages were served in full are expected to be filled.
  void ExpectRow(int32_t row, const CivilDate& day, bool north = true, bool central = true, bool south = true) {
    const int weekday = WeekdayOf(SerialFromCivil(day));
    const char* labels[] = {"CN", "T2", "T3", "T4", "T5", "T6", "T7"};
    Block expected(1, 162);  // A:FF
    expected(1, 1) = Value::Date(SerialFromCivil(day));
    expected(1, 2) = Value::Text(labels[weekday - 1]);
    for (int32_t c = 3; c <= 29 && north; ++c) expected(1, c) = Value::Text(testing::FixturePrize(day, '2', 1, c - 2));
    for (int b = 1; b <= 7; ++b) {
      const bool isCentral = b <= 3;
      const int station = isCentral ? b : b - 3;
      const std::string name = terms::StationName(weekday, b);
      if (!name.empty()) expected(1, kHeads[b - 1]) = Value::Text(name);
      const int stations = isCentral ? terms::CentralStationCount(weekday) : terms::SouthStationCount(weekday);
      if (!(isCentral ? central : south) || station > stations) continue;
      // column head + k holds prize 19 - k of the page's station
      for (int k = 1; k <= 18; ++k)
        expected(1, kHeads[b - 1] + k) =
            Value::Text(testing::FixturePrize(day, isCentral ? '3' : '1', station, 19 - k));
    }
    EXPECT_EQ(results->Read({{row, 1}, {row, 162}}), expected) << "row " << row;
  }

  std::unique_ptr<FixtureSite> site;
};

// An up-to-date sheet is neither fetched for nor written, though BangDai is read.
TEST_F(UpdateResultsTest, EndDateIsTodayFrom1841OtherwiseYesterday) {
  const CivilDate today{2021, 3, 8};
  const std::tuple<int, int, size_t> cases[] = {{18, 40, 0}, {18, 41, 3}, {19, 0, 3}, {0, 0, 0}, {23, 59, 3}};
  for (const auto& [hour, minute, requests] : cases) {
    SCOPED_TRACE(std::to_string(hour) + ":" + std::to_string(minute));
    results->Clear(*ParseAddress("A5:FF10"));
    SetLastDate({2021, 3, 7});
    Run(At(today, hour, minute));
    EXPECT_EQ(site->request_count(), requests);
    EXPECT_EQ(book->calls("Value.set"), requests ? 1 : 0);
    EXPECT_EQ(results->modified(), requests > 0);
    if (requests) {
      ExpectRow(6, today);
    } else {
      EXPECT_EQ(book->calls("Value.get"), 2) << "BangDai and the last date";
    }
    EXPECT_TRUE(results->Get(7, 1).IsEmpty());
  }
}

TEST_F(UpdateResultsTest, FirstRunStartsOn1January2005InRow5WithOneWrite) {
  Run(At({2005, 1, 3}));
  const std::vector<FixtureRequest> requests = site->requests();
  ASSERT_EQ(requests.size(), 9u);
  for (size_t i = 0; i < requests.size(); ++i) {
    const FixtureRequest& request = requests[i];
    EXPECT_EQ(request.target, std::string("/tra-cuu-ket-qua-xo-so.html?mien=") + "231"[i % 3] +
                                  "&thu=0&ngay=" + std::to_string(1 + i / 3) + "&thang=1&nam=2005");
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.Header("Content-Type"), "application/json");
    EXPECT_EQ(request.Header("If-Modified-Since"), "Sat, 1 Jan 2000 00:00:00 GMT");
    EXPECT_EQ(request.Header("User-Agent"), kRequestHeaders[2].value);
  }
  EXPECT_EQ(site->connections(), 1) << "one connection kept alive for the run";
  EXPECT_EQ(book->calls("Value.set"), 1);
  for (int d = 1; d <= 3; ++d) ExpectRow(4 + d, {2005, 1, d});
  EXPECT_TRUE(results->Get(8, 1).IsEmpty());
  EXPECT_EQ(results->Get(4, 1), Value::Text("Ngày")) << "the headings are never written";
}

// A page without results leaves its region of the day empty, and the rows
// are written; a failure writes nothing and says where it happened.
TEST_F(UpdateResultsTest, PagesWithoutResultsLeaveTheirRegionEmptyAndFailuresWriteNothing) {
  const CivilDate sunday{2021, 3, 7};
  std::string letters = "<td class=\"giaidb\">";  // a North page whose prizes are no numbers
  for (int prize = 1; prize <= 27; ++prize) letters += "<div>x</div>";
  struct Case {
    const char* name;
    char region;  // whose page of the Sunday is answered with `status` and `page`
    int status;   // 0: the connection is dropped
    std::string page;
    int number = 0;  // of the error, if the update fails
    const char* description = "";
    Value lastDate = Value::Date(SerialFromCivil({2021, 3, 5}));
  };
  const Case cases[] = {
      {"404", '3', 404, testing::StandardPage(sunday, '3')},
      {"304", '3', 304, testing::StandardPage(sunday, '3')},
      {"403", '1', 403, testing::StandardPage(sunday, '1')},
      {"no start marker", '3', 200, testing::StandardPage(sunday, '3', {.omitStartMarker = true})},
      {"no North start marker", '2', 200, testing::StandardPage(sunday, '2', {.omitStartMarker = true})},
      {"no numbers", '2', 200, letters + "</table></tr></table>"},
      {"no end marker", '3', 200, testing::StandardPage(sunday, '3', {.omitEndMarker = true}), 5,
       "Miền Trung, 07/03/2021: start marker without end marker"},
      {"North page a prize short", '2', 200, letters.substr(0, letters.size() - 24) + "</table></tr></table>", 9,
       "Miền Bắc, 07/03/2021: the North page has 26 pieces, fewer than its 27 prizes"},
      {"dropped connection", '1', 0, "", -2146697208, "Miền Nam, 07/03/2021: GET "},
      {"server error", '1', 500, "", -2146697208, "Miền Nam, 07/03/2021: GET "},
      {"too many requests", '3', 429, "", -2146697208, "Miền Trung, 07/03/2021: GET "},
      {"last date not a date", '1', 404, "", 13, "", Value::Text("hello")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    results->Clear(*ParseAddress("A5:FF10"));
    results->Set(5, 1, c.lastDate);
    const auto handler =
        testing::FailingPages([&](const testing::PageQuery& q) { return q.region == c.region && q.day == sunday; },
                              FixtureResponse{c.status, c.page, c.status == 0});
    if (c.number == 0) {
      Run(At({2021, 3, 8}), handler);
      ExpectRow(6, {2021, 3, 6});
      ExpectRow(7, sunday, c.region != '2', c.region != '3', c.region != '1');
      ExpectRow(8, {2021, 3, 8});
      continue;
    }
    testing::ExpectError([&] { Run(At({2021, 3, 8}), handler); }, c.number, c.description, true);
    EXPECT_EQ(book->calls("Value.set"), 0);
    EXPECT_TRUE(results->Get(6, 1).IsEmpty());
  }
  // a day with no results at all is still written, and not fetched again
  results->Clear(*ParseAddress("A6:FF10"));
  SetLastDate({2021, 3, 6});
  Run(At(sunday), [](const FixtureRequest&) { return FixtureResponse{404, ""}; });
  ExpectRow(6, sunday, false, false, false);
  Run(At(sunday));
  EXPECT_EQ(site->request_count(), 0u);
}

// The piece count chooses the position table and the station count; a page
// or a table that does not fit raises its error.
TEST(WriteStationBlocks, PieceCountChoosesTheTableAndTheStationCountAndBadPagesAndTablesFail) {
  Block full(18, 4);  // station p's prize i in piece 18 (p - 1) + i
  for (int32_t i = 1; i <= 18; ++i)
    for (int32_t p = 1; p <= 4; ++p) full(i, p) = Value::Number(18 * (p - 1) + i);
  // Writes a page of `count` pieces, the first no number, at `base` with
  // `table`, or else the full table pointing no further than the last piece:
  // the error number (0: none), with the table read and the cells filled.
  std::string read;
  int filled = 0;
  const auto write = [&](size_t count, int32_t base, const std::optional<Block>& table = std::nullopt) {
    std::vector<std::string> texts(count);
    for (size_t i = 0; i < count; ++i) texts[i] = i ? "<div>" + std::to_string(100 + i) : "<div>x";
    const std::vector<std::string_view> pieces(texts.begin(), texts.end());
    Block day(1, 162);
    try {
      WriteStationBlocks(day, 1, pieces, base, [&](const char* name) {
        read = name;
        Block cut = table.value_or(full);
        for (int32_t i = 1; i <= 18 && !table; ++i)
          for (int32_t p = 1; p <= 4; ++p) cut(i, p) = Value::Number(std::min<double>(cut(i, p).number(), count));
        return cut;
      });
    } catch (const Error& e) {
      return e.number();
    }
    filled = 0;
    for (int32_t col = 1; col <= 162; ++col) filled += !day(1, col).IsEmpty();
    return 0;
  };
  const std::tuple<size_t, const char*, int> counts[] = {
      {1, "Bang1", 0},  {10, "Bang1", 0}, {19, "Bang1", 1}, {20, "Bang2", 1}, {37, "Bang2", 2},
      {46, "Bang3", 2}, {55, "Bang3", 3}, {56, "Bang4", 3}, {64, "Bang4", 4}, {73, "Bang4", 4}};
  for (const auto& [count, table, stations] : counts) {
    EXPECT_EQ(write(count, kSouthBaseColumn - 19), 0) << count;
    EXPECT_EQ(read, table) << count;
    EXPECT_EQ(filled, std::max(18 * stations - 1, 0)) << count << " pieces, the first no number";
  }
  EXPECT_EQ(write(257, kCentralBaseColumn, full), 6) << "more than 256 pieces";
  EXPECT_EQ(write(256, kCentralBaseColumn, full), 9) << "14 stations do not fit a table of 4";
  EXPECT_EQ(write(73, kSouthBaseColumn, full), 0);
  Block pointsBeyond = full, emptyEntry = full;
  pointsBeyond(18, 1) = Value::Number(20);
  emptyEntry(3, 1) = Value();
  EXPECT_EQ(write(19, kCentralBaseColumn, pointsBeyond), 9);
  EXPECT_EQ(write(19, kCentralBaseColumn, emptyEntry), 9);
  EXPECT_EQ(write(19, kCentralBaseColumn, Block(17, 1)), 9) << "too few rows";
}

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
    return testing::StandardPage(plan_->Day(index), plan_->RegionOf(index).pageQuery);
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
  FixtureSite site(testing::StandardPages);
  CurlPageFetcher fetcher;
  UpdateResults(book.session, fetcher, At(today), site.base_url());
  return book.Days(book.days());
}

size_t PageOf(int day, size_t region) { return static_cast<size_t>(day - 1) * PagePlan::kPagesPerDay + region; }

// Whatever ends a run early, even a failure that is no error of the run's
// own (memory running out), the days before it are kept exactly as a full
// run writes them; the next run writes in blocks of its own, reports each
// day and ends as an uninterrupted one.
TEST(UpdateResultsInParts, AnInterruptedRunKeepsItsCompleteDaysAndTheNextRunEndsAsAnUninterruptedOne) {
  const Block full = SequentialRows({2005, 1, kDays});
  struct Case {
    int day;        // the troubled day of January
    size_t region;  // 0 North, 1 Central, 2 South
    Trouble trouble;
    int32_t daysPerWrite;
    int number;  // of the error raised; 0: none, or out of memory
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
      {1, 0, Trouble::Stop, 100, 0, "stopped on the first page"},
      {6, 1, Trouble::Stop, 1, 0, "stopped on day 6"},
      {7, 0, Trouble::Stop, 4, 0, "stopped on day 7"},
      {10, 2, Trouble::Stop, 2, 0, "stopped on the last page"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    Book book;
    ScriptedSource troubled(PageOf(c.day, c.region), c.trouble);
    const int32_t kept = c.day - 1;
    try {
      const UpdateOutcome outcome =
          UpdateResultsInParts(book.session, troubled, kNow, "http://site", {}, c.daysPerWrite);
      EXPECT_EQ(c.trouble, Trouble::Stop) << "the update did not fail";
      EXPECT_TRUE(outcome.stopped);
      EXPECT_EQ(outcome.daysAdded, kept);
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(std::string(e.what()).rfind(c.description, 0), 0u) << e.what();
    } catch (const std::bad_alloc&) {
      EXPECT_EQ(c.trouble, Trouble::OutOfMemory);
    }
    EXPECT_EQ(book.days(), kept);
    EXPECT_EQ(book.Days(kept), FirstRows(full, kept));
    EXPECT_EQ(book.book->calls("Value.set"), (kept + c.daysPerWrite - 1) / c.daysPerWrite) << "one write per block";

    ScriptedSource rest(SIZE_MAX, Trouble::None);
    int reported = 0;
    book.book->ResetCalls();
    const UpdateOutcome finished = UpdateResultsInParts(
        book.session, rest, kNow, "http://site",
        [&](int done, int total, const CivilDate& day) {
          EXPECT_EQ(total, kDays - kept);
          EXPECT_EQ(day, (CivilDate{2005, 1, kept + done}));
          EXPECT_EQ(done, ++reported);
        },
        c.daysPerWrite);
    EXPECT_FALSE(finished.stopped);
    EXPECT_EQ(finished.daysAdded, kDays - kept);
    EXPECT_EQ(reported, kDays - kept);
    EXPECT_EQ(book.book->calls("Value.set"), (kDays - kept + c.daysPerWrite - 1) / c.daysPerWrite);
    EXPECT_EQ(book.Days(kDays), full);
    EXPECT_EQ(book.days(), kDays);
  }
}

ConcurrentPageSource::FetcherMaker CurlFetchers() {
  return [](const std::atomic<bool>& cancel) { return std::make_unique<CurlPageFetcher>(60, &cancel); };
}

TEST(ConcurrentPageSource, FetchesNoFurtherAheadThanItsWindow) {
  FixtureSite site(testing::StandardPages);
  ConcurrentPageSource source(2, CurlFetchers(), {}, 2);
  source.Start(PagePlan(site.base_url(), DaysFromCivil({2005, 1, 1}), 100));
  // The requests once there are `count` of them (20 seconds at most) and a while after.
  const auto settled = [&](size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (site.request_count() < count && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(100ms);
    return site.request_count();
  };
  const size_t window = 2 * PagePlan::kPagesPerDay;
  EXPECT_EQ(settled(window), window) << "nothing beyond the window while no page is taken";
  ASSERT_TRUE(source.Page(0));
  EXPECT_EQ(settled(window + 1), window + 1);
}

// The page of the update that a request asks for: day by day, North, Central, South.
size_t PageAskedFor(const FixtureRequest& request) {
  const testing::PageQuery query = testing::ParsePageQuery(request.target);
  const size_t region = query.region == '2' ? 0 : query.region == '3' ? 1 : 2;
  return PageOf(static_cast<int>(DaysFromCivil(query.day) - DaysFromCivil({2005, 1, 1})) + 1, region);
}

TEST(ConcurrentPageSource, AFailureStopsNewRequestsAndTheEarliestFailureIsReported) {
  const Block expected = SequentialRows({2005, 1, 20});
  // Runs the update over `connections` connections to a site answering with
  // `answer`; it fails as described, keeping `kept` days. Gives the requests.
  const auto run = [&](int connections, FixtureSite::Handler answer, const std::string& description, int32_t kept) {
    FixtureSite site(std::move(answer));
    Book book;
    const std::string what = testing::ErrorOf([&] {
                               ConcurrentPageSource source(connections, CurlFetchers());
                               UpdateResultsInParts(book.session, source, At({2005, 1, 20}), site.base_url());
                             }).second;
    EXPECT_TRUE(what.starts_with(description)) << what;
    EXPECT_EQ(book.days(), kept);
    EXPECT_EQ(book.Days(kept), FirstRows(expected, kept));
    return site.request_count();
  };
  // Day 1's North page is slow; its Central page, the first request of its
  // connection, fails at once: no further page is asked for.
  const size_t requests = run(
      2,
      [](const FixtureRequest& r) {
        if (PageAskedFor(r) == 0) std::this_thread::sleep_for(300ms);
        return PageAskedFor(r) == 1 ? FixtureResponse{200, "", true} : testing::StandardPages(r);
      },
      "Miền Trung, 01/01/2005: GET ", 0);
  EXPECT_LE(requests, 2u);
  // Day 3's Central page fails first, day 2's a little later: day 2's
  // failure is the one said. (libcurl asks again once when a connection it
  // kept alive is closed on it, so the requests are not counted.)
  run(
      4,
      [](const FixtureRequest& r) {
        if (PageAskedFor(r) == 4) std::this_thread::sleep_for(200ms);
        return PageAskedFor(r) == 4 || PageAskedFor(r) == 7 ? FixtureResponse{200, "", true}
                                                            : testing::StandardPages(r);
      },
      "Miền Trung, 02/01/2005: GET ", 1);
}

// A stop keeps the complete days; the pages of a stopped day are not waited for. The rows are those of the
// sequential update, in order, whatever order the answers come in.
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
    if (!stopped && PageAskedFor(request) >= PageOf(12, 0)) {
      if (++waiting == kConnections) stop = true;
      released.wait_for(lock, 20s, [&] { return stopped; });
      // The run that asked has given up and gone: no answer.
      return FixtureResponse{200, "", true};
    }
    lock.unlock();
    // Each answer waits a while of its own, so answers overtake each other.
    std::this_thread::sleep_for(std::chrono::microseconds(std::hash<std::string>{}(request.target) % 3000));
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
