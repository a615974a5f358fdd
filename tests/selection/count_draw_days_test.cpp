#include "selection/count_draw_days.h"

#include <gtest/gtest.h>

namespace pradima {
namespace {

TEST(CountLoOfDays, ANumberCountsOnceADayAndEachTimeItCame) {
  struct Expected {
    int32_t number;
    std::optional<int32_t> days, appearances;
  };
  struct Case {
    const char* what;
    std::vector<std::vector<int32_t>> days;  // the numbers of each draw day
    std::vector<Expected> expected;
  };
  const Case cases[] = {
      {"no day", {}, {{0, {}, {}}, {17, {}, {}}}},
      {"twice on one day", {{17, 71, 17}}, {{17, 1, 2}, {71, 1, 1}, {0, {}, {}}}},
      {"00 on the first day", {{0, 5}, {5}}, {{0, 1, 1}, {5, 2, 2}}},
      {"on two days in a row and after a day without",
       {{17, 17}, {17, 3, 17, 17}, {3}, {17}},
       {{17, 3, 6}, {3, 2, 2}, {71, {}, {}}}},
      {"three digits", {{999, 99, 999}, {99}}, {{999, 1, 2}, {99, 2, 2}, {9, {}, {}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<DrawDay> days;
    for (const auto& numbers : c.days) days.push_back({static_cast<DateSerial>(46000 + days.size()), numbers, {}});
    const LoCountResult result = CountLoOfDays(days);
    EXPECT_EQ(result.dayCount, static_cast<int32_t>(c.days.size()));
    for (const Expected& e : c.expected) {
      EXPECT_EQ(result.counts.days(e.number), e.days) << e.number;
      EXPECT_EQ(result.counts.appearances(e.number), e.appearances) << e.number;
    }
  }
}

}  // namespace
}  // namespace pradima
