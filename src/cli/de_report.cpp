#include "cli/de_report.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "cli/translate.h"
#include "selection/de_tables.h"
#include "selection/number_type.h"
#include "terms/lottery.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

// Characters on a terminal: every letter the workbook's words use is one precomposed code point.
size_t Width(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, size_t width) {
  return text + std::string(width - std::min(width, Width(text)), ' ');
}

// Lines of cells in columns as wide as their widest cell, two spaces apart, without trailing blanks.
void PrintColumns(const std::vector<std::vector<std::string>>& lines, std::ostream& out) {
  std::vector<size_t> widths;
  for (const auto& line : lines)
    for (size_t c = 0; c < line.size(); ++c) {
      if (widths.size() <= c) widths.push_back(0);
      widths[c] = std::max(widths[c], Width(line[c]));
    }
  for (const auto& line : lines) {
    std::string text;
    for (size_t c = 0; c < line.size(); ++c) text += (c ? "  " : "") + Padded(line[c], widths[c]);
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  }
}

std::string CellText(const Value& cell) {
  if (cell.kind() == CellKind::Date) return FormatShortDate(CivilFromSerial(cell.date()));
  if (cell.IsNumber()) return std::to_string(static_cast<int64_t>(cell.number()));
  return std::string(cell.text());
}

void PrintTable(const DeTable& table, std::ostream& out) {
  std::vector<std::vector<std::string>> lines(1);
  for (const std::string& heading : table.headings) lines[0].push_back(TelexToUnicode(heading));
  // The first column in the user's language; the weekdays and months across keep the lottery's own words.
  if (table.headings.front() == terms::kWeekTelex) lines[0][0] = Tr("week");
  if (table.headings.front() == terms::kDayTelex) lines[0][0] = Tr("day");
  for (const auto& row : table.rows) {
    std::vector<std::string>& line = lines.emplace_back();
    for (const Value& cell : row) line.push_back(CellText(cell));
  }
  PrintColumns(lines, out);
}

void PrintRequest(const DrawRequest& request, int32_t drawDays, size_t prizes, std::ostream& out) {
  const auto end = [](const std::optional<CivilDate>& date) { return date ? FormatShortDate(*date) : "-"; };
  std::vector<std::vector<std::string>> lines = {
      {Tr("period"), TrFormat("{1} to {2}", {end(request.from), end(request.to)})},
      {Tr("region"), request.region},
      {Tr("weekday"), request.weekday}};
  if (!request.station.empty()) lines.push_back({Tr("station"), request.station});
  PrintColumns(lines, out);
  out << TrFormat("{1} draw days, {2} special prizes", {std::to_string(drawDays), std::to_string(prizes)}) << "\n";
}

void PrintDigitCounts(const DeDigitCounts& counts, std::ostream& out) {
  std::vector<std::vector<std::string>> lines = {{Tr("digit"), TelexToUnicode(terms::kHeadTelex),
                                                  TelexToUnicode(terms::kTailTelex), TelexToUnicode(terms::kSumTelex)}};
  for (size_t d = 0; d < 10; ++d)
    lines.push_back({std::to_string(d), std::to_string(counts.heads[d]), std::to_string(counts.tails[d]),
                     std::to_string(counts.sums[d])});
  PrintColumns(lines, out);
}

void PrintTables(const DrawRequest& request, int32_t drawDays, const std::vector<SpecialPrize>& prizes, DeLayout layout,
                 std::ostream& out) {
  PrintRequest(request, drawDays, prizes.size(), out);
  if (layout == DeLayout::Week) {
    out << "\n";
    PrintTable(DeByWeek(prizes), out);
  }
  if (layout == DeLayout::Year)
    for (const DeTable& table : DeByYear(prizes)) {
      out << "\n" << table.year << "\n";
      PrintTable(table, out);
    }
  out << "\n";
  PrintDigitCounts(CountDeDigits(prizes), out);
}

std::string Iso(DateSerial date) { return IsoDate(CivilFromSerial(date)); }

void PrintCsv(const std::vector<SpecialPrize>& prizes, std::ostream& out) {
  out << "date,station,special,de,dau,duoi,tong\n";
  for (const SpecialPrize& prize : prizes)
    out << Iso(prize.date) << "," << CsvField(prize.station) << "," << CsvField(prize.special) << ","
        << NumberText(prize.de, 2) << "," << prize.head() << "," << prize.tail() << "," << prize.sum() << "\n";
}

std::string JsonCounts(const std::array<int64_t, 10>& counts) {
  std::string text = "[";
  for (size_t d = 0; d < counts.size(); ++d) text += (d ? ", " : "") + std::to_string(counts[d]);
  return text + "]";
}

void PrintJson(const DrawRequest& request, int32_t drawDays, const std::vector<SpecialPrize>& prizes, DeLayout layout,
               std::ostream& out) {
  const auto end = [](const std::optional<CivilDate>& d) { return d ? JsonString(IsoDate(*d)) : std::string("null"); };
  const auto digit = [](int32_t d) { return JsonString(std::to_string(d)); };
  out << "{\"request\": {\"from\": " << end(request.from) << ", \"to\": " << end(request.to)
      << ", \"region\": " << JsonString(request.region) << ", \"weekday\": " << JsonString(request.weekday)
      << ", \"station\": " << (request.station.empty() ? "null" : JsonString(request.station))
      << ", \"by\": " << (layout == DeLayout::Week ? "\"week\"" : "\"year\"") << "},\n"
      << " \"draw_days\": " << drawDays << ",\n \"rows\": [";
  for (size_t i = 0; i < prizes.size(); ++i) {
    const SpecialPrize& prize = prizes[i];
    out << (i ? ",\n  " : "\n  ") << "{\"date\": " << JsonString(Iso(prize.date))
        << ", \"station\": " << JsonString(prize.station) << ", \"special\": " << JsonString(prize.special)
        << ", \"de\": " << JsonString(NumberText(prize.de, 2)) << ", \"dau\": " << digit(prize.head())
        << ", \"duoi\": " << digit(prize.tail()) << ", \"tong\": " << digit(prize.sum()) << "}";
  }
  const DeDigitCounts counts = CountDeDigits(prizes);
  out << "\n ],\n \"dau\": " << JsonCounts(counts.heads) << ",\n \"duoi\": " << JsonCounts(counts.tails)
      << ",\n \"tong\": " << JsonCounts(counts.sums) << "}\n";
}

}  // namespace

void PrintDeReport(const DrawRequest& request, int32_t drawDays, const std::vector<SpecialPrize>& prizes,
                   DeLayout layout, ReportFormat format, std::ostream& out) {
  if (format == ReportFormat::Csv) return PrintCsv(prizes, out);
  if (format == ReportFormat::Json) return PrintJson(request, drawDays, prizes, layout, out);
  PrintTables(request, drawDays, prizes, layout, out);
}

}  // namespace pradima::cli
