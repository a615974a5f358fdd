#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "base/error.h"
#include "selection/lo_after.h"
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

TEST(LoAfter, CountsWhatCameTheDayAfterEachTriggerDay) {
  using Row = std::pair<int32_t, int32_t>;  // number, next days
  struct Case {
    const char* what;
    std::vector<DrawDay> days;
    std::vector<int32_t> after;
    int32_t triggers;
    std::vector<Row> first;  // the leading rows, in order
    std::optional<double> firstShare;
  };
  const std::vector<DrawDay> twice = Days({{27, 72, 5}, {5, 9}, {27}, {9}, {72, 27, 27}, {5, 5}});
  const Case cases[] = {
      {"both numbers needed; twice on a day once", twice, {27, 72}, 2, {{5, 2}, {9, 1}, {0, 0}}, 1.0},
      {"one number", twice, {27}, 3, {{5, 2}, {9, 2}, {0, 0}}, 2.0 / 3},
      {"a trigger on the last day has no next", Days({{1}, {27}, {3}, {27}}), {27}, 1, {{3, 1}, {0, 0}}, 1.0},
      {"no trigger day", Days({{27}, {72}}), {27, 72}, 0, {{0, 0}, {1, 0}, {2, 0}}, std::nullopt},
      {"no draw days", Days({}), {27}, 0, {{0, 0}}, std::nullopt},
  };
  for (const Case& c : cases) {
    const LoFollowers followers = FollowersOf(c.days, c.after);
    EXPECT_EQ(followers.triggers, c.triggers) << c.what;
    ASSERT_EQ(followers.numbers.size(), 100u) << c.what;
    for (size_t i = 0; i < c.first.size(); ++i)
      EXPECT_EQ(Row(followers.numbers[i].number, followers.numbers[i].nextDays), c.first[i]) << c.what << " " << i;
    EXPECT_EQ(followers.numbers[0].share, c.firstShare) << c.what;
    EXPECT_EQ(followers.numbers[99].share.has_value(), c.triggers > 0) << c.what;
  }
}

TEST(LoOverDays, RefusesAnEmptyListNumbersOutsideTheTypeAndSetsOtherThanPairsOrTriples) {
  const std::vector<DrawDay> days = Days({{1}, {2}});
  for (const std::vector<int32_t>& after : {std::vector<int32_t>{}, {100}, {-1}})
    EXPECT_THROW(FollowersOf(days, after), Error) << after.size();
  EXPECT_EQ(FollowersOf(days, {99}).triggers, 0);
  for (const int size : {1, 4}) EXPECT_THROW(LoTogetherOf(days, size, 20), Error) << size;
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
    const std::vector<LoRepeat> repeats = RepeatsOf(c.days);
    ASSERT_EQ(repeats.size(), 100u);
    const LoRepeat& seven = repeats[7];
    EXPECT_EQ(seven.number, 7) << c.what;
    EXPECT_EQ(seven.days, c.days7) << c.what;
    EXPECT_EQ(seven.repeatDays, c.repeats) << c.what;
    EXPECT_EQ(seven.streak, c.streak) << c.what;
    EXPECT_EQ(seven.longestStreak, c.longest) << c.what;
  }
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

TEST(LoTogether, SetsRankedByDaysThenNumbers) {
  struct Case {
    const char* what;
    std::vector<DrawDay> days;
    int size;  // 0: a number with its reverse
    int32_t top;
    std::vector<std::string> sets;
  };
  const Case cases[] = {
      {"no draw days", Days({}), 2, 20, {}},
      {"one number a day makes no pair", Days({{5}, {5, 5}}), 2, 20, {}},
      {"ties by the numbers, the last day kept",
       Days({{40, 7, 12}, {12, 40}, {7, 12}}),
       2,
       20,
       {"07-12 x2 @1002", "12-40 x2 @1001", "07-40 x1 @1000"}},
      {"a number twice on a day counts once", Days({{12, 7, 12, 7}, {7, 7}}), 2, 20, {"07-12 x1 @1000"}},
      {"top cuts the ranking", Days({{1, 2, 3}, {2, 3}}), 2, 2, {"02-03 x2 @1001", "01-02 x1 @1000"}},
      {"numbers outside 00 to 99 are left out", Days({{99, 100, -1, 0}}), 2, 20, {"00-99 x1 @1000"}},
      {"triples",
       Days({{9, 1, 5, 3}, {5, 1, 9}, {1, 9}}),
       3,
       20,
       {"01-05-09 x2 @1001", "01-03-05 x1 @1000", "01-03-09 x1 @1000", "03-05-09 x1 @1000"}},
      {"triples of the highest numbers", Days({{97, 98, 99, 99}}), 3, 20, {"97-98-99 x1 @1000"}},
      {"reverse pairs only, doubles none",
       Days({{17, 71, 11, 12}, {70, 7, 71, 17, 11}, {22, 33}}),
       0,
       20,
       {"17-71 x2 @1001", "07-70 x1 @1001"}},
  };
  for (const Case& c : cases) {
    const auto sets = c.size == 0 ? ReversePairsOf(c.days, c.top) : LoTogetherOf(c.days, c.size, c.top);
    EXPECT_EQ(Described(sets), c.sets) << c.what;
  }
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

}  // namespace
}  // namespace pradima
