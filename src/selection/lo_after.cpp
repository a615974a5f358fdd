#include "selection/lo_after.h"

#include <algorithm>
#include <string>

#include "base/error.h"

namespace pradima {
namespace {

bool HasAll(const DrawDay& day, const std::vector<int32_t>& after) {
  return std::all_of(after.begin(), after.end(), [&day](int32_t number) {
    return std::find(day.numbers.begin(), day.numbers.end(), number) != day.numbers.end();
  });
}

}  // namespace

LoFollowers FollowersOf(const std::vector<DrawDay>& days, const std::vector<int32_t>& after, int digits) {
  const int32_t size = digits == 3 ? 1000 : 100;
  if (after.empty()) throw Error(VbError::InvalidArgument, "no number to follow: the list of numbers is empty");
  for (const int32_t number : after)
    if (number < 0 || number >= size)
      throw Error(VbError::InvalidArgument, "the number " + std::to_string(number) + " to follow is not one of 0 to " +
                                                std::to_string(size - 1));
  LoFollowers followers;
  followers.numbers.resize(static_cast<size_t>(size));
  for (int32_t n = 0; n < size; ++n) followers.numbers[static_cast<size_t>(n)].number = n;
  std::vector<bool> cameNext(static_cast<size_t>(size));
  for (size_t i = 0; i + 1 < days.size(); ++i) {
    if (!HasAll(days[i], after)) continue;
    ++followers.triggers;
    std::fill(cameNext.begin(), cameNext.end(), false);
    for (const int32_t lo : days[i + 1].numbers) {
      if (lo < 0 || lo >= size || cameNext[static_cast<size_t>(lo)]) continue;
      cameNext[static_cast<size_t>(lo)] = true;
      ++followers.numbers[static_cast<size_t>(lo)].nextDays;
    }
  }
  for (LoFollower& follower : followers.numbers)
    if (followers.triggers > 0) follower.share = static_cast<double>(follower.nextDays) / followers.triggers;
  std::stable_sort(followers.numbers.begin(), followers.numbers.end(), [](const LoFollower& a, const LoFollower& b) {
    return a.nextDays != b.nextDays ? a.nextDays > b.nextDays : a.number < b.number;
  });
  return followers;
}

}  // namespace pradima
