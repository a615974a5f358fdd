#include "cli/bacnho_report.h"

#include <cstdio>
#include <iomanip>
#include <ostream>

#include "cli/request_report.h"
#include "cli/translate.h"
#include "selection/number_type.h"

namespace pradima::cli {
namespace {

// A share to three decimals; empty when there is none.
std::string ShareText(const std::optional<double>& share) {
  if (!share) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", *share);
  return text;
}

std::string NumbersText(const std::vector<int32_t>& numbers, const char* separator) {
  std::string text;
  for (const int32_t number : numbers) text += (text.empty() ? "" : separator) + NumberText(number, 2);
  return text;
}

void PrintTable(const DrawRequest& request, const std::vector<int32_t>& after, int32_t drawDays,
                const LoFollowers& followers, std::ostream& out) {
  PrintRequestLines(request, out);
  PrintRequestLine("after", NumbersText(after, ", "), out);
  out << TrFormat("{1} draw days, {2} trigger days (with every number of --after, the last draw day excluded)",
                  {std::to_string(drawDays), std::to_string(followers.triggers)})
      << "\n";
  if (followers.triggers == 0) {
    out << Tr("No draw day before the last had every number of --after: nothing to follow.") << "\n";
    return;
  }
  out << std::left << std::setw(6) << Tr("number") << std::right << "  " << std::setw(9) << Tr("next days") << "  "
      << Tr("share") << "\n";
  for (const LoFollower& follower : followers.numbers)
    out << std::left << std::setw(6) << NumberText(follower.number, 2) << std::right << "  " << std::setw(9)
        << follower.nextDays << "  " << ShareText(follower.share) << "\n";
}

void PrintCsv(const LoFollowers& followers, std::ostream& out) {
  out << "number,next_days,triggers,share\n";
  for (const LoFollower& follower : followers.numbers)
    out << NumberText(follower.number, 2) << "," << follower.nextDays << "," << followers.triggers << ","
        << ShareText(follower.share) << "\n";
}

void PrintJson(const DrawRequest& request, const std::vector<int32_t>& after, int32_t drawDays,
               const LoFollowers& followers, std::ostream& out) {
  out << "{\"request\": {" << RequestJsonMembers(request) << ", \"after\": [\"" << NumbersText(after, "\", \"")
      << "\"], \"top\": " << request.top << "},\n \"draw_days\": " << drawDays
      << ",\n \"triggers\": " << followers.triggers << ",\n \"rows\": [";
  for (size_t i = 0; i < followers.numbers.size(); ++i) {
    const LoFollower& follower = followers.numbers[i];
    const std::string share = ShareText(follower.share);
    out << (i ? ",\n  " : "\n  ") << "{\"number\": \"" << NumberText(follower.number, 2)
        << "\", \"next_days\": " << follower.nextDays << ", \"triggers\": " << followers.triggers
        << ", \"share\": " << (share.empty() ? "null" : share) << "}";
  }
  out << "\n ]}\n";
}

}  // namespace

void PrintBacnhoReport(const DrawRequest& request, const std::vector<int32_t>& after, int32_t drawDays,
                       const LoFollowers& followers, ReportFormat format, std::ostream& out) {
  if (format == ReportFormat::Csv) return PrintCsv(followers, out);
  if (format == ReportFormat::Json) return PrintJson(request, after, drawDays, followers, out);
  PrintTable(request, after, drawDays, followers, out);
}

}  // namespace pradima::cli
