// gan sees exactly the draw days that stats counts, in every region.
#include <string>

#include "support/cli_fixture.h"
#include "support/fixture_site.h"

namespace pradima::cli {
namespace {

// The number that follows `key` in a JSON report.
int JsonCount(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": ");
  EXPECT_NE(at, std::string::npos) << json;
  return at == std::string::npos ? -1 : std::stoi(json.substr(at + key.size() + 4));
}

TEST_F(CliTest, GanDrawDaysAgreeWithStatsForEachRegionAndWeekday) {
  // Two months of every region from the fixture site (the example holds the North only).
  const std::string book = Created().string();
  {
    testing::FixtureSite site(testing::StandardPages);
    ASSERT_EQ(Run({"update", book, "--connections", "4"}, site.base_url(), {{2005, 2, 28}, 19, 0, 0}).code, 0);
  }
  struct Case {
    const char *region, *weekday;
    int days;
  };
  const Case cases[] = {
      {"Miền Bắc", "Tất cả", 45},  {"Miền Bắc", "Chủ Nhật", 7},   {"Miền Trung", "Tất cả", 45},
      {"Miền Trung", "Thứ Tư", 6}, {"Miền Nam", "Thứ Bảy", 7},    {"Miền Nam", "Tất cả", 45},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> request = {"--from", "2005-01-15", "--to", "2005-02-28", "--region", c.region,
                                              "--weekday", c.weekday, "--type", "2 Con", "--format", "json"};
    std::vector<std::string> stats = {"stats", book, "--set", "Số Kép"}, gan = {"gan", book};
    stats.insert(stats.end(), request.begin(), request.end());
    gan.insert(gan.end(), request.begin(), request.end());
    const Outcome counted = Run(stats), gapped = Run(gan);
    ASSERT_EQ(counted.code, 0) << counted.err;
    ASSERT_EQ(gapped.code, 0) << gapped.err;
    EXPECT_EQ(JsonCount(counted.out, "draw_days"), c.days) << c.region << " " << c.weekday;
    EXPECT_EQ(JsonCount(gapped.out, "draw_days"), c.days) << c.region << " " << c.weekday;
  }
}

}  // namespace
}  // namespace pradima::cli
