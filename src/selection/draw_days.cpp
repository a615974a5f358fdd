#include "selection/draw_days.h"

#include <algorithm>

#include "selection/draw_walk.h"
#include "session/conversions.h"

namespace pradima {

std::vector<DrawDay> DrawDaysInPeriod(const Block& dates, const PeriodRows& period, const CellTable& cells,
                                      int32_t firstColumn, const BlockMarks& marks, int weekdayCode,
                                      const RegionBlocks& region, int digits) {
  std::vector<DrawDay> days;
  WalkDrawDays(
      dates, period, cells, firstColumn, marks, weekdayCode, region, digits,
      [&](int32_t r, DateSerial date) {
        DrawDay& day = days.emplace_back();
        day.date = date;
        const auto& heads = marks[static_cast<size_t>(WeekdayOf(date))];
        for (int b = region.first; b <= region.last; ++b) {
          const int32_t head = heads[static_cast<size_t>(b)];
          if (head == 0) break;
          const int32_t row = r - period.first + 1;
          const Value special = cells.ValueAt(row, head + 1 - firstColumn + 1);
          // The North's head column holds the weekday's label, not a station.
          const bool north = b == terms::kBlocks;
          day.blocks.push_back({b, north ? std::string() : ToText(cells.ValueAt(row, head - firstColumn + 1)),
                                ToText(special),
                                HasText(special), day.blocks.size() * static_cast<size_t>(region.numbersPerBlock),
                                static_cast<size_t>(region.numbersPerBlock)});
        }
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

std::vector<DrawDay> OnlyStation(const std::vector<DrawDay>& days, std::string_view station) {
  std::vector<DrawDay> chosen;
  for (const DrawDay& day : days)
    for (const DrawBlock& block : day.blocks) {
      if (!block.drew || block.station != station) continue;
      const auto first = day.numbers.begin() + static_cast<std::ptrdiff_t>(block.firstNumber);
      DrawBlock only = block;
      only.firstNumber = 0;
      chosen.push_back({day.date, {first, first + static_cast<std::ptrdiff_t>(block.numberCount)}, {only}});
      break;
    }
  return chosen;
}

std::vector<std::string> StationsOf(const std::vector<DrawDay>& days) {
  std::vector<std::string> names;
  for (const DrawDay& day : days)
    for (const DrawBlock& block : day.blocks)
      if (block.drew && !block.station.empty() && std::find(names.begin(), names.end(), block.station) == names.end())
        names.push_back(block.station);
  return names;
}

}  // namespace pradima
