// The Windows page fetcher against the fixture site, under Wine.
#include "results/xmlhttp_fetcher.h"

#include <gtest/gtest.h>

#include "session/error.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

TEST(XmlHttpFetcher, SendsTheThreeHeadersAndReturnsTheBodyOnlyFor200) {
  FixtureSite site([](const FixtureRequest& r) {
    if (r.target == "/ok") return FixtureResponse{200, "<p>Kết quả</p>"};
    if (r.target == "/missing") return FixtureResponse{404, "not here"};
    if (r.target == "/stale") return FixtureResponse{304, ""};
    return FixtureResponse{500, "broken"};
  });
  XmlHttpPageFetcher fetcher;
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/ok"), "<p>Kết quả</p>");
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/missing"), "");
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/stale"), "");
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/error"), "");
  const auto requests = site.requests();
  ASSERT_EQ(requests.size(), 4u);
  for (const FixtureRequest& request : requests) {
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.Header("Content-Type"), "application/json");
    EXPECT_EQ(request.Header("If-Modified-Since"), "Sat, 1 Jan 2000 00:00:00 GMT");
    EXPECT_EQ(request.Header("User-Agent"), kRequestHeaders[2].value);
  }
}

TEST(XmlHttpFetcher, DroppedConnectionIsAnError) {
  FixtureSite site([](const FixtureRequest&) { return FixtureResponse{200, "", true}; });
  XmlHttpPageFetcher fetcher;
  try {
    fetcher.GetPageText(site.base_url() + "/any");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_LT(e.hresult(), 0);
    EXPECT_NE(std::string(e.what()).find("GET " + site.base_url() + "/any failed"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace pradima
