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

TEST_F(CliTest, UpdateAsksAgainAfterAServerErrorAndGivesUpWhereItStopped) {
  const auto north5 = [](const testing::PageQuery& q) { return q.region == '2' && q.day == CivilDate{2005, 1, 5}; };
  const auto failing = [&](int status, std::string retryAfter, int times, std::string date = "") {
    FixtureResponse r{status, "busy"};
    if (!retryAfter.empty()) r.headers = {{"Date", date}, {"Retry-After", retryAfter}};
    return testing::FailingPages(north5, r, times);
  };
  const auto now = [] { return LocalDateTime{{2005, 1, 10}, 19, 0, 0}; };
  const std::string stopped = "pradima: Miền Bắc, 05/01/2005: GET ";
  const std::string kept = "\npradima: 4 day(s) added, up to 04/01/2005, and saved; run update again to continue\n";
  struct Case {
    testing::FixtureSite::Handler handler;
    int code;
    std::vector<long> waits;
    std::string said;  // the end of what it says, after the failed request's URL if any
  };
  const Case cases[] = {
      {failing(500, "", 2), 0, {2, 4}, "10 day(s) added\n"},
      {failing(503, "1", 1), 0, {2}, "10 day(s) added\n"},
      {failing(503, "Sun, 06 Nov 1994 08:50:07 GMT", 1, "Sun, 06 Nov 1994 08:49:37 GMT"), 0, {30}, "10 day(s) added\n"},
      {failing(404, "", 0), 0, {}, "10 day(s) added\n"},
      {failing(500, "", 0), 1, {2, 4, 8, 16}, " failed: HTTP status 500 (5 attempts in 30 s)" + kept},
      {failing(429, "3600", 0),
       1,
       {},
       " failed: HTTP status 429; the site asks to wait 3600 s before the next request, more than the 60 s the "
       "update may still wait for this page" +
           kept},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    const fs::path book = directory / "book.xlsx";
    fs::remove(book);
    ASSERT_EQ(Run({"init", book.string()}).code, 0);
    testing::FixtureSite site(c.handler);
    testing::FakeWaiter waiter;
    std::ostringstream err;
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    const UpdateSettings settings{site.base_url(), now, 4, false, &waiter};
    EXPECT_EQ(UpdateWorkbook(workbook, Bind(workbook.book()), settings, err), c.code);
    EXPECT_EQ(waiter.waits(), c.waits);
    const std::string said = err.str();
    EXPECT_TRUE(said.ends_with(c.said) && (c.code == 0 || said.starts_with(stopped))) << said;
    const auto results = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet1");
    EXPECT_EQ(results->LastRowAtOrAbove(kMaxRows, 1), c.code == 0 ? 14 : 8) << "the days saved";
  }
}

}  // namespace
}  // namespace pradima::cli
