#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "base/error.h"
#include "selection/lo_after.h"
#include "selection/lo_gaps.h"
#include "selection/lo_repeats.h"
#include "selection/lo_together.h"

namespace pradima {
namespace {

// Day i of the list is serial 1000 + i.
std::vector<DrawDay> Days(std::initializer_list<std::vector<int32_t>> numbersByDay) {
  std::vector<DrawDay> days;
  for (const auto& numbers : numbersByDay) days.push_back({1000.0 + static_cast<double>(days.size()), numbers, {}});
  return days;
}

// The roi and bacnho commands are checked against counts worked out from the published results;
// here what those results never show: no draw days, and a trigger on the last day.
TEST(LoOverDays, NoDrawDaysAndATriggerOnTheLastDay) {
  const std::vector<LoRepeat> none = RepeatsOf({});
  ASSERT_EQ(none.size(), 100u);
  for (const LoRepeat& r : none) EXPECT_EQ(r.days + r.repeatDays + r.streak + r.longestStreak, 0) << r.number;
  EXPECT_EQ(FollowersOf({}, {27}).triggers, 0);
  // 27 on the 2nd and the last day: one trigger, 3 its only follower.
  const LoFollowers last = FollowersOf(Days({{1}, {27}, {3}, {27}}), {27});
  EXPECT_EQ(last.triggers, 1);
  EXPECT_EQ(last.numbers[0].number, 3);
  EXPECT_EQ(last.numbers[0].share, 1.0);
}

TEST(LoOverDays, RefusesAnEmptyListNumbersOutsideTheTypeAndSetsOtherThanPairsOrTriples) {
  const std::vector<DrawDay> days = Days({{1}, {2}});
  for (const std::vector<int32_t>& after : {std::vector<int32_t>{}, {100}, {-1}})
    EXPECT_THROW(FollowersOf(days, after), Error) << after.size();
  for (const int size : {1, 4}) EXPECT_THROW(LoTogetherOf(days, size, 20), Error) << size;
}

TEST(LoRepeats, SortsByCurrentStreakThenLongestThenNumber) {
  std::vector<LoRepeat> repeats = RepeatsOf(Days({{1, 2, 3}, {1, 2}, {1, 4}, {4, 5}}));
  SortByStreak(repeats);
  const int32_t first[] = {4, 5, 1, 2, 3, 0, 6};
  for (size_t i = 0; i < std::size(first); ++i) EXPECT_EQ(repeats[i].number, first[i]) << i;
}

// "07-12 x2 @1003": the numbers, on how many days, the last of them.
std::vector<std::string> Described(const std::vector<LoTogether>& sets) {
  std::vector<std::string> texts;
  for (const LoTogether& set : sets) {
    std::string text;
    for (const int32_t n : set.numbers) text.append(text.empty() ? "" : "-").append(std::to_string(100 + n), 1);
    texts.push_back(text + " x" + std::to_string(set.days) + " @" + std::to_string(static_cast<int>(set.lastDate)));
  }
  return texts;
}

// The xien command is checked against the sets of the published results; here what those never hold.
TEST(LoTogether, EdgesThePublishedResultsNeverReach) {
  struct Case {
    const char* what;
    std::vector<DrawDay> days;
    int size;
    std::vector<std::string> sets;
  };
  const Case cases[] = {
      {"no draw days", Days({}), 2, {}},
      {"one number a day makes no pair", Days({{5}, {5, 5}}), 2, {}},
      {"numbers outside 00 to 99 are left out", Days({{99, 100, -1, 0}}), 2, {"00-99 x1 @1000"}},
      {"triples of the highest numbers", Days({{97, 98, 99, 99}}), 3, {"97-98-99 x1 @1000"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Described(LoTogetherOf(c.days, c.size, 20)), c.sets) << c.what;
}

// A Central or South day of four stations holds 72 numbers: every triple of them is counted.
TEST(LoTogether, EveryTripleOfAFourStationDay) {
  std::vector<int32_t> numbers(72);
  std::iota(numbers.begin(), numbers.end(), 0);
  const auto sets = LoTogetherOf(Days({numbers, {0, 1, 2}}), 3, 60000);
  ASSERT_EQ(sets.size(), 72u * 71 * 70 / 6);
  EXPECT_EQ(Described({sets.front(), sets[1], sets.back()}),
            (std::vector<std::string>{"00-01-02 x2 @1001", "00-01-03 x1 @1000", "69-70-71 x1 @1000"}));
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
