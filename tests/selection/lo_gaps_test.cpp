#include "selection/lo_gaps.h"

#include <gtest/gtest.h>

namespace pradima {
namespace {

// Day i of the table is serial 1000 + i.
std::vector<DrawDay> Days(std::initializer_list<std::vector<int32_t>> numbersByDay) {
  std::vector<DrawDay> days;
  for (const auto& numbers : numbersByDay) days.push_back({1000.0 + static_cast<double>(days.size()), numbers, {}});
  return days;
}

TEST(LoGaps, GapsOfOneNumberOverTheDrawDays) {
  struct Case {
    const char* what;
    std::vector<DrawDay> days;
    std::optional<DateSerial> lastDrawn;
    int32_t current;
    std::optional<int32_t> longest;
    std::optional<DateSerial> ended;
    bool running;
  };
  const Case cases[] = {
      {"never drawn", Days({{1}, {2}, {3}}), std::nullopt, 3, std::nullopt, std::nullopt, false},
      {"no draw days", Days({}), std::nullopt, 0, std::nullopt, std::nullopt, false},
      {"drawn on the last day", Days({{1}, {7}, {2}, {7}}), 1003, 0, 1, 1003, false},
      {"twice on a day is one appearance", Days({{7, 7}, {1}, {7, 7}}), 1002, 0, 1, 1002, false},
      {"leading days are no gap", Days({{1}, {1}, {1}, {7}, {1}}), 1003, 1, 1, 1004, true},
      {"running gap longest", Days({{7}, {1}, {7}, {1}, {1}, {1}}), 1002, 3, 3, 1005, true},
      {"closed gap longest", Days({{7}, {1}, {1}, {1}, {7}, {1}, {7}}), 1006, 0, 3, 1004, false},
      {"equal gaps: the latest", Days({{7}, {1}, {7}, {1}, {7}}), 1004, 0, 1, 1004, false},
      {"equal to running: running", Days({{7}, {1}, {7}, {1}}), 1002, 1, 1, 1003, true},
      {"consecutive days: the running 0 is the latest", Days({{7}, {7}, {7}}), 1002, 0, 0, 1002, true},
  };
  for (const Case& c : cases) {
    const std::vector<LoGap> gaps = GapsOf(c.days, 2);
    ASSERT_EQ(gaps.size(), 100u);
    const LoGap& gap = gaps[7];
    EXPECT_EQ(gap.number, 7) << c.what;
    EXPECT_EQ(gap.lastDrawn, c.lastDrawn) << c.what;
    EXPECT_EQ(gap.currentGap, c.current) << c.what;
    EXPECT_EQ(gap.longestGap, c.longest) << c.what;
    EXPECT_EQ(gap.longestEnded, c.ended) << c.what;
    EXPECT_EQ(gap.longestRunning, c.running) << c.what;
  }
}

TEST(LoGaps, ThreeDigitsCoverAThousandNumbers) {
  const std::vector<LoGap> gaps = GapsOf(Days({{999}, {5}}), 3);
  ASSERT_EQ(gaps.size(), 1000u);
  EXPECT_EQ(gaps[999].lastDrawn, 1000.0);
  EXPECT_EQ(gaps[999].currentGap, 1);
  EXPECT_EQ(gaps[5].currentGap, 0);
}

TEST(LoGaps, SortsNeverDrawnFirstThenLongestCurrentGapThenNumber) {
  std::vector<LoGap> gaps = GapsOf(Days({{1, 2, 3}, {4, 5}, {6}, {1, 4, 5, 6}}), 2);
  SortByCurrentGap(gaps);
  ASSERT_EQ(gaps.size(), 100u);
  // 94 numbers never drawn, by number, then 2 and 3 (away 3 days), then the last day's.
  const int32_t first[] = {0, 7, 8, 9};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(gaps[i].number, first[i]);
  for (size_t i = 0; i < 94; ++i) EXPECT_FALSE(gaps[i].lastDrawn.has_value()) << i;
  const int32_t last[] = {2, 3, 1, 4, 5, 6};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(gaps[94 + i].number, last[i]) << i;
}

}  // namespace
}  // namespace pradima
