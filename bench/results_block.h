#pragma once
// A results sheet of `days` rows from 1 January 2005, every region filled
// from the fixture pages' prizes as the results download writes them.
#include "session/memory_workbook.h"
#include "session/standard_workbook.h"
#include "support/fixture_pages.h"
#include "terms/lottery.h"
#include "terms/station_schedule.h"

namespace pradima::bench {

inline void FillResults(MemorySheet& results, int days) {
  const int64_t first = DaysFromCivil({2005, 1, 1});
  for (int j = 0; j < days; ++j) {
    const CivilDate day = CivilFromDays(first + j);
    const int weekday = WeekdayOf(SerialFromCivil(day));
    const int32_t row = 5 + j;
    results.Set(row, 1, Value::Date(SerialFromCivil(day)));
    results.Set(row, 2, Value::Text(terms::kWeekdayLabels[static_cast<size_t>(weekday - 1)]));
    for (int c = 3; c <= 29; ++c) results.Set(row, c, Value::Text(testing::FixturePrize(day, '2', 1, c - 2)));
    for (int b = 1; b <= 7; ++b) {
      const bool central = b <= 3;
      const int station = central ? b : b - 3;
      if (station > (central ? terms::CentralStationCount(weekday) : terms::SouthStationCount(weekday))) continue;
      const int32_t head = 30 + 19 * (b - 1);
      results.Set(row, head, Value::Text(terms::StationName(weekday, b)));
      for (int k = 1; k <= 18; ++k)
        results.Set(row, head + k, Value::Text(testing::FixturePrize(day, central ? '3' : '1', station, 19 - k)));
    }
  }
}

}  // namespace pradima::bench
