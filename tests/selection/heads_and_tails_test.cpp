#include "selection/heads_and_tails.h"

#include <gtest/gtest.h>

namespace pradima {
namespace {

TEST(HeadsAndTails, EachTwoDigitNumberCountsForItsFirstAndItsLastDigit) {
  // 07 three times, 70 twice, 77 once, 99 once; three-digit numbers are not two-digit ones.
  const std::pair<int32_t, int> draws[] = {{7, 3}, {70, 2}, {77, 1}, {99, 1}, {707, 5}};
  LoCounts counts;
  for (const auto& [number, times] : draws)
    for (int i = 0; i < times; ++i) counts.Add(number, i == 0);
  const HeadsAndTails result = CountHeadsAndTails(counts);
  EXPECT_EQ(result.heads, (std::array<int64_t, 10>{3, 0, 0, 0, 0, 0, 0, 3, 0, 1}));
  EXPECT_EQ(result.tails, (std::array<int64_t, 10>{2, 0, 0, 0, 0, 0, 0, 4, 0, 1}));
  EXPECT_EQ(CountHeadsAndTails(LoCounts()).heads, (std::array<int64_t, 10>{}));
}

}  // namespace
}  // namespace pradima
