// A server error or too many requests is a failed request, not a page
// without results: the workbook's update fails with the status and writes
// nothing; the tool's fetchers ask again, within limits, and a 429 pauses
// every connection.
#include <gtest/gtest.h>

#include <deque>

#include "base/error.h"
#include "results/curl_fetcher.h"
#include "results/retry_after.h"
#include "results/retrying_fetcher.h"
#include "results/update_results.h"
#include "session/standard_workbook.h"
#include "support/fake_waiter.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using testing::FixtureResponse;
using testing::FixtureSite;
using testing::PageQuery;

TEST(FailedRequest, TheUpdateFailsOnAServerErrorOrTooManyRequestsAndTakesOtherStatusesAsNoResults) {
  struct Case {
    FixtureResponse central;  // the Central page of Sunday 7 March 2021
    const char* failure;      // none: the day is written without the Central results
  };
  const CivilDate sunday{2021, 3, 7};
  const Case cases[] = {
      {{500, "broken"}, "HTTP status 500"},
      {{503, "", false, {{"Retry-After", "5"}}}, "HTTP status 503"},
      {{429, "slow down", false, {{"Retry-After", "1"}}}, "HTTP status 429"},
      {{404, "not here"}, nullptr},
      {{403, "forbidden"}, nullptr},
      {{200, testing::StandardPage(sunday, '3', {.omitStartMarker = true})}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.central.status);
    const auto book = NewStandardWorkbook({2021, 3, 1});
    Session session;
    session.SetWorkbook(book);
    session.BindSheets();
    const auto results = book->SheetByCodeName("Sheet1");
    results->Set(5, 1, Value::Date(SerialFromCivil({2021, 3, 6})));
    FixtureSite site(testing::FailingPages([&](const PageQuery& q) { return q.region == '3' && q.day == sunday; },
                                           c.central));
    CurlPageFetcher fetcher;
    const std::string url = site.base_url() + "/tra-cuu-ket-qua-xo-so.html?mien=3&thu=0&ngay=7&thang=3&nam=2021";
    try {
      UpdateResults(session, fetcher, [&] { return LocalDateTime{sunday, 19, 0, 0}; }, site.base_url());
      EXPECT_FALSE(c.failure) << "no error";
      EXPECT_EQ(results->Get(6, 1), Value::Date(SerialFromCivil(sunday)));
      EXPECT_EQ(results->Get(6, 3), Value::Text(testing::FixturePrize(sunday, '2', 1, 1)));
      EXPECT_TRUE(results->Get(6, 31).IsEmpty()) << "the Central page has no results";
    } catch (const Error& e) {
      ASSERT_TRUE(c.failure) << e.what();
      EXPECT_EQ(e.hresult(), kDownloadFailure);
      EXPECT_EQ(e.what(), "Miền Trung, 07/03/2021: GET " + url + " failed: " + c.failure);
      EXPECT_TRUE(results->Get(6, 1).IsEmpty()) << "nothing written";
      EXPECT_EQ(site.request_count(), 2u) << "one attempt";
    }
  }
}

TEST(FailedRequest, RetryAfterIsSecondsOrAnHttpDate) {
  const int64_t now = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
  struct Case {
    const char* value;
    long wait;  // -1: none
  };
  const Case cases[] = {
      {"120", 120},
      {" 0 ", 0},
      {"12345678901", 999999999},
      {"Sun, 06 Nov 1994 08:50:07 GMT", 30},
      {"Sunday, 06-Nov-94 09:49:37 GMT", 3600},
      {"Mon Nov  7 08:49:37 1994", 86400},
      {"Sat, 05 Nov 1994 08:49:37 GMT", 0},
      {"Wed, 01 Mar 2000 00:00:00 GMT", 951868800 - now},
      {"Sun, 31 Nov 1994 08:49:37 GMT", -1},
      {"Sun, 06 Nov 1994 24:00:00 GMT", -1},
      {"Sun, 06 Nov 1994 08:49:37", -1},
      {"-5", -1},
      {"1.5", -1},
      {"soon", -1},
      {"", -1},
  };
  for (const Case& c : cases) {
    const auto wait = RetryAfterWait(c.value, now);
    EXPECT_EQ(wait ? wait->count() : -1, c.wait) << c.value;
  }
}

// Answers in turn: a page, a status (and a Retry-After in seconds, or -1),
// or a transport failure (status 0).
struct Answer {
  long status;
  long retryAfter = -1;
};

class ScriptedFetcher final : public PageFetcher {
 public:
  ScriptedFetcher(std::deque<Answer> answers, int& asked) : answers_(std::move(answers)), asked_(asked) {}
  std::string GetPageText(const std::string& url) override {
    ++asked_;
    EXPECT_FALSE(answers_.empty()) << "asked once too often";
    const Answer a = answers_.empty() ? Answer{200} : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
    if (a.status == 200) return "page " + url;
    if (a.status == 0) throw Error(kDownloadFailure, "GET " + url + " failed: refused");
    throw FailedStatus(url, a.status,
                       a.retryAfter < 0 ? std::nullopt : std::optional(std::chrono::seconds(a.retryAfter)));
  }

 private:
  std::deque<Answer> answers_;
  int& asked_;
};

TEST(FailedRequest, TheToolAsksAgainWithLongerWaitsUpToAMinute) {
  struct Case {
    std::deque<Answer> answers;
    std::vector<long> waits;
    const char* failure;  // none: the page comes
  };
  const Case cases[] = {
      {{{500}, {200}}, {2}, nullptr},
      {{{503}, {502}, {500}, {504}, {200}}, {2, 4, 8, 16}, nullptr},
      {{{500}, {500}, {500}, {500}, {500}}, {2, 4, 8, 16}, "GET u failed: HTTP status 500 (5 attempts in 30 s)"},
      {{{429, 10}, {200}}, {10}, nullptr},
      {{{503, 1}, {200}}, {2}, nullptr},
      {{{429, 3600}},
       {},
       "GET u failed: HTTP status 429; the site asks to wait 3600 s before the next request, more than the 60 s "
       "an update waits for one page"},
      {{{429, 50}, {429, 20}},
       {50},
       "GET u failed: HTTP status 429; the site asks to wait 20 s before the next request, more than the 10 s "
       "left of the 60 s an update waits for one page"},
      {{{0}}, {}, "GET u failed: refused"},
  };
  for (const Case& c : cases) {
    testing::FakeWaiter waiter;
    RetryingFetchers fetchers(waiter);
    int asked = 0;
    const auto fetcher = fetchers.Make(std::make_unique<ScriptedFetcher>(c.answers, asked));
    const size_t count = c.answers.size();
    try {
      EXPECT_EQ(fetcher->GetPageText("u"), "page u");
      EXPECT_FALSE(c.failure);
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), std::string(c.failure ? c.failure : "no error"));
      EXPECT_EQ(e.hresult(), kDownloadFailure);
    }
    EXPECT_EQ(waiter.waits(), c.waits) << count;
    EXPECT_EQ(asked, static_cast<int>(count));
  }
}

// One connection is told to wait; while it waits, another asks for a page.
TEST(FailedRequest, TooManyRequestsPausesEveryConnectionAndAStopEndsTheWait) {
  struct Case {
    Answer told;
    bool stop;
    std::vector<long> waits;  // the first connection's, then the other's
    int otherAsked;
  };
  const Case cases[] = {
      {{429, 20}, false, {20, 20}, 1},
      {{429}, false, {2, 2}, 1},
      {{500, 20}, false, {20}, 1},
      {{500}, true, {2}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.told.status);
    testing::FakeWaiter waiter;
    RetryingFetchers fetchers(waiter);
    std::atomic<bool> stop = c.stop;
    int asked = 0, otherAsked = 0;
    const auto first = fetchers.Make(std::make_unique<ScriptedFetcher>(std::deque{c.told, Answer{200}}, asked), &stop);
    const auto other = fetchers.Make(std::make_unique<ScriptedFetcher>(std::deque{Answer{200}}, otherAsked), &stop);
    waiter.duringNextWait = [&] {
      if (!c.stop) {
        EXPECT_EQ(other->GetPageText("b"), "page b");
      }
    };
    if (c.stop) {
      EXPECT_THROW(first->GetPageText("a"), Error);
    } else {
      EXPECT_EQ(first->GetPageText("a"), "page a");
    }
    EXPECT_EQ(waiter.waits(), c.waits);
    EXPECT_EQ(otherAsked, c.otherAsked);
    EXPECT_EQ(asked, c.stop ? 1 : 2);
  }
}

}  // namespace
}  // namespace pradima
