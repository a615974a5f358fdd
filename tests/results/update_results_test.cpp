#include "results/update_results.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "results/curl_fetcher.h"
#include "session/standard_workbook.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"
#include "terms/station_schedule.h"

namespace pradima {
namespace {

using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;
using testing::PageOptions;
using testing::ParsePageQuery;

constexpr int32_t kHeads[7] = {30, 49, 68, 87, 106, 125, 144};

Clock At(CivilDate day, int hour, int minute) {
  return [=] { return LocalDateTime{day, hour, minute, 0}; };
}

class UpdateResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session.SetWorkbook(book);
    session.BindSheets();
    results = book->SheetByCodeName("Sheet1");
  }

  // Runs an update against a fixture site answering with handler.
  void Run(const Clock& clock, FixtureSite::Handler handler = testing::StandardPages) {
    site = std::make_unique<FixtureSite>(std::move(handler));
    CurlPageFetcher fetcher;
    book->ResetCalls();
    UpdateResults(session, fetcher, clock, site->base_url());
  }

  Error RunExpectingError(const Clock& clock, FixtureSite::Handler handler) {
    try {
      Run(clock, std::move(handler));
    } catch (const Error& e) {
      return e;
    }
    ADD_FAILURE() << "the update did not fail";
    return Error(VbError::InvalidArgument, "");
  }

  void SetLastDate(const CivilDate& day) {
    results->Set(5, 1, Value::Date(SerialFromCivil(day)));
    results->ForgetChanges();
  }

  // Checks one results row against the fixture's pages for its day: only
  // the regions whose pages were served in full are expected to be filled.
  void ExpectRow(int32_t row, const CivilDate& day, bool north = true, bool central = true, bool south = true) {
    const int weekday = WeekdayOf(SerialFromCivil(day));
    EXPECT_EQ(results->Get(row, 1), Value::Date(SerialFromCivil(day))) << row;
    const char* labels[] = {"CN", "T2", "T3", "T4", "T5", "T6", "T7"};
    EXPECT_EQ(results->Get(row, 2), Value::Text(labels[weekday - 1])) << row;
    for (int32_t c = 3; c <= 29; ++c) {
      const Value expected = north ? Value::Text(testing::FixturePrize(day, '2', 1, c - 2)) : Value();
      EXPECT_EQ(results->Get(row, c), expected) << "row " << row << " column " << c;
    }
    for (int b = 1; b <= 7; ++b) {
      const bool isCentral = b <= 3;
      const int station = isCentral ? b : b - 3;
      const int stations = isCentral ? terms::CentralStationCount(weekday) : terms::SouthStationCount(weekday);
      const std::string name = terms::StationName(weekday, b);
      EXPECT_EQ(results->Get(row, kHeads[b - 1]), name.empty() ? Value() : Value::Text(name)) << b;
      const bool served = isCentral ? central : south;
      for (int k = 1; k <= 18; ++k) {
        // column head + k holds prize 19 - k of the page's station
        const Value expected = served && station <= stations
                                   ? Value::Text(testing::FixturePrize(day, isCentral ? '3' : '1', station, 19 - k))
                                   : Value();
        EXPECT_EQ(results->Get(row, kHeads[b - 1] + k), expected) << "block " << b << " k " << k;
      }
    }
  }

  std::shared_ptr<MemoryWorkbook> book = NewStandardWorkbook({2021, 3, 1});
  std::shared_ptr<MemorySheet> results;
  Session session;
  std::unique_ptr<FixtureSite> site;
};

TEST_F(UpdateResultsTest, EndDateIsTodayFrom1841OtherwiseYesterday) {
  const CivilDate today{2021, 3, 8};
  struct Case {
    int hour, minute;
    size_t requests;
  };
  for (const Case& c : {Case{18, 40, 0}, Case{18, 41, 3}, Case{19, 0, 3}, Case{0, 0, 0}, Case{23, 59, 3}}) {
    results->Clear(*ParseAddress("A5:FF10"));
    SetLastDate({2021, 3, 7});
    Run(At(today, c.hour, c.minute));
    EXPECT_EQ(site->request_count(), c.requests) << c.hour << ":" << c.minute;
    EXPECT_EQ(book->calls("Value.set"), c.requests ? 1 : 0) << c.hour << ":" << c.minute;
    if (c.requests) ExpectRow(6, today);
    EXPECT_TRUE(results->Get(7, 1).IsEmpty());
  }
}

TEST_F(UpdateResultsTest, UpToDateSheetFetchesAndWritesNothingButReadsBangDai) {
  SetLastDate({2021, 3, 8});
  Run(At({2021, 3, 8}, 20, 0));
  EXPECT_EQ(site->request_count(), 0u);
  EXPECT_EQ(book->calls("Value.set"), 0);
  EXPECT_EQ(book->calls("Value.get"), 2) << "BangDai and the last date";
  EXPECT_FALSE(results->modified());
}

TEST_F(UpdateResultsTest, FirstRunStartsOn1January2005InRow5WithOneWrite) {
  Run(At({2005, 1, 3}, 19, 0));
  const std::vector<FixtureRequest> requests = site->requests();
  ASSERT_EQ(requests.size(), 9u);
  EXPECT_EQ(requests[0].target, "/tra-cuu-ket-qua-xo-so.html?mien=2&thu=0&ngay=1&thang=1&nam=2005");
  EXPECT_EQ(requests[1].target, "/tra-cuu-ket-qua-xo-so.html?mien=3&thu=0&ngay=1&thang=1&nam=2005");
  EXPECT_EQ(requests[2].target, "/tra-cuu-ket-qua-xo-so.html?mien=1&thu=0&ngay=1&thang=1&nam=2005");
  EXPECT_EQ(requests[3].target, "/tra-cuu-ket-qua-xo-so.html?mien=2&thu=0&ngay=2&thang=1&nam=2005");
  for (const FixtureRequest& request : requests) {
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

TEST_F(UpdateResultsTest, LabelsAndQueriesOfASundayAndTheDayAfterWithPlusSignsAroundNumbersDropped) {
  SetLastDate({2021, 3, 6});
  Run(At({2021, 3, 8}, 19, 0), [](const FixtureRequest& r) {
    const auto q = ParsePageQuery(r.target);
    return FixtureResponse{200, testing::StandardPage(q.day, q.region, PageOptions{.plusSigns = true})};
  });
  EXPECT_EQ(results->Get(6, 2), Value::Text("CN"));
  EXPECT_EQ(results->Get(7, 2), Value::Text("T2"));
  EXPECT_NE(site->requests()[0].target.find("ngay=7&thang=3&nam=2021"), std::string::npos);
  ExpectRow(6, {2021, 3, 7});
  ExpectRow(7, {2021, 3, 8});
}

TEST_F(UpdateResultsTest, PagesWithoutResultsLeaveTheirRegionEmptyButTheRowIsWritten) {
  struct Case {
    int status;
    bool omitMarker;
  };
  for (const Case& c : {Case{404, false}, Case{304, false}, Case{403, false}, Case{200, true}}) {
    SCOPED_TRACE(c.status);
    results->Clear(*ParseAddress("A5:FF10"));
    SetLastDate({2021, 3, 6});
    Run(At({2021, 3, 7}, 19, 0), [c](const FixtureRequest& r) {
      const auto q = ParsePageQuery(r.target);
      if (q.region != '3') return testing::StandardPages(r);
      return FixtureResponse{c.status, testing::StandardPage(q.day, q.region, {.omitStartMarker = c.omitMarker})};
    });
    ExpectRow(6, {2021, 3, 7}, true, false, true);
  }
  // a day with no results at all is still written, and not fetched again
  SetLastDate({2021, 3, 6});
  results->Clear(*ParseAddress("A6:FF10"));
  Run(At({2021, 3, 7}, 19, 0), [](const FixtureRequest&) { return FixtureResponse{404, ""}; });
  ExpectRow(6, {2021, 3, 7}, false, false, false);
  Run(At({2021, 3, 7}, 19, 0));
  EXPECT_EQ(site->request_count(), 0u);
}

TEST_F(UpdateResultsTest, FailuresWriteNothingAndSayWhereTheyHappened) {
  struct Case {
    const char* name;
    FixtureSite::Handler handler;
    int number;
    const char* description;
    Value lastDate = Value::Date(SerialFromCivil({2021, 3, 5}));
  };
  const auto failOn = [](char region, CivilDate day, FixtureResponse response) {
    return [=](const FixtureRequest& r) {
      const auto q = ParsePageQuery(r.target);
      return q.region == region && q.day == day ? response : testing::StandardPages(r);
    };
  };
  const CivilDate sunday{2021, 3, 7};
  const Case cases[] = {
      {"no end marker", failOn('3', sunday, {200, testing::StandardPage(sunday, '3', {.omitEndMarker = true})}), 5,
       "Miền Trung, 07/03/2021: start marker without end marker"},
      {"short North page", failOn('2', sunday, {200, "<td class=\"giaidb\"><div>1</div></table></tr></table>"}), 9,
       "Miền Bắc, 07/03/2021: the North page has 2 pieces, fewer than its 27 prizes"},
      {"dropped connection", failOn('1', sunday, {200, "", true}), -2146697208, "Miền Nam, 07/03/2021: GET "},
      {"server error", failOn('1', sunday, {500, ""}), -2146697208, "Miền Nam, 07/03/2021: GET "},
      {"too many requests", failOn('3', sunday, {429, ""}), -2146697208, "Miền Trung, 07/03/2021: GET "},
      {"last date not a date", testing::StandardPages, 13, "", Value::Text("hello")},
  };
  for (const Case& c : cases) {
    results->Set(5, 1, c.lastDate);
    results->Clear(*ParseAddress("A6:FF10"));
    const Error e = RunExpectingError(At({2021, 3, 8}, 19, 0), c.handler);
    EXPECT_EQ(e.number(), c.number) << c.name;
    EXPECT_EQ(std::string(e.what()).rfind(c.description, 0), 0u) << c.name << ": " << e.what();
    EXPECT_EQ(book->calls("Value.set"), 0) << c.name;
    EXPECT_TRUE(results->Get(6, 1).IsEmpty()) << c.name;
  }
}

TEST_F(UpdateResultsTest, FourCentralStationsFillBlock4UntilTheSouthOverwritesIt) {
  SetLastDate({2021, 3, 6});
  const CivilDate day{2021, 3, 7};
  Run(At(day, 19, 0), [](const FixtureRequest& r) {
    const auto q = ParsePageQuery(r.target);
    if (q.region == '3') return FixtureResponse{200, testing::StationPage(q.day, '3', 4)};
    if (q.region == '1') return FixtureResponse{404, ""};
    return testing::StandardPages(r);
  });
  for (int k = 1; k <= 18; ++k) {
    EXPECT_EQ(results->Get(6, 87 + k), Value::Text(testing::FixturePrize(day, '3', 4, 19 - k))) << k;
    EXPECT_EQ(results->Get(6, 68 + k), Value::Text(testing::FixturePrize(day, '3', 3, 19 - k))) << k;
  }
}

TEST(WriteStationBlocks, PieceCountChoosesTheTableAndTheStationCount) {
  struct Case {
    size_t pieces;
    const char* table;
    int stations;
  };
  const Case cases[] = {{1, "Bang1", 0},  {10, "Bang1", 0}, {19, "Bang1", 1}, {20, "Bang2", 1}, {37, "Bang2", 2},
                        {46, "Bang3", 2}, {55, "Bang3", 3}, {56, "Bang4", 3}, {64, "Bang4", 4}, {73, "Bang4", 4}};
  for (const Case& c : cases) {
    std::vector<std::string> texts(c.pieces);
    for (size_t i = 0; i < c.pieces; ++i) texts[i] = "<div>" + std::to_string(100 + i);
    const std::vector<std::string_view> pieces(texts.begin(), texts.end());
    std::string read;
    Block day(1, 162);
    WriteStationBlocks(day, 1, pieces, kSouthBaseColumn - 19, [&](const char* name) {
      read = name;
      Block table(18, 4);
      for (int32_t i = 1; i <= 18; ++i)
        for (int32_t p = 1; p <= 4; ++p) table(i, p) = Value::Number(std::min<size_t>(18 * (p - 1) + i, c.pieces));
      return table;
    });
    EXPECT_EQ(read, c.table) << c.pieces;
    int filled = 0;
    for (int32_t col = 1; col <= 162; ++col) filled += !day(1, col).IsEmpty();
    EXPECT_EQ(filled, 18 * c.stations) << c.pieces;
  }
}

TEST(WriteStationBlocks, BadPagesAndTablesRaiseTheirErrors) {
  const auto run = [](size_t pieceCount, int32_t base, Block table) {
    std::vector<std::string> texts(pieceCount, "<div>1");
    const std::vector<std::string_view> pieces(texts.begin(), texts.end());
    Block day(1, 162);
    try {
      WriteStationBlocks(day, 1, pieces, base, [&](const char*) { return table; });
    } catch (const Error& e) {
      return e.number();
    }
    return 0;
  };
  Block full(18, 4);
  for (int32_t i = 1; i <= 18; ++i)
    for (int32_t p = 1; p <= 4; ++p) full(i, p) = Value::Number(18 * (p - 1) + i);
  EXPECT_EQ(run(257, kCentralBaseColumn, full), 6) << "more than 256 pieces";
  EXPECT_EQ(run(256, kCentralBaseColumn, full), 9) << "14 stations do not fit a table of 4";
  EXPECT_EQ(run(73, kSouthBaseColumn, full), 0);
  Block pointsBeyond = full;
  pointsBeyond(18, 1) = Value::Number(20);
  EXPECT_EQ(run(19, kCentralBaseColumn, pointsBeyond), 9);
  Block emptyEntry = full;
  emptyEntry(3, 1) = Value();
  EXPECT_EQ(run(19, kCentralBaseColumn, emptyEntry), 9);
  EXPECT_EQ(run(19, kCentralBaseColumn, Block(17, 1)), 9) << "too few rows";
}

}  // namespace
}  // namespace pradima
