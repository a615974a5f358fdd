#include "cli/xien_report.h"

#include <iomanip>
#include <ostream>

#include "cli/translate.h"
#include "selection/number_type.h"

namespace pradima::cli {
namespace {

// "07-12": the numbers with their leading zero, ascending, joined by "-".
std::string SetText(const LoTogether& set) {
  std::string text;
  for (const int32_t number : set.numbers) {
    if (!text.empty()) text += '-';
    text += NumberText(number, 2);
  }
  return text;
}

std::string PeriodEnd(const std::optional<CivilDate>& date, bool iso) {
  if (!date) return iso ? "null" : "-";
  return iso ? JsonString(IsoDate(*date)) : FormatShortDate(*date);
}

void PrintTable(const XienRequest& request, int32_t drawDays, const std::vector<LoTogether>& sets, std::ostream& out) {
  const DrawRequest& draws = request.draws;
  out << Tr("period") << ": " << TrFormat("{1} to {2}", {PeriodEnd(draws.from, false), PeriodEnd(draws.to, false)})
      << "\n"
      << Tr("region") << ": " << draws.region << "\n"
      << Tr("weekday") << ": " << draws.weekday << "\n";
  if (!draws.station.empty()) out << Tr("station") << ": " << draws.station << "\n";
  out << TrFormat("{1} draw days", {std::to_string(drawDays)}) << "\n"
      << (request.reverse
              ? Tr("numbers with their reverse that came on the same draw day")
              : TrFormat("sets of {1} numbers that came on the same draw day", {std::to_string(request.size)}))
      << "\n";
  const int width = request.size == 3 ? 8 : 5;
  out << std::left << std::setw(width) << Tr("numbers") << "  " << std::right << std::setw(5) << Tr("days") << "  "
      << Tr("last together") << "\n";
  for (const LoTogether& set : sets)
    out << std::left << std::setw(width) << SetText(set) << "  " << std::right << std::setw(5) << set.days << "  "
        << FormatShortDate(CivilFromSerial(set.lastDate)) << "\n";
  if (sets.empty()) out << Tr("No numbers came together in the period.") << "\n";
}

void PrintCsv(const std::vector<LoTogether>& sets, std::ostream& out) {
  out << "numbers,days,last_date\n";
  for (const LoTogether& set : sets)
    out << SetText(set) << "," << set.days << "," << IsoDate(CivilFromSerial(set.lastDate)) << "\n";
}

void PrintJson(const XienRequest& request, int32_t drawDays, const std::vector<LoTogether>& sets, std::ostream& out) {
  const DrawRequest& draws = request.draws;
  out << "{\"request\": {\"from\": " << PeriodEnd(draws.from, true) << ", \"to\": " << PeriodEnd(draws.to, true)
      << ", \"region\": " << JsonString(draws.region) << ", \"weekday\": " << JsonString(draws.weekday)
      << ", \"station\": " << (draws.station.empty() ? "null" : JsonString(draws.station))
      << ", \"size\": " << request.size << ", \"reverse\": " << (request.reverse ? "true" : "false")
      << ", \"top\": " << draws.top << "},\n"
      << " \"draw_days\": " << drawDays << ",\n \"rows\": [";
  for (size_t i = 0; i < sets.size(); ++i)
    out << (i ? ",\n  " : "\n  ") << "{\"numbers\": " << JsonString(SetText(sets[i])) << ", \"days\": " << sets[i].days
        << ", \"last_date\": " << JsonString(IsoDate(CivilFromSerial(sets[i].lastDate))) << "}";
  out << "\n ]}\n";
}

}  // namespace

void PrintXienReport(const XienRequest& request, int32_t drawDays, const std::vector<LoTogether>& sets,
                     ReportFormat format, std::ostream& out) {
  if (format == ReportFormat::Csv) return PrintCsv(sets, out);
  if (format == ReportFormat::Json) return PrintJson(request, drawDays, sets, out);
  PrintTable(request, drawDays, sets, out);
}

}  // namespace pradima::cli
