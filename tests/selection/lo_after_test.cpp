#include "selection/lo_after.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace pradima {
namespace {

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
    std::vector<Row> first;             // the leading rows, in order
    std::optional<double> firstShare;
  };
  const Case cases[] = {
      {"both numbers needed; twice on a day once", Days({{27, 72, 5}, {5, 9}, {27}, {9}, {72, 27, 27}, {5, 5}}),
       {27, 72}, 2, {{5, 2}, {9, 1}, {0, 0}}, 1.0},
      {"one number", Days({{27, 72, 5}, {5, 9}, {27}, {9}, {72, 27, 27}, {5}}), {27}, 3, {{5, 2}, {9, 2}, {0, 0}},
       2.0 / 3},
      {"a trigger on the last day has no next", Days({{1}, {27}, {3}, {27}}), {27}, 1, {{3, 1}, {0, 0}}, 1.0},
      {"no trigger day", Days({{27}, {72}}), {27, 72}, 0, {{0, 0}, {1, 0}, {2, 0}}, std::nullopt},
      {"no draw days", Days({}), {27}, 0, {{0, 0}}, std::nullopt},
  };
  for (const Case& c : cases) {
    const LoFollowers followers = FollowersOf(c.days, c.after, 2);
    EXPECT_EQ(followers.triggers, c.triggers) << c.what;
    ASSERT_EQ(followers.numbers.size(), 100u) << c.what;
    for (size_t i = 0; i < c.first.size(); ++i)
      EXPECT_EQ(Row(followers.numbers[i].number, followers.numbers[i].nextDays), c.first[i]) << c.what << " " << i;
    EXPECT_EQ(followers.numbers[0].share, c.firstShare) << c.what;
    EXPECT_EQ(followers.numbers[99].share.has_value(), c.triggers > 0) << c.what;
  }
}

TEST(LoAfter, RefusesAnEmptyListAndNumbersOutsideTheType) {
  const std::vector<DrawDay> days = Days({{1}, {2}});
  EXPECT_THROW(FollowersOf(days, {}, 2), Error);
  EXPECT_THROW(FollowersOf(days, {100}, 2), Error);
  EXPECT_THROW(FollowersOf(days, {-1}, 3), Error);
  EXPECT_EQ(FollowersOf(days, {1}, 2).triggers, 1);
}

}  // namespace
}  // namespace pradima
