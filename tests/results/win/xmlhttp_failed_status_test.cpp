// The workbook's fetcher under Wine: a server error or too many requests
// fails the request at once, as a failed transfer that names the status.
#include <gtest/gtest.h>

#include "base/error.h"
#include "results/win/xmlhttp_fetcher.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using testing::FixtureResponse;

TEST(XmlHttpFetcher, AServerErrorOrTooManyRequestsFailsAtOnceWithItsStatus) {
  for (const int status : {500, 503, 429}) {
    testing::FixtureSite site([status](const testing::FixtureRequest&) {
      return FixtureResponse{status, "busy", false, {{"Retry-After", "1"}}};
    });
    try {
      win::XmlHttpPageFetcher().GetPageText(site.base_url() + "/page");
      ADD_FAILURE() << status << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.hresult(), kDownloadFailure);
      EXPECT_EQ(e.what(), "GET " + site.base_url() + "/page failed: HTTP status " + std::to_string(status));
    }
    EXPECT_EQ(site.request_count(), 1u) << "one attempt";
  }
}

}  // namespace
}  // namespace pradima
