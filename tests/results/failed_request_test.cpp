// The tool's fetchers ask again after a server error or too many requests,
// and a 429 pauses them all (the update that fails on such a status: see
// update_results_test.cpp; the tool's retries: see update_retry_test.cpp).
#include <gtest/gtest.h>

#include <tuple>

#include "base/error.h"
#include "results/curl_fetcher.h"
#include "results/page_source.h"
#include "results/retrying_fetcher.h"
#include "support/fake_waiter.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using testing::FixtureResponse;
using testing::FixtureSite;

const CivilDate kSunday{2021, 3, 7};
bool Central(const testing::PageQuery& q) { return q.region == '3'; }

// While one connection waits to ask for its Central page again, another
// asks for the South page.
TEST(FailedRequest, TooManyRequestsPausesEveryConnectionAndAStopEndsTheWait) {
  // The Central page's first answer, whether the run is stopped, and the waits: the first connection's, then
  // the other's.
  const std::tuple<FixtureResponse, bool, std::vector<long>> cases[] = {
      {{429, "", false, {{"Retry-After", "20"}}}, false, {20, 20}},
      {{429, ""}, false, {2, 2}},
      {{503, "", false, {{"Retry-After", "20"}}}, false, {20}},
      {{500, ""}, true, {2}},
  };
  for (const auto& [told, stopped, waits] : cases) {
    SCOPED_TRACE(told.status);
    FixtureSite site(testing::FailingPages(Central, told, 1));
    testing::FakeWaiter waiter;
    RetryingFetchers fetchers(waiter);
    std::atomic<bool> stop = stopped;
    const auto first = fetchers.Make(std::make_unique<CurlPageFetcher>(), &stop);
    const auto other = fetchers.Make(std::make_unique<CurlPageFetcher>(), &stop);
    waiter.duringNextWait = [&] { other->GetPageText(PageUrl(site.base_url(), '1', kSunday)); };
    try {
      EXPECT_EQ(first->GetPageText(PageUrl(site.base_url(), '3', kSunday)), testing::StandardPage(kSunday, '3'));
      EXPECT_FALSE(stopped);
    } catch (const Error& e) {
      EXPECT_TRUE(stopped) << e.what();
    }
    EXPECT_EQ(waiter.waits(), waits);
    EXPECT_EQ(site.request_count(), stopped ? 2u : 3u);
  }
}

}  // namespace
}  // namespace pradima
