#include "selection/count_draw_days.h"

#include <gtest/gtest.h>

namespace pradima {
namespace {

TEST(CountLoOfDays, ANumberCountsOnceADayAndEachTimeItCame) {
  // 00 on the first day; 17 twice a day, on days in a row and after a day without; 999 of three digits.
  const std::vector<DrawDay> days = {
      {46000, {0, 17, 999, 17}, {}}, {46001, {17, 3, 17, 999}, {}}, {46002, {3}, {}}, {46003, {17}, {}}};
  const LoCountResult result = CountLoOfDays(days);
  EXPECT_EQ(result.dayCount, 4);
  const std::array<std::array<std::optional<int32_t>, 3>, 5> expected = {
      {{0, 1, 1}, {17, 3, 5}, {3, 2, 2}, {999, 2, 2}, {71, {}, {}}}};  // number, days, appearances
  for (const auto& [number, daysOf, appearances] : expected) {
    EXPECT_EQ(result.counts.days(*number), daysOf) << *number;
    EXPECT_EQ(result.counts.appearances(*number), appearances) << *number;
  }
  EXPECT_EQ(CountLoOfDays({}).dayCount, 0);
}

}  // namespace
}  // namespace pradima
