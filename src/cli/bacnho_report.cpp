#include "cli/bacnho_report.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "cli/report_format.h"
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
  const std::string headers[] = {Tr("number"), Tr("next days")};
  const size_t width[] = {std::max<size_t>(6, Columns(headers[0])), std::max<size_t>(9, Columns(headers[1]))};
  out << PadRight(headers[0], width[0]) << "  " << PadLeft(headers[1], width[1]) << "  " << Tr("share") << "\n";
  for (const LoFollower& follower : followers.numbers)
    out << PadRight(NumberText(follower.number, 2), width[0]) << "  "
        << PadLeft(std::to_string(follower.nextDays), width[1]) << "  " << ShareText(follower.share) << "\n";
}

void PrintCsv(const LoFollowers& followers, std::ostream& out) {
  out << "number,next_days,triggers,share\n";
  for (const LoFollower& follower : followers.numbers)
    out << NumberText(follower.number, 2) << "," << follower.nextDays << "," << followers.triggers << ","
        << ShareText(follower.share) << "\n";
}

void PrintJson(const DrawRequest& request, const std::vector<int32_t>& after, int32_t drawDays,
               const LoFollowers& followers, std::ostream& out) {
  out << "{\"request\": " << RequestJson(request, ", \"after\": [\"" + NumbersText(after, "\", \"") + "\"]")
      << ",\n \"draw_days\": " << drawDays
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
