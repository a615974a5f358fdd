// pradima update when the site answers a server error or too many
// requests: it asks again within a minute, and when it gives up it keeps
// the days before, as for any failed request.
#include "cli/book.h"
#include "cli/update_command.h"
#include "session/address.h"
#include "support/cli_fixture.h"
#include "support/fake_waiter.h"
#include "support/fixture_site.h"

namespace pradima::cli {
namespace {

using testing::FixtureResponse;
using testing::FixtureSite;

TEST_F(CliTest, UpdateAsksAgainAfterAServerErrorAndGivesUpWhereItStopped) {
  const auto north5 = [](const testing::PageQuery& q) { return q.region == '2' && q.day == CivilDate{2005, 1, 5}; };
  const FixtureResponse dated503{503, "", false,
                                 {{"Date", "Sun, 06 Nov 1994 08:49:37 GMT"},
                                  {"Retry-After", "Sun, 06 Nov 1994 08:50:07 GMT"}}};
  struct Case {
    FixtureSite::Handler handler;
    int code;
    int32_t days;
    std::vector<long> waits;
    std::vector<std::string> said;
  };
  const std::string gaveUp = "pradima: 4 day(s) added, up to 04/01/2005, and saved; run update again to continue\n";
  const Case cases[] = {
      {testing::FailingPages(north5, {500, "broken"}, 2), 0, 10, {2, 4}, {"10 day(s) added\n"}},
      {testing::FailingPages(north5, dated503, 1), 0, 10, {30}, {"10 day(s) added\n"}},
      {testing::FailingPages(north5, {503, "", false, {{"Retry-After", "1"}}}, 1), 0, 10, {2}, {"10 day(s) added\n"}},
      {testing::FailingPages(north5, {404, "not here"}), 0, 10, {}, {"10 day(s) added\n"}},
      {testing::FailingPages(north5, {500, "broken"}),
       1,
       4,
       {2, 4, 8, 16},
       {"pradima: Miền Bắc, 05/01/2005: GET ", "failed: HTTP status 500 (5 attempts in 30 s)\n", gaveUp}},
      {testing::FailingPages(north5, {429, "", false, {{"Retry-After", "3600"}}}),
       1,
       4,
       {},
       {"pradima: Miền Bắc, 05/01/2005: GET ",
        "failed: HTTP status 429; the site asks to wait 3600 s before the next request, more than the 60 s the "
        "update may still wait for this page\n",
        gaveUp}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said.front());
    const fs::path book = directory / "book.xlsx";
    fs::remove(book);
    ASSERT_EQ(Run({"init", book.string()}).code, 0);
    FixtureSite site(c.handler);
    testing::FakeWaiter waiter;
    std::ostringstream err;
    int code;
    {
      XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
      const UpdateSettings settings{site.base_url(), [] { return LocalDateTime{{2005, 1, 10}, 19, 0, 0}; }, 4, false,
                                    &waiter};
      code = UpdateWorkbook(workbook, Bind(workbook.book()), settings, err);
    }
    EXPECT_EQ(code, c.code) << err.str();
    EXPECT_EQ(waiter.waits(), c.waits);
    size_t at = 0;
    for (const std::string& part : c.said) {
      at = err.str().find(part, at);
      EXPECT_NE(at, std::string::npos) << part << " in " << err.str();
    }
    EXPECT_EQ(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet1")->LastRowAtOrAbove(kMaxRows, 1),
              4 + c.days);
  }
}

}  // namespace
}  // namespace pradima::cli
