#pragma once
// The draw days of a period, walked by the rules every report of the engine
// shares: the weekday selection, the region's marked blocks, and the test
// cell of its first block. The count and the gaps both walk them here, so
// they agree on which days exist.
#include <array>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "selection/count_lo.h"
#include "session/conversions.h"
#include "terms/lottery.h"

namespace pradima {

// A date cell as the count reads it: a date or a number as it is, text through the conversion.
inline DateSerial DateOfCell(const Value& cell) {
  return cell.kind() == CellKind::Date || cell.kind() == CellKind::Number ? cell.number() : ToDate(cell);
}

// Calls onDay(row, date) for each draw day of the period, oldest first, then
// onNumber(row, lô) for each of its numbers in block and cell order. `Cells`
// is a CellTable, or one of its final kinds (BlockCells, RowCells) for a walk
// without a virtual call per cell.
template <typename Cells, typename OnDay, typename OnNumber>
void WalkDrawDays(const Block& dates, const PeriodRows& period, const Cells& cells, int32_t firstColumn,
                  const BlockMarks& marks, int weekdayCode, const RegionBlocks& region, int digits, OnDay onDay,
                  OnNumber onNumber) {
  if (period.empty()) return;
  // Every head column plus its numbers must lie inside the results.
  for (int b = region.first; b <= region.last && region.known(); ++b)
    for (int w = 1; w <= 7; ++w) {
      const int32_t head = marks[static_cast<size_t>(w)][static_cast<size_t>(b)];
      if (head && head + region.numbersPerBlock > terms::kResultColumns) {
        throw Error(VbError::SubscriptOutOfRange, "block " + std::to_string(b) + " lies beyond column " +
                                                      std::to_string(terms::kResultColumns) + " of the results");
      }
    }
  // Sheet row r and column c as the table holds them.
  const auto row = [&](int32_t r) { return r - period.first + 1; };
  const auto column = [&](int32_t c) { return c - firstColumn + 1; };
  for (int32_t r = period.first; r <= period.last; ++r) {
    const DateSerial date = DateOfCell(dates(r, 1));
    const int weekday = WeekdayOf(date);
    if (weekdayCode != terms::kEveryDay && weekdayCode != weekday) continue;
    const auto& heads = marks[static_cast<size_t>(weekday)];
    const int32_t testHead = region.known() ? heads[static_cast<size_t>(region.first)] : 0;
    // A weekday on which the region's first block does not draw is no draw day.
    if (testHead == 0 || !cells.HasText(row(r), column(testHead + 1))) continue;
    onDay(r, date);
    for (int b = region.first; b <= region.last; ++b) {
      const int32_t head = heads[static_cast<size_t>(b)];
      if (head == 0) break;
      for (int k = 1; k <= region.numbersPerBlock; ++k) onNumber(r, cells.LoOf(row(r), column(head + k), digits));
    }
  }
}

}  // namespace pradima
