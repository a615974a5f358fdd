#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/date.h"
#include "selection/count_lo.h"

namespace pradima {

// One draw day of a period: its date and every lô read that day, in the
// order of the blocks and their cells (a number drawn twice is there twice).
struct DrawDay {
  DateSerial date = 0;
  std::vector<int32_t> numbers;
};

// The draw days of a period, oldest first, by exactly the rules of
// CountLoInPeriod (same arguments): the weekday selection, the region's
// marked blocks, and the test cell of its first block.
std::vector<DrawDay> DrawDaysInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells,
                                      int32_t firstColumn, const BlockMarks& marks, int weekdayCode,
                                      const RegionBlocks& region, int digits);

// As CountLo reads the workbook (the weekday from the control sheet's cell),
// the draw days of the period instead of their counts. Reads only.
std::vector<DrawDay> ReadDrawDays(Session session, DateSerial startDate, DateSerial endDate,
                                  const std::string& regionName, const std::string& numberType,
                                  terms::Prizes prizes = terms::Prizes::All);

}  // namespace pradima
