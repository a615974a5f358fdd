#include "cli/report_format.h"

#include <algorithm>
#include <cstdio>

#include "cli/translate.h"

namespace pradima::cli {
namespace {

constexpr const char* kHeadings[] = {TrLater("period"), TrLater("region"), TrLater("weekday"), TrLater("set"),
                                     TrLater("type"),   TrLater("prizes"), TrLater("station"), TrLater("after")};

}  // namespace

std::optional<ReportFormat> ParseReportFormat(std::string_view name) {
  if (name == "table") return ReportFormat::Table;
  if (name == "csv") return ReportFormat::Csv;
  if (name == "json") return ReportFormat::Json;
  return std::nullopt;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string field = "\"";
  for (const char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + "\"";
}

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

size_t Columns(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string PadRight(std::string_view text, size_t columns) {
  return std::string(text) + std::string(columns - std::min(columns, Columns(text)), ' ');
}

std::string PadLeft(std::string_view text, size_t columns) {
  return std::string(columns - std::min(columns, Columns(text)), ' ') + std::string(text);
}

std::string Heading(const char* english) {
  // Nine columns, as the English needs, or wider for a translation: two spaces after the widest.
  size_t width = 9;
  for (const char* heading : kHeadings) width = std::max(width, Columns(Tr(heading)) + 2);
  return PadRight(Tr(english), width);
}

}  // namespace pradima::cli
