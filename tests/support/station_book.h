#pragma once
// A small Central and South results workbook typed by hand, for the tests
// of one station: a few days of August 2026, each block with its station's
// name in the head cell and its prizes in the columns after it.
#include <sstream>
#include <string>
#include <vector>

#include "base/date.h"
#include "support/data_files.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::testing {

// A station's draw: its block (1 to 7), the name in its head cell, and its
// first prizes from the special prize (the cell after the head) on, apart by
// spaces. A prize not given holds 4xy by its place k (1 to 18), xy = 19 + k,
// so no prize is blank (a blank counts as 00); none given leaves the whole
// block blank but its head: the station did not draw that day.
struct StationDraw {
  int block;
  std::string name;
  std::string prizes;
};
struct StationDay {
  CivilDate date;
  std::vector<StationDraw> draws;
};

// The days of tests/data/tables/hand-made-stations.tsv: every block the standard region table marks for the
// weekday is given, so that a count of a whole region sees no blank block but Khánh Hòa's. The South did not
// draw on Wednesday 5 August or Sunday 9 August; on Wednesday 12 August Khánh Hòa's name is there, its prizes
// are not.
inline std::vector<StationDay> HandMadeStationDays() {
  std::vector<StationDay> days;
  for (const std::vector<std::string>& row : DataTable("hand-made-stations.tsv")) {
    const CivilDate date = ParseCivilDate(row.at(0)).value();
    if (days.empty() || days.back().date != date) days.push_back({date, {}});
    days.back().draws.push_back({std::stoi(row.at(1)), row.at(2), row.at(3)});
  }
  return days;
}

// Writes `days` after the last row of the results sheet of the workbook at
// `path` (as pradima init makes it) and saves it.
inline void AppendStationDays(const std::string& path, const std::vector<StationDay>& days) {
  xlsx::XlsxWorkbook workbook = xlsx::XlsxWorkbook::Open(path);
  const auto results = workbook.book()->SheetByCodeName(terms::kResultsCodeName);
  int32_t row = std::max(results->LastRowAtOrAbove(1000000, 1) + 1, terms::kFirstResultRow);
  for (const StationDay& day : days) {
    results->Set(row, 1, Value::Date(SerialFromCivil(day.date)));
    results->Set(row, 2,
                 Value::Text(terms::kWeekdayLabels[static_cast<size_t>(WeekdayOf(SerialFromCivil(day.date)) - 1)]));
    for (const StationDraw& draw : day.draws) {
      const int32_t head = terms::kBlockHeadColumns[static_cast<size_t>(draw.block)];
      results->Set(row, head, Value::Text(draw.name));
      if (draw.prizes.empty()) continue;
      std::istringstream given(draw.prizes);
      std::string prize;
      for (int k = 1; k <= terms::kPrizesPerStation; ++k)
        results->Set(row, head + k, Value::Text(given >> prize ? prize : std::to_string(419 + k)));
    }
    ++row;
  }
  workbook.Save();
}

}  // namespace pradima::testing
