#include "selection/lo_repeats.h"

#include <gtest/gtest.h>

namespace pradima {
namespace {

std::vector<DrawDay> Days(std::initializer_list<std::vector<int32_t>> numbersByDay) {
  std::vector<DrawDay> days;
  for (const auto& numbers : numbersByDay) days.push_back({1000.0 + static_cast<double>(days.size()), numbers, {}});
  return days;
}

TEST(LoRepeats, RepeatsOfOneNumberOverTheDrawDays) {
  struct Case {
    const char* what;
    std::vector<DrawDay> days;
    int32_t days7, repeats, streak, longest;
  };
  const Case cases[] = {
      {"no draw days", Days({}), 0, 0, 0, 0},
      {"never drawn", Days({{1}, {2}}), 0, 0, 0, 0},
      {"the first day follows no day", Days({{7}, {1}}), 1, 0, 0, 1},
      {"a streak running to the end, twice on a day once", Days({{7}, {1}, {7}, {7, 7}, {7}}), 4, 2, 3, 3},
      {"a streak broken before the end", Days({{7}, {7}, {7}, {1}, {7}, {2}}), 4, 2, 0, 3},
      {"a shorter streak at the end", Days({{7}, {7}, {1}, {7}}), 3, 1, 1, 2},
      {"alone on the last day", Days({{1}, {7}}), 1, 0, 1, 1},
  };
  for (const Case& c : cases) {
    const std::vector<LoRepeat> repeats = RepeatsOf(c.days, 2);
    ASSERT_EQ(repeats.size(), 100u);
    const LoRepeat& seven = repeats[7];
    EXPECT_EQ(seven.number, 7) << c.what;
    EXPECT_EQ(seven.days, c.days7) << c.what;
    EXPECT_EQ(seven.repeatDays, c.repeats) << c.what;
    EXPECT_EQ(seven.streak, c.streak) << c.what;
    EXPECT_EQ(seven.longestStreak, c.longest) << c.what;
  }
}

TEST(LoRepeats, ThreeDigitsCoverAThousandNumbers) {
  const std::vector<LoRepeat> repeats = RepeatsOf(Days({{999}, {999}}), 3);
  ASSERT_EQ(repeats.size(), 1000u);
  EXPECT_EQ(repeats[999].repeatDays, 1);
  EXPECT_EQ(repeats[999].streak, 2);
}

TEST(LoRepeats, SortsByCurrentStreakThenLongestThenNumber) {
  std::vector<LoRepeat> repeats = RepeatsOf(Days({{1, 2, 3}, {1, 2}, {1, 4}, {4, 5}}), 2);
  SortByStreak(repeats);
  const int32_t first[] = {4, 5, 1, 2, 3, 0, 6};
  for (size_t i = 0; i < std::size(first); ++i) EXPECT_EQ(repeats[i].number, first[i]) << i;
}

}  // namespace
}  // namespace pradima
