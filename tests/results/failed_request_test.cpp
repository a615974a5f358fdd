// A server error or too many requests is a failed request, not a page
// without results: the workbook's update fails with the status and writes
// nothing; the tool's fetchers ask again, and a 429 pauses them all.
#include <gtest/gtest.h>

#include "base/error.h"
#include "results/curl_fetcher.h"
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

const CivilDate kSunday{2021, 3, 7};
bool Central(const testing::PageQuery& q) { return q.region == '3'; }

// Other statuses are pages without results: see update_results_test.cpp.
TEST(FailedRequest, AServerErrorOrTooManyRequestsFailsTheUpdateWhichWritesNothing) {
  for (const FixtureResponse& central :
       {FixtureResponse{500, "broken"}, FixtureResponse{429, "", false, {{"Retry-After", "1"}}}}) {
    const auto book = NewStandardWorkbook({2021, 3, 1});
    Session session;
    session.SetWorkbook(book);
    session.BindSheets();
    FixtureSite site(testing::FailingPages(Central, central));
    CurlPageFetcher fetcher;
    try {
      UpdateResults(
          session, fetcher,
          [] {
            return LocalDateTime{{2005, 1, 1}, 19, 0, 0};
          },
          site.base_url());
      ADD_FAILURE() << central.status << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.hresult(), kDownloadFailure);
      EXPECT_EQ(e.what(), "Miền Trung, 01/01/2005: GET " + PageUrl(site.base_url(), '3', {2005, 1, 1}) +
                              " failed: HTTP status " + std::to_string(central.status));
    }
    EXPECT_EQ(book->calls("Value.set"), 0) << "nothing written";
    EXPECT_EQ(site.request_count(), 2u) << "one attempt";
  }
}

// While one connection waits to ask for its Central page again, another
// asks for the South page.
TEST(FailedRequest, TooManyRequestsPausesEveryConnectionAndAStopEndsTheWait) {
  struct Case {
    FixtureResponse told;
    bool stop;
    std::vector<long> waits;  // the first connection's, then the other's
  };
  const Case cases[] = {
      {{429, "", false, {{"Retry-After", "20"}}}, false, {20, 20}},
      {{429, ""}, false, {2, 2}},
      {{503, "", false, {{"Retry-After", "20"}}}, false, {20}},
      {{500, ""}, true, {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.told.status);
    FixtureSite site(testing::FailingPages(Central, c.told, 1));
    testing::FakeWaiter waiter;
    RetryingFetchers fetchers(waiter);
    std::atomic<bool> stop = c.stop;
    const auto first = fetchers.Make(std::make_unique<CurlPageFetcher>(), &stop);
    const auto other = fetchers.Make(std::make_unique<CurlPageFetcher>(), &stop);
    waiter.duringNextWait = [&] { other->GetPageText(PageUrl(site.base_url(), '1', kSunday)); };
    try {
      EXPECT_EQ(first->GetPageText(PageUrl(site.base_url(), '3', kSunday)), testing::StandardPage(kSunday, '3'));
      EXPECT_FALSE(c.stop);
    } catch (const Error& e) {
      EXPECT_TRUE(c.stop) << e.what();
    }
    EXPECT_EQ(waiter.waits(), c.waits);
    EXPECT_EQ(site.request_count(), c.stop ? 2u : 3u);
  }
}

}  // namespace
}  // namespace pradima
