#pragma once
// The count as the engine made it before it read only the period's rows of
// the region's columns: over the whole results block A5:FF, kept unchanged
// as the oracle the faster count must agree with, and as the benchmarks'
// measure of the counting itself.
#include <array>
#include <string>
#include <string_view>

#include "base/error.h"
#include "selection/count_lo.h"
#include "session/conversions.h"

namespace pradima::testing {
namespace whole_block {

inline DateSerial DateOf(const Value& cell) {
  return cell.kind() == CellKind::Date || cell.kind() == CellKind::Number ? cell.number() : ToDate(cell);
}

// The number the last `digits` characters of a cell's text begin with.
inline int32_t LoOf(const Value& cell, int digits) {
  std::string formatted;
  std::string_view text;
  if (cell.IsText()) [[likely]] {
    text = cell.text();
  } else if (!cell.IsEmpty()) {
    formatted = ToText(cell);
    text = formatted;
  }
  if (text.size() > static_cast<size_t>(digits)) text.remove_prefix(text.size() - static_cast<size_t>(digits));
  int32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
  }
  return number;
}

inline bool HasText(const Value& cell) { return !(cell.IsEmpty() || (cell.IsText() && cell.text().empty())); }

}  // namespace whole_block

// Counts the lô of the draws in a results block (row r is sheet row r + 4,
// column c sheet column c) dated within [start, end], on weekday
// `weekdayCode` (8: every day), for the region's blocks.
inline LoCountResult CountLoInWholeBlock(const Block& results, const BlockMarks& marks, int weekdayCode,
                                         const RegionBlocks& region, int digits, DateSerial start, DateSerial end) {
  LoCountResult result;
  // The period's rows form one run, found upward from the last row.
  int32_t last = results.rows();
  while (last >= 1 && whole_block::DateOf(results(last, 1)) > end) --last;
  if (last < 1 || whole_block::DateOf(results(last, 1)) < start) return result;
  int32_t first = last;
  while (first > 1 && whole_block::DateOf(results(first - 1, 1)) >= start) --first;

  // Every head column plus its numbers must lie inside the block.
  for (int b = region.first; b <= region.last && region.known(); ++b)
    for (int w = 1; w <= 7; ++w) {
      const int32_t head = marks[static_cast<size_t>(w)][static_cast<size_t>(b)];
      if (head && head + region.numbersPerBlock > results.columns()) {
        throw Error(VbError::SubscriptOutOfRange, "block " + std::to_string(b) + " lies beyond column " +
                                                      std::to_string(results.columns()) + " of the results");
      }
    }
  // The per-day set: a number is in today's set when its stamp is today's.
  std::array<int32_t, 1000> seenOn{};
  for (int32_t r = first; r <= last; ++r) {
    const int weekday = WeekdayOf(whole_block::DateOf(results(r, 1)));
    if (weekdayCode != 8 && weekdayCode != weekday) continue;
    const auto& row = marks[static_cast<size_t>(weekday)];
    const int32_t testHead = region.known() ? row[static_cast<size_t>(region.first)] : 0;
    // A weekday on which the region's first block does not draw is no draw day.
    if (testHead == 0 || testHead + 1 > results.columns() || !whole_block::HasText(results(r, testHead + 1))) continue;
    ++result.dayCount;
    for (int b = region.first; b <= region.last; ++b) {
      const int32_t head = row[static_cast<size_t>(b)];
      if (head == 0) break;
      for (int k = 1; k <= region.numbersPerBlock; ++k) {
        const int32_t lo = whole_block::LoOf(results(r, head + k), digits);
        const bool firstToday = seenOn[static_cast<size_t>(lo)] != r;
        seenOn[static_cast<size_t>(lo)] = r;
        result.counts.Add(lo, firstToday);
      }
    }
  }
  return result;
}

}  // namespace pradima::testing
