#include "cli/roi_report.h"

#include <iomanip>
#include <ostream>

#include "cli/request_report.h"
#include "cli/translate.h"
#include "selection/number_type.h"

namespace pradima::cli {
namespace {

void PrintTable(const DrawRequest& request, int32_t drawDays, std::vector<LoRepeat> repeats, std::ostream& out) {
  PrintRequestLines(request, out);
  out << TrFormat("{1} draw days", {std::to_string(drawDays)}) << "\n";
  out << std::left << std::setw(6) << Tr("number") << std::right << "  " << std::setw(5) << Tr("days") << "  "
      << std::setw(5) << Tr("roi") << "  " << std::setw(6) << Tr("streak") << "  " << Tr("longest streak") << "\n";
  SortByStreak(repeats);
  for (const LoRepeat& repeat : repeats)
    out << std::left << std::setw(6) << NumberText(repeat.number, 2) << std::right << "  " << std::setw(5)
        << repeat.days << "  " << std::setw(5) << repeat.repeatDays << "  " << std::setw(6) << repeat.streak << "  "
        << repeat.longestStreak << "\n";
}

void PrintCsv(const std::vector<LoRepeat>& repeats, std::ostream& out) {
  out << "number,days,roi,streak,longest_streak\n";
  for (const LoRepeat& repeat : repeats)
    out << NumberText(repeat.number, 2) << "," << repeat.days << "," << repeat.repeatDays << "," << repeat.streak
        << "," << repeat.longestStreak << "\n";
}

void PrintJson(const DrawRequest& request, int32_t drawDays, const std::vector<LoRepeat>& repeats,
               std::ostream& out) {
  out << "{\"request\": {" << RequestJsonMembers(request) << "},\n \"draw_days\": " << drawDays << ",\n \"rows\": [";
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
