// The Windows page fetcher: its calls as a recording request object sees
// them, and a dropped connection to the fixture site, under Wine.
#include "results/win/xmlhttp_fetcher.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "session/conversions.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"
#include "support/fixture_site.h"
#include "support/win/fake_host.h"

namespace pradima {
namespace {

// The order of the calls, which the wire does not keep (Wine sends the
// headers in its own order), and what each status gives: the body for 200,
// an error for a server error, too many requests or no status, nothing for any other.
TEST(XmlHttpFetcher, OpensSynchronouslySetsTheHeadersInOrderSendsAndKeepsOnlyA200) {
  std::vector<std::string> calls;
  auto record = [&](const char* name) {
    return [&calls, name](std::vector<const VARIANT*>& args, VARIANT*) {
      std::string call = name;
      for (const VARIANT* arg : args) call += " [" + ToText(win::ValueFromVariant(*arg)) + "]";
      calls.push_back(call);
    };
  };
  int32_t status = 200;
  int objects = 0;
  win::XmlHttpPageFetcher fetcher([&] {
    ++objects;
    return testing::FakeObject({
        {L"Open", record("Open")},
        {L"setRequestHeader", record("setRequestHeader")},
        {L"send", record("send")},
        {L"Status", [&](auto&, VARIANT* result) { *result = win::VariantOf(status).release(); }},
        {L"responseText", [](auto&, VARIANT* result) { *result = win::VariantOf(L"<p>Kết quả</p>").release(); }},
    });
  });
  EXPECT_EQ(fetcher.GetPageText("http://example.invalid/a"), "<p>Kết quả</p>");
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0], "Open [GET] [http://example.invalid/a] [False]");
  EXPECT_EQ(calls[1], "setRequestHeader [Content-Type] [application/json]");
  EXPECT_EQ(calls[2], "setRequestHeader [If-Modified-Since] [Sat, 1 Jan 2000 00:00:00 GMT]");
  EXPECT_EQ(calls[3], std::string("setRequestHeader [User-Agent] [") + kRequestHeaders[2].value + "]");
  EXPECT_EQ(calls[4], "send");
  for (const int32_t code : {100, 304, 404, 410, 499}) {
    status = code;
    EXPECT_EQ(fetcher.GetPageText("http://example.invalid/b"), "") << code;
  }
  // A server error, too many requests or no status fails the request at once, saying which.
  for (const int32_t code : {429, 500, 503, 599, 0, 99, 600, 12029}) {
    status = code;
    const std::string number = std::to_string(code);
    const std::string why = code < 100 || code > 599 ? "no HTTP status (" + number + ")" : "HTTP status " + number;
    try {
      fetcher.GetPageText("http://example.invalid/d");
      ADD_FAILURE() << code << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.hresult(), kDownloadFailure) << code;
      EXPECT_EQ(e.what(), "GET http://example.invalid/d failed: " + why);
    }
  }
  EXPECT_EQ(objects, 14) << "a new request object per call, one call per request";
}

TEST(XmlHttpFetcher, ADroppedConnectionIsAnErrorThatNamesTheRequest) {
  testing::FixtureSite site([](const testing::FixtureRequest&) { return testing::FixtureResponse{200, "", true}; });
  try {
    win::XmlHttpPageFetcher().GetPageText(site.base_url() + "/any");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_LT(e.hresult(), 0);
    EXPECT_NE(std::string(e.what()).find("GET " + site.base_url() + "/any failed"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace pradima
