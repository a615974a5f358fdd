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

// The columns a text takes on a terminal: one a character, as the tool's
// words and the workbook's names are precomposed.
size_t Columns(std::string_view text);
// The text followed, or preceded, by the spaces that make it `columns` wide.
std::string PadRight(std::string_view text, size_t columns);
std::string PadLeft(std::string_view text, size_t columns);

// A heading of the request a table report begins with ("period", "region",
// ...), in the user's language and padded so that the values line up.
std::string Heading(const char* english);

}  // namespace pradima::cli
