#include "cli/roi_report.h"

#include <algorithm>
#include <ostream>

#include "cli/report_format.h"
#include "cli/request_report.h"
#include "cli/translate.h"
#include "selection/number_type.h"

namespace pradima::cli {
namespace {

void PrintTable(const DrawRequest& request, int32_t drawDays, std::vector<LoRepeat> repeats, std::ostream& out) {
  PrintRequestLines(request, out);
  out << TrFormat("{1} draw days", {std::to_string(drawDays)}) << "\n";
  const std::string headers[] = {Tr("number"), Tr("days"), Tr("roi"), Tr("streak")};
  const size_t width[] = {std::max<size_t>(6, Columns(headers[0])), std::max<size_t>(5, Columns(headers[1])),
                          std::max<size_t>(5, Columns(headers[2])), std::max<size_t>(6, Columns(headers[3]))};
  out << PadRight(headers[0], width[0]) << "  " << PadLeft(headers[1], width[1]) << "  "
      << PadLeft(headers[2], width[2]) << "  " << PadLeft(headers[3], width[3]) << "  " << Tr("longest streak") << "\n";
  SortByStreak(repeats);
  for (const LoRepeat& repeat : repeats)
    out << PadRight(NumberText(repeat.number, 2), width[0]) << "  " << PadLeft(std::to_string(repeat.days), width[1])
        << "  " << PadLeft(std::to_string(repeat.repeatDays), width[2]) << "  "
        << PadLeft(std::to_string(repeat.streak), width[3]) << "  " << repeat.longestStreak << "\n";
}

void PrintCsv(const std::vector<LoRepeat>& repeats, std::ostream& out) {
  out << "number,days,roi,streak,longest_streak\n";
  for (const LoRepeat& repeat : repeats)
    out << NumberText(repeat.number, 2) << "," << repeat.days << "," << repeat.repeatDays << "," << repeat.streak
        << "," << repeat.longestStreak << "\n";
}

void PrintJson(const DrawRequest& request, int32_t drawDays, const std::vector<LoRepeat>& repeats,
               std::ostream& out) {
  out << "{\"request\": " << RequestJson(request) << ",\n \"draw_days\": " << drawDays << ",\n \"rows\": [";
  for (size_t i = 0; i < repeats.size(); ++i) {
    const LoRepeat& repeat = repeats[i];
    out << (i ? ",\n  " : "\n  ") << "{\"number\": \"" << NumberText(repeat.number, 2)
        << "\", \"days\": " << repeat.days << ", \"roi\": " << repeat.repeatDays << ", \"streak\": " << repeat.streak
        << ", \"longest_streak\": " << repeat.longestStreak << "}";
  }
  out << "\n ]}\n";
}

}  // namespace

void PrintRoiReport(const DrawRequest& request, int32_t drawDays, const std::vector<LoRepeat>& repeats,
                    ReportFormat format, std::ostream& out) {
  if (format == ReportFormat::Csv) return PrintCsv(repeats, out);
  if (format == ReportFormat::Json) return PrintJson(request, drawDays, repeats, out);
  PrintTable(request, drawDays, repeats, out);
}

}  // namespace pradima::cli
