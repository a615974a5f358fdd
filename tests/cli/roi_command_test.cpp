// roi and bacnho against counts worked out here from the published North
// results the example workbook was made from, not by the code under test.
#include <iomanip>
#include <tuple>

#include "support/cli_fixture.h"
#include "support/published_results.h"

namespace pradima::cli {
namespace {

using testing::TwoDigits;

TEST_F(CliTest, RoiAgreesWithAnIndependentCountOfThePublishedResults) {
  const std::string book = Example().string();
  for (const auto& [from, to, weekday, code] :
       {std::tuple{"2026-03-01", "2026-03-31", "Tất cả", 7u}, {"2025-01-01", "2025-12-31", "Chủ Nhật", 0u}}) {
    const std::vector<testing::PublishedDay> days = testing::PublishedDays(from, to, code);
    std::string expected = "number,days,roi,streak,longest_streak\n";
    std::tuple<int, int, int> first{0, 0, 0};  // the table's first row: -streak, -longest, number
    for (int n = 0; n < 100; ++n) {
      int came = 0, again = 0, run = 0, longest = 0;
      for (const testing::PublishedDay& day : days) {
        run = day.lo.count(n) ? run + 1 : 0;
        came += day.lo.count(n) ? 1 : 0;
        again += run > 1 ? 1 : 0;
        longest = std::max(longest, run);
      }
      expected += TwoDigits(n) + "," + std::to_string(came) + "," + std::to_string(again) + "," + std::to_string(run) +
                  "," + std::to_string(longest) + "\n";
      first = std::min(first, std::make_tuple(-run, -longest, n));
    }
    const auto roi = [&](const char* format) {
      return Run({"roi", book, "--from", from, "--to", to, "--region", "Miền Bắc", "--weekday", weekday, "--format",
                  format})
          .out;
    };
    EXPECT_EQ(roi("csv"), expected) << from << " " << weekday;
    const std::string heading =
        std::to_string(days.size()) + " draw days\nnumber   days    roi  streak  longest streak\n";
    EXPECT_NE(roi("table").find(heading + TwoDigits(std::get<2>(first))), std::string::npos) << from;
  }
}

TEST_F(CliTest, BacnhoAgreesWithAnIndependentCountOfThePublishedResults) {
  const std::vector<testing::PublishedDay> days = testing::PublishedDays("2025-01-01", "2025-12-31");
  const std::string book = Example().string();
  for (const std::vector<int>& after : std::vector<std::vector<int>>{{27}, {27, 72}}) {
    int triggers = 0;
    std::vector<std::pair<int, int>> next(100);  // -next days, number: the order of the rows
    for (int n = 0; n < 100; ++n) next[static_cast<size_t>(n)].second = n;
    for (size_t i = 0; i + 1 < days.size(); ++i) {
      if (!std::all_of(after.begin(), after.end(), [&](int n) { return days[i].lo.count(n) > 0; })) continue;
      ++triggers;
      for (const int n : days[i + 1].lo) --next[static_cast<size_t>(n)].first;
    }
    std::sort(next.begin(), next.end());
    std::ostringstream expected;
    expected << "number,next_days,triggers,share\n" << std::fixed << std::setprecision(3);
    for (const auto& [minus, n] : next)
      expected << TwoDigits(n) << "," << -minus << "," << triggers << "," << static_cast<double>(-minus) / triggers
               << "\n";
    const std::string list = after.size() == 1 ? "27" : "27,72";
    ASSERT_GT(triggers, 0) << list;
    EXPECT_EQ(Run({"bacnho", book, "--from", "2025-01-01", "--to", "2025-12-31", "--region", "Miền Bắc", "--after",
                   list, "--top", "100", "--format", "csv"})
                  .out,
              expected.str())
        << list;
  }
}

}  // namespace
}  // namespace pradima::cli
