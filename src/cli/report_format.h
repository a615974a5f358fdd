#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pradima::cli {

// How a report is printed: a table for people, CSV (a header row, then one
// row per number) or JSON (the request and the rows) for programs.
enum class ReportFormat { Table, Csv, Json };

// "table", "csv" or "json"; none for anything else.
std::optional<ReportFormat> ParseReportFormat(std::string_view name);

// A CSV field: quoted, its quotes doubled, when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);
// A JSON string with its quotes; the text is UTF-8 and stays so.
std::string JsonString(std::string_view text);

}  // namespace pradima::cli
