#include "selection/draw_days.h"

#include "selection/draw_walk.h"

namespace pradima {

std::vector<DrawDay> DrawDaysInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells,
                                      int32_t firstColumn, const BlockMarks& marks, int weekdayCode,
                                      const RegionBlocks& region, int digits) {
  std::vector<DrawDay> days;
  WalkDrawDays(
      dates, period, cells, firstColumn, marks, weekdayCode, region, digits,
      [&](int32_t, DateSerial date) {
        days.push_back({date, {}});
      },
      [&](int32_t, int32_t lo) { days.back().numbers.push_back(lo); });
  return days;
}

std::vector<DrawDay> ReadDrawDays(Session session, DateSerial startDate, DateSerial endDate,
                                  const std::string& regionName, const std::string& numberType, terms::Prizes prizes) {
  const PeriodCells read = ReadPeriodCells(session, startDate, endDate, regionName, prizes);
  return DrawDaysInPeriod(read.dates, read.period, *read.cells, read.region.firstColumn, read.marks, read.weekdayCode,
                          read.region, DigitCount(numberType));
}

}  // namespace pradima
