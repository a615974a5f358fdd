#include "cli/gan_report.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "cli/command_line.h"
#include "cli/request_report.h"
#include "cli/translate.h"
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
  PrintRequestLines(request, out);
  out << TrFormat("{1} draw days", {std::to_string(drawDays)}) << "\n";
  const char* never = Tr("never");
  const std::string headers[] = {Tr("number"), Tr("last drawn"), Tr("gap"), Tr("longest")};
  const size_t width[] = {std::max<size_t>(6, Columns(headers[0])),
                          std::max<size_t>(10, std::max(Columns(headers[1]), Columns(never))),
                          std::max<size_t>(5, Columns(headers[2])), std::max<size_t>(7, Columns(headers[3]))};
  out << PadRight(headers[0], width[0]) << "  " << PadRight(headers[1], width[1]) << "  "
      << PadLeft(headers[2], width[2]) << "  " << PadLeft(headers[3], width[3]) << "  " << Tr("longest ended") << "\n";
  for (const LoGap& gap : gaps) {
    std::string ended = ShortDate(gap.longestEnded, never);
    if (gap.longestRunning) ended += Tr(" (running)");
    out << PadRight(NumberText(gap.number, digits), width[0]) << "  "
        << PadRight(ShortDate(gap.lastDrawn, never), width[1]) << "  "
        << PadLeft(std::to_string(gap.currentGap), width[2]) << "  "
        << PadLeft(gap.longestGap ? std::to_string(*gap.longestGap) : "-", width[3]) << "  " << ended << "\n";
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
  out << "{\"request\": " << RequestJson(request) << ",\n"
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
