// The workbook's fetcher under Wine: a server error or too many requests
// fails the request at once, as a failed transfer that names the status.
#include <gtest/gtest.h>

#include "base/error.h"
#include "results/win/xmlhttp_fetcher.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

TEST(XmlHttpFetcher, AServerErrorOrTooManyRequestsFailsAtOnceWithItsStatus) {
  for (const FixtureResponse& answer : {FixtureResponse{500, "broken"}, FixtureResponse{503, "busy"},
                                        FixtureResponse{429, "slow down", false, {{"Retry-After", "1"}}}}) {
    FixtureSite site([&](const FixtureRequest&) { return answer; });
    const std::string url = site.base_url() + "/page";
    try {
      win::XmlHttpPageFetcher().GetPageText(url);
      ADD_FAILURE() << answer.status << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.hresult(), kDownloadFailure);
      EXPECT_EQ(e.what(), "GET " + url + " failed: HTTP status " + std::to_string(answer.status));
    }
    EXPECT_EQ(site.request_count(), 1u) << "one attempt";
  }
}

}  // namespace
}  // namespace pradima
