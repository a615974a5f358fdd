#include "cli/stats_report.h"

#include <ostream>
#include <string>
#include <utility>

#include "base/date.h"
#include "cli/command_line.h"
#include "cli/control_sheet.h"
#include "cli/request_report.h"
#include "session/cell_table.h"
#include "session/conversions.h"
#include "terms/sheet_layout.h"

namespace pradima::cli {
namespace {

// A count cell: its number, or none when empty.
std::string CountText(const Value& cell, const char* none) {
  return cell.IsNumber() ? std::to_string(static_cast<long long>(cell.number())) : none;
}

std::string JsonDateOf(const Value& cell) {
  if (cell.kind() == CellKind::Date || cell.kind() == CellKind::Number)
    return JsonString(IsoDate(CivilFromSerial(cell.number())));
  return JsonString(ToText(cell));
}

// Ten counts by digit as a JSON array, or null when there are none.
std::string DigitCountsJson(const std::optional<HeadsAndTails>& counts, std::array<int64_t, 10> HeadsAndTails::*which) {
  if (!counts) return "null";
  std::string json = "[";
  for (const int64_t count : (*counts).*which) json += (json.size() > 1 ? ", " : "") + std::to_string(count);
  return json + "]";
}

}  // namespace

void PrintStatsReport(const MemorySheet& control, int32_t drawDays, terms::Prizes prizes, const std::string& station,
                      const std::optional<HeadsAndTails>& headsAndTails, ReportFormat format, std::ostream& out) {
  const CellRef first = kListFirst;
  const int32_t end = first.row + ListedCount(control);
  const auto blank = [&](int32_t r) { return !HasText(control.Get(r, first.column)); };
  if (format == ReportFormat::Csv) {
    out << "number,days,appearances\n";
    for (int32_t r = first.row; r < end; ++r)
      if (!blank(r))
        out << CsvField(ToText(control.Get(r, first.column))) << "," << CountText(control.Get(r, first.column + 1), "")
            << "," << CountText(control.Get(r, first.column + 2), "") << "\n";
    return;
  }
  out << "{\"request\": {\"from\": " << JsonDateOf(CellAt(control, terms::kStartDateCell))
      << ", \"to\": " << JsonDateOf(CellAt(control, terms::kEndDateCell))
      << ", \"region\": " << JsonString(ToText(CellAt(control, terms::kRegionCell)))
      << ", \"weekday\": " << JsonString(ToText(CellAt(control, terms::kWeekdayCell)))
      << ", \"set\": " << JsonString(ToText(CellAt(control, terms::kNumberSetCell)))
      << ", \"type\": " << JsonString(ToText(CellAt(control, terms::kNumberTypeCell)))
      << ", \"prizes\": " << JsonString(PrizesName(prizes)) << ", \"station\": " << StationJson(station) << "},\n"
      << " \"draw_days\": " << drawDays << ",\n \"rows\": [";
  const char* separator = "\n  ";
  for (int32_t r = first.row; r < end; ++r) {
    if (blank(r)) continue;
    out << std::exchange(separator, ",\n  ") << "{\"number\": " << JsonString(ToText(control.Get(r, first.column)))
        << ", \"days\": " << CountText(control.Get(r, first.column + 1), "null")
        << ", \"appearances\": " << CountText(control.Get(r, first.column + 2), "null") << "}";
  }
  out << "\n ],\n \"dau\": " << DigitCountsJson(headsAndTails, &HeadsAndTails::heads)
      << ",\n \"duoi\": " << DigitCountsJson(headsAndTails, &HeadsAndTails::tails) << "}\n";
}

}  // namespace pradima::cli
