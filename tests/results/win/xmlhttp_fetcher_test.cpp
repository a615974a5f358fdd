// The Windows page fetcher against the fixture site, under Wine.
#include "results/win/xmlhttp_fetcher.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/win/fake_host.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"
#include "support/fixture_site.h"

namespace pradima {
namespace {

using testing::FixtureRequest;
using testing::FixtureResponse;
using testing::FixtureSite;

TEST(XmlHttpFetcher, ReturnsTheBodyOnlyFor200) {
  FixtureSite site([](const FixtureRequest& r) {
    if (r.target == "/ok") return FixtureResponse{200, "<p>Kết quả</p>"};
    if (r.target == "/missing") return FixtureResponse{404, "not here"};
    if (r.target == "/stale") return FixtureResponse{304, ""};
    return FixtureResponse{410, "gone"};
  });
  win::XmlHttpPageFetcher fetcher;
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/ok"), "<p>Kết quả</p>");
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/missing"), "");
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/stale"), "");
  EXPECT_EQ(fetcher.GetPageText(site.base_url() + "/error"), "");
  // The headers reach the wire; their order and values are checked below.
  ASSERT_EQ(site.requests().size(), 4u);
  EXPECT_EQ(site.requests()[0].Header("User-Agent"), kRequestHeaders[2].value);
}

// The order of the calls, which the wire does not keep (Wine sends the
// headers in its own order), as a recording request object sees it.
TEST(XmlHttpFetcher, OpensSynchronouslyThenSetsTheHeadersInOrderThenSends) {
  std::vector<std::string> calls;
  auto text = [](const VARIANT* v) {
    return std::string(win::ValueFromVariant(v->vt == (VT_BYREF | VT_VARIANT) ? *v->pvarVal : *v).text());
  };
  auto record = [&](const char* name) {
    return [&calls, name, text](std::vector<const VARIANT*>& args, VARIANT*) {
      std::string call = name;
      for (const VARIANT* arg : args) {
        call += " [" + (arg->vt == VT_BOOL ? std::string(arg->boolVal ? "True" : "False") : text(arg)) + "]";
      }
      calls.push_back(call);
    };
  };
  int objects = 0;
  win::XmlHttpPageFetcher fetcher([&] {
    ++objects;
    return testing::FakeObject({
        {L"Open", record("Open")},
        {L"setRequestHeader", record("setRequestHeader")},
        {L"send", record("send")},
        {L"Status", [](auto&, VARIANT* result) { *result = win::VariantOf(int32_t{200}).release(); }},
        {L"responseText", [](auto&, VARIANT* result) { *result = win::VariantOf(L"<p>ok</p>").release(); }},
    });
  });
  EXPECT_EQ(fetcher.GetPageText("http://example.invalid/a"), "<p>ok</p>");
  EXPECT_EQ(fetcher.GetPageText("http://example.invalid/b"), "<p>ok</p>");
  EXPECT_EQ(objects, 2) << "a new request object per call";
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(calls[0], "Open [GET] [http://example.invalid/a] [False]");
  EXPECT_EQ(calls[1], "setRequestHeader [Content-Type] [application/json]");
  EXPECT_EQ(calls[2], "setRequestHeader [If-Modified-Since] [Sat, 1 Jan 2000 00:00:00 GMT]");
  EXPECT_EQ(calls[3], std::string("setRequestHeader [User-Agent] [") + kRequestHeaders[2].value + "]");
  EXPECT_EQ(calls[4], "send");
}

TEST(XmlHttpFetcher, DroppedConnectionIsAnError) {
  FixtureSite site([](const FixtureRequest&) { return FixtureResponse{200, "", true}; });
  win::XmlHttpPageFetcher fetcher;
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
