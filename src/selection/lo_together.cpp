#include "selection/lo_together.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/error.h"

namespace pradima {
namespace {

constexpr int32_t kNumbers = 100;

// Counts and the last day's index of every set, in a flat table indexed by
// the set's numbers as the digits of a base-100 number (a*100 + b, or
// a*10000 + b*100 + c, with a < b < c): no map, and the index order is the
// sets' ascending order.
struct SetTable {
  explicit SetTable(int size) : counts(size == 3 ? 1000000 : 10000, 0), lastDay(counts.size(), 0) {}
  void Add(size_t set, int32_t day) {
    ++counts[set];
    lastDay[set] = day;
  }
  std::vector<int32_t> counts;
  std::vector<int32_t> lastDay;
};

// The day's numbers from 00 to 99, each once, ascending.
size_t DistinctNumbers(const DrawDay& day, std::array<int32_t, kNumbers>& out) {
  std::array<bool, kNumbers> seen{};
  for (const int32_t lo : day.numbers)
    if (lo >= 0 && lo < kNumbers) seen[static_cast<size_t>(lo)] = true;
  size_t count = 0;
  for (int32_t n = 0; n < kNumbers; ++n)
    if (seen[static_cast<size_t>(n)]) out[count++] = n;
  return count;
}

SetTable CountSets(const std::vector<DrawDay>& days, int size) {
  SetTable table(size);
  std::array<int32_t, kNumbers> present{};
  for (size_t d = 0; d < days.size(); ++d) {
    const auto day = static_cast<int32_t>(d);
    const size_t count = DistinctNumbers(days[d], present);
    for (size_t i = 0; i < count; ++i)
      for (size_t j = i + 1; j < count; ++j) {
        const auto pair = static_cast<size_t>(present[i] * kNumbers + present[j]);
        if (size == 2) {
          table.Add(pair, day);
          continue;
        }
        for (size_t k = j + 1; k < count; ++k) table.Add(pair * kNumbers + static_cast<size_t>(present[k]), day);
      }
  }
  return table;
}

// The sets the table counted that `keep` accepts, ranked, the first `top`.
template <typename Keep>
std::vector<LoTogether> Ranked(const std::vector<DrawDay>& days, const SetTable& table, int size, int32_t top,
                               Keep keep) {
  std::vector<size_t> sets;
  for (size_t set = 0; set < table.counts.size(); ++set)
    if (table.counts[set] > 0 && keep(set)) sets.push_back(set);
  const size_t shown = std::min(sets.size(), static_cast<size_t>(std::max(top, 0)));
  std::partial_sort(sets.begin(), sets.begin() + static_cast<std::ptrdiff_t>(shown), sets.end(),
                    [&](size_t a, size_t b) {
                      if (table.counts[a] != table.counts[b]) return table.counts[a] > table.counts[b];
                      return a < b;
                    });
  std::vector<LoTogether> ranked;
  ranked.reserve(shown);
  for (size_t i = 0; i < shown; ++i) {
    const size_t set = sets[i];
    LoTogether together{{}, table.counts[set], days[static_cast<size_t>(table.lastDay[set])].date};
    for (size_t scale = size == 3 ? kNumbers * kNumbers : kNumbers; scale > 0; scale /= kNumbers)
      together.numbers.push_back(static_cast<int32_t>(set / scale % kNumbers));
    ranked.push_back(std::move(together));
  }
  return ranked;
}

}  // namespace

int32_t ReverseOf(int32_t number) { return number % 10 * 10 + number / 10 % 10; }

std::vector<LoTogether> LoTogetherOf(const std::vector<DrawDay>& days, int size, int32_t top) {
  if (size != 2 && size != 3)
    throw Error(VbError::InvalidArgument,
                "numbers that came together are counted in sets of 2 or 3, not " + std::to_string(size));
  return Ranked(days, CountSets(days, size), size, top, [](size_t) { return true; });
}

std::vector<LoTogether> ReversePairsOf(const std::vector<DrawDay>& days, int32_t top) {
  return Ranked(days, CountSets(days, 2), 2, top, [](size_t pair) {
    const auto low = static_cast<int32_t>(pair / kNumbers), high = static_cast<int32_t>(pair % kNumbers);
    return ReverseOf(low) == high;
  });
}

}  // namespace pradima
