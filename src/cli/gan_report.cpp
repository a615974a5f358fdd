#include "cli/gan_report.h"

#include <cstdio>
#include <iomanip>
#include <ostream>

#include "cli/command_line.h"
#include "selection/number_type.h"

namespace pradima::cli {
namespace {

std::string ShortDate(const std::optional<DateSerial>& date, const char* none) {
  return date ? FormatShortDate(CivilFromSerial(*date)) : none;
}

std::string JsonDate(const std::optional<DateSerial>& date) {
  return date ? JsonString(IsoDate(CivilFromSerial(*date))) : "null";
}

std::string JsonCount(const std::optional<int32_t>& count) { return count ? std::to_string(*count) : "null"; }

void PrintTable(const DrawRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps, int digits,
                std::ostream& out) {
  const auto periodEnd = [](const std::optional<CivilDate>& date) { return date ? FormatShortDate(*date) : "-"; };
  out << "period   " << periodEnd(request.from) << " to " << periodEnd(request.to) << "\n"
      << "region   " << request.region << "\n"
      << "weekday  " << request.weekday << "\n"
      << "type     " << request.type << "\n";
  if (request.prizes != terms::Prizes::All) out << "prizes   " << PrizesName(request.prizes) << "\n";
  out << drawDays << " draw days\n";
  out << std::left << std::setw(6) << "number"
      << "  " << std::setw(10) << "last drawn"
      << "  " << std::right << std::setw(5) << "gap"
      << "  " << std::setw(7) << "longest"
      << "  " << std::left << "longest ended\n";
  for (const LoGap& gap : gaps) {
    std::string ended = ShortDate(gap.longestEnded, "never");
    if (gap.longestRunning) ended += " (running)";
    out << std::left << std::setw(6) << NumberText(gap.number, digits) << "  " << std::setw(10)
        << ShortDate(gap.lastDrawn, "never") << "  " << std::right << std::setw(5) << gap.currentGap << "  "
        << std::setw(7) << (gap.longestGap ? std::to_string(*gap.longestGap) : "-") << "  " << ended << "\n";
  }
}

void PrintCsv(const std::vector<LoGap>& gaps, int digits, std::ostream& out) {
  out << "number,last_drawn,current_gap,longest_gap,longest_gap_ended,longest_gap_running\n";
  const auto date = [](const std::optional<DateSerial>& d) { return d ? IsoDate(CivilFromSerial(*d)) : ""; };
  for (const LoGap& gap : gaps) {
    out << NumberText(gap.number, digits) << "," << date(gap.lastDrawn) << "," << gap.currentGap << ","
        << (gap.longestGap ? std::to_string(*gap.longestGap) : "") << "," << date(gap.longestEnded) << ","
        << (gap.longestRunning ? "true" : "false") << "\n";
  }
}

void PrintJson(const DrawRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps, int digits,
               std::ostream& out) {
  const auto end = [](const std::optional<CivilDate>& d) { return d ? JsonString(IsoDate(*d)) : std::string("null"); };
  out << "{\"request\": {\"from\": " << end(request.from) << ", \"to\": " << end(request.to)
      << ", \"region\": " << JsonString(request.region) << ", \"weekday\": " << JsonString(request.weekday)
      << ", \"type\": " << JsonString(request.type) << ", \"prizes\": " << JsonString(PrizesName(request.prizes))
      << ", \"top\": " << request.top << "},\n"
      << " \"draw_days\": " << drawDays << ",\n \"rows\": [";
  for (size_t i = 0; i < gaps.size(); ++i) {
    const LoGap& gap = gaps[i];
    out << (i ? ",\n  " : "\n  ") << "{\"number\": \"" << NumberText(gap.number, digits)
        << "\", \"last_drawn\": " << JsonDate(gap.lastDrawn) << ", \"current_gap\": " << gap.currentGap
        << ", \"longest_gap\": " << JsonCount(gap.longestGap)
        << ", \"longest_gap_ended\": " << JsonDate(gap.longestEnded)
        << ", \"longest_gap_running\": " << (gap.longestRunning ? "true" : "false") << "}";
  }
  out << "\n ]}\n";
}

}  // namespace


void PrintGanReport(const DrawRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps, int digits,
                    ReportFormat format, std::ostream& out) {
  if (format == ReportFormat::Csv) return PrintCsv(gaps, digits, out);
  if (format == ReportFormat::Json) return PrintJson(request, drawDays, gaps, digits, out);
  PrintTable(request, drawDays, gaps, digits, out);
}

}  // namespace pradima::cli
