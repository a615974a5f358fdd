#pragma once
// The đề laid out as followers read it: by week (Monday to Sunday across)
// or by year (days 1 to 31 down, months across). The workbook writes these
// tables as they are; the tool prints them.
#include <string>
#include <vector>

#include "selection/special_prizes.h"
#include "session/value.h"

namespace pradima {

// A table of đề. `headings` are the workbook's words in their stored Telex
// form, one per column. A row's first cell says where it stands (the week's
// Monday as a date, or the day of the month as a number); each other cell
// holds the đề of that day's stations side by side in block order ("07 45"),
// as text, and is empty for a day with none (no draw, a day the weekday
// choice leaves out, the 30th of February).
struct DeTable {
  int32_t year = 0;  // the year of a year table; 0 for the week table
  std::vector<std::string> headings;
  std::vector<std::vector<Value>> rows;
};

// One row per week, Monday to Sunday, from the week of the first entry to
// the week of the last, weeks without a draw included; no row without entries.
DeTable DeByWeek(const std::vector<SpecialPrize>& prizes);

// One table per year from the year of the first entry to that of the last,
// each with 31 rows of the days and the columns T1 to T12.
std::vector<DeTable> DeByYear(const std::vector<SpecialPrize>& prizes);

}  // namespace pradima
