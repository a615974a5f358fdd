#include "cli/report_format.h"

#include <cstdio>

namespace pradima::cli {

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

}  // namespace pradima::cli
