#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "cli/report_format.h"
#include "terms/lottery.h"

namespace pradima::cli {

// Wrong usage: exit code 2, with a line that points to the usage of the command.
struct UsageError {
  std::string message;
  std::string command;
};

// Connections to the results site at once: a few, to stay a polite client.
inline constexpr int kDefaultConnections = 4;
inline constexpr int kMostConnections = 8;

// The options of one command line, each checked; an option not given is none.
struct Options {
  std::string command;
  std::string book;
  std::optional<CivilDate> from, to;
  std::optional<std::string> region, weekday, set, type, chart;
  // --station: one station of the Central or South region, by its name in the results.
  std::optional<std::string> station;
  // --numbers: the custom list typed on the line ("07,12,345"); `set` is then the custom set.
  std::optional<std::vector<std::string>> numbers;
  ReportFormat format = ReportFormat::Table;
  int connections = kDefaultConnections;
  int32_t top = 20;
  // --prizes all (the default) or 3-digit: see PrizesName.
  terms::Prizes prizes = terms::Prizes::All;
  // --size: how many numbers make a set of numbers drawn together (2 or 3).
  int32_t size = 2;
  // --reverse, a flag: only a number with its reverse.
  bool reverse = false;
  // --after: the two-digit numbers whose draw days are followed ("27" or "27,72"), as numbers.
  std::optional<std::vector<int32_t>> after;
  // --by: how de lays out the đề, "week" (the default) or "year".
  std::string by = "week";
};

// `args` is the command, the workbook, then options: a flag among `flags`
// alone, or an option among `known` followed by its value (or joined to it,
// --option=value); each at most once.
// Raises UsageError naming the option that is unknown, given twice, lacks its
// value or has a wrong one.
Options ParseOptions(const std::vector<std::string>& args, std::initializer_list<std::string_view> known,
                     std::initializer_list<std::string_view> flags = {});

// "2 Con" or "3 Con".
bool IsNumberType(const std::string& text);

// The value of --prizes that asks for `prizes`: "all" or "3-digit".
const char* PrizesName(terms::Prizes prizes);
// Raises UsageError unless the prizes are all or the type is "3 Con": the two-digit
// prizes are left out of three-digit counts only.
void RequirePrizesOfType(const Options& options, const std::string& type);

}  // namespace pradima::cli
