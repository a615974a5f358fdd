// gan sees exactly the draw days that stats counts, and reads without writing.
#include <string>

#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

class GanTest : public CliTest {};

// The number that follows `key` in a JSON report.
int JsonCount(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": ");
  EXPECT_NE(at, std::string::npos) << json;
  return at == std::string::npos ? -1 : std::stoi(json.substr(at + key.size() + 4));
}

TEST_F(GanTest, DrawDaysAgreeWithStatsForEachRegionAndWeekday) {
  const std::string book = Example().string();
  const char* regions[] = {"Miền Bắc", "Miền Trung", "Miền Nam"};
  const char* weekdays[] = {"Tất cả", "Chủ Nhật", "Thứ Tư", "Thứ Bảy"};
  int northDays = 0;
  for (const char* region : regions)
    for (const char* weekday : weekdays) {
      const std::vector<std::string> request = {"--from", "2026-02-01", "--to",  "2026-05-31", "--region",
                                                region,   "--weekday",  weekday, "--type",     "2 Con"};
      std::vector<std::string> stats = {"stats", book, "--set", "Số Kép", "--format", "json"};
      std::vector<std::string> gan = {"gan", book, "--format", "json"};
      stats.insert(stats.end(), request.begin(), request.end());
      gan.insert(gan.end(), request.begin(), request.end());
      const Outcome counted = Run(stats), gapped = Run(gan);
      ASSERT_EQ(counted.code, 0) << counted.err;
      ASSERT_EQ(gapped.code, 0) << gapped.err;
      EXPECT_EQ(JsonCount(gapped.out, "draw_days"), JsonCount(counted.out, "draw_days")) << region << " " << weekday;
      if (std::string(region) == "Miền Bắc") northDays += JsonCount(gapped.out, "draw_days");
    }
  // 120 days every day, and about 17 of each weekday chosen.
  EXPECT_GT(northDays, 120 + 3 * 15);
}

TEST_F(GanTest, LeavesTheWorkbookAsItWas) {
  const fs::path book = Example();
  const std::string before = Slurp(book);
  const Outcome outcome = Run({"gan", book.string(), "--region", "Miền Nam", "--type", "3 Con", "--top", "3"});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(Slurp(book), before);
  EXPECT_NE(outcome.out.find("type     3 Con\n"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("\n0 draw days\n"), std::string::npos) << "the example holds North results only";
  EXPECT_NE(outcome.out.find("\n000     never"), std::string::npos) << outcome.out;
}

TEST_F(GanTest, BadOptionsAreBadUsage) {
  const std::string book = Example().string();
  const std::vector<std::vector<std::string>> lines = {
      {"gan", book, "--top", "0"},          {"gan", book, "--top", "x"},
      {"gan", book, "--format", "xml"},     {"gan", book, "--type", "4 Con"},
      {"gan", book, "--set", "Full"},       {"gan", book, "--from", "2026-02-01", "--to", "2026-01-01"},
      {"gan", book, "--from", "yesterday"}, {"stats", book, "--format", "yaml"},
  };
  for (const auto& line : lines) {
    const Outcome outcome = Run(line);
    EXPECT_EQ(outcome.code, 2) << line[2] << " " << line[3];
    EXPECT_NE(outcome.err.find("usage:"), std::string::npos) << outcome.err;
  }
}

}  // namespace
}  // namespace pradima::cli
