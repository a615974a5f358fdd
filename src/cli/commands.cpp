#include "cli/commands.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <new>
#include <optional>
#include <string_view>

#include "base/date.h"
#include "base/error.h"
#include "cli/chart_file.h"
#include "cli/composed_text.h"
#include "cli/concat.h"
#include "cli/control_sheet.h"
#include "cli/count_chart.h"
#include "cli/gan_chart.h"
#include "cli/gan_report.h"
#include "cli/number_list.h"
#include "cli/report_format.h"
#include "cli/sheet_binding.h"
#include "cli/stats_report.h"
#include "cli/update_command.h"
#include "cli/usage.h"
#include "cli/xlsx_workbook.h"
#include "cli/xml_chars.h"
#include "selection/count_lo.h"
#include "selection/draw_days.h"
#include "selection/lo_gaps.h"
#include "selection/number_type.h"
#include "session/conversions.h"
#include "stats/run_statistics.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/message.h"
#include "text/telex.h"

#ifndef PRADIMA_VERSION
#error "PRADIMA_VERSION must give the version of the build"
#endif

namespace pradima::cli {
namespace {

// Wrong usage: exit code 2, with the usage of the command.
struct UsageError {
  std::string message;
  std::string command;
};

// Text that goes into a workbook must be text a workbook can store.
void CheckStorable(const std::vector<std::string>& args, size_t first) {
  for (size_t i = first; i < args.size(); ++i)
    if (const auto problem = UnstorableTextProblem(args[i]))
      throw UsageError{"the argument \"" + args[i] + "\" " + *problem, args[0]};
}

// Messages of the custom-list check go to standard error.
class StreamMessages final : public MessageSink {
 public:
  explicit StreamMessages(std::ostream& err) : err_(err) {}
  int32_t Show(const std::string& prompt, int32_t, const std::string& title) override {
    std::string text = prompt;
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n  ");
    err_ << title << ": " << text << "\n";
    return 1;
  }

 private:
  std::ostream& err_;
};

bool IsNumberType(const std::string& text) { return text == terms::kTwoDigits || text == terms::kThreeDigits; }

struct RequiredSheet {
  const char* codeName;
  const char* what;
};
constexpr RequiredSheet kResultsSheet{terms::kResultsCodeName, "the results sheet"};
constexpr RequiredSheet kSettingsSheet{terms::kSettingsCodeName, "the settings sheet"};
constexpr RequiredSheet kControlSheet{terms::kControlCodeName, "the control sheet"};
constexpr std::initializer_list<RequiredSheet> kEverySheet = {kResultsSheet, kSettingsSheet, kControlSheet};

void RequireLayout(const MemoryWorkbook& book, const std::string& path, std::initializer_list<RequiredSheet> sheets,
                   std::initializer_list<const char*> names) {
  for (const RequiredSheet& sheet : sheets) {
    if (!book.SheetByCodeName(sheet.codeName)) {
      throw Error(VbError::ObjectNotSet, path + " has no worksheet with code name " + sheet.codeName + " (" +
                                             sheet.what + "); " + kCodeNameRemedy);
    }
  }
  for (const char* name : names) {
    if (!book.FindName(name)) throw Error(VbError::ApplicationDefined, path + " has no workbook name " + name);
  }
}

Session Bind(const std::shared_ptr<MemoryWorkbook>& book) {
  Session session;
  session.SetApplication(std::make_shared<MemoryApplication>());
  session.SetWorkbook(book);
  session.BindSheets();
  return session;
}

// The workbook, saying on `err` when its sheets were found by their tab
// names, and whether the run writes their code names back (`saves`).
XlsxWorkbook OpenBook(const std::string& path, std::ostream& err, bool saves = true) {
  XlsxWorkbook workbook = XlsxWorkbook::Open(path, saves ? FileAccess::Write : FileAccess::Read);
  const std::vector<std::string>& tabs = workbook.bound_by_tab_name();
  if (!tabs.empty()) {
    std::string names;
    for (const std::string& tab : tabs) names += (names.empty() ? "" : ", ") + tab;
    err << "pradima: " << path << " has no code names for its sheets (some applications drop them when they save); "
        << "the sheets " << names << " are taken by their tab names"
        << (saves ? ", and their code names are written back\n" : "; this command does not change the file\n");
  }
  return workbook;
}

// As the workbook's button does: B6 takes the type, then the list is laid out for it.
int Numbers(const std::string& path, const std::string& type, std::ostream& out, std::ostream& err) {
  XlsxWorkbook workbook = OpenBook(path, err);
  RequireLayout(*workbook.book(), path, kEverySheet, {});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  SetCellAt(*control, terms::kNumberTypeCell, Value::Text(type));
  Session session = Bind(workbook.book());
  ApplyNumberType(session, type);
  workbook.Save();
  out << "laid out " << ListedCount(*control) << " numbers of the set \""
      << ToText(CellAt(*control, terms::kNumberSetCell)) << "\" as \"" << type << "\" from " << terms::kListFirstCell
      << " of the control sheet, and " << terms::kNumberTypeCell << " is \"" << type << "\"\n";
  return 0;
}

std::optional<CivilDate> DateOption(std::map<std::string, std::string>& options, const std::string& option,
                                    const std::string& command) {
  if (!options.count(option)) return std::nullopt;
  const std::string& text = options[option];
  const std::optional<CivilDate> date = ParseCivilDate(text);
  if (!date) throw UsageError{option + " " + text + " is not a date (YYYY-MM-DD or DD/MM/YYYY)", command};
  if (date->year < 1900)
    throw UsageError{option + " " + text + " is before 1900, where the workbook's dates begin", command};
  return date;
}

// Each option of the command once, with its value.
std::map<std::string, std::string> CommandOptions(const std::vector<std::string>& args,
                                                  std::initializer_list<std::string_view> known,
                                                  const std::string& command) {
  std::map<std::string, std::string> options;
  for (size_t i = 2; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (std::find(known.begin(), known.end(), option) == known.end())
      throw UsageError{"unknown option " + option, command};
    if (i + 1 >= args.size()) throw UsageError{option + " needs a value", command};
    options[option] = args[i + 1];
  }
  return options;
}

// update BOOK [--connections N]
int Update(const std::vector<std::string>& args, const std::string& site, const Clock& clock, std::ostream& err,
           bool progress) {
  const std::string& path = args.at(1);
  std::map<std::string, std::string> options = CommandOptions(args, {"--connections"}, "update");
  int connections = kDefaultConnections;
  if (options.count("--connections")) {
    const std::string& text = options["--connections"];
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMostConnections)
      throw UsageError{"--connections " + text + " is not a whole number from 1 to " + std::to_string(kMostConnections),
                       "update"};
    connections = text[0] - '0';
  }
  XlsxWorkbook workbook = OpenBook(path, err);
  RequireLayout(*workbook.book(), path, {kResultsSheet, kSettingsSheet},
                {terms::kStationTable, terms::kPositionTables[0], terms::kPositionTables[1], terms::kPositionTables[2],
                 terms::kPositionTables[3]});
  return UpdateWorkbook(workbook, Bind(workbook.book()), {site, clock, connections, progress}, err);
}

ReportFormat FormatOption(std::map<std::string, std::string>& options, const std::string& command) {
  if (!options.count("--format")) return ReportFormat::Table;
  const std::optional<ReportFormat> format = ParseReportFormat(options["--format"]);
  if (!format) throw UsageError{"--format must be table, csv or json", command};
  return *format;
}

// The period of a command: --from not after --to.
void RequireOrderedPeriod(std::map<std::string, std::string>& options, const std::optional<CivilDate>& from,
                          const std::optional<CivilDate>& to, const std::string& command) {
  if (from && to && DaysFromCivil(*from) > DaysFromCivil(*to))
    throw UsageError{"--from " + options["--from"] + " is after --to " + options["--to"], command};
}

// One end of the period given on the line and the other kept in the control
// sheet must not cross: such a period would count nothing.
void RequireOrderedSheetPeriod(const MemorySheet& control, const std::optional<CivilDate>& from,
                               const std::optional<CivilDate>& to) {
  if (from.has_value() == to.has_value()) return;
  const Value& start = CellAt(control, terms::kStartDateCell);
  const Value& end = CellAt(control, terms::kEndDateCell);
  const auto isDate = [](const Value& v) { return v.kind() == CellKind::Date || v.kind() == CellKind::Number; };
  if (!isDate(start) || !isDate(end) || start.number() <= end.number()) return;
  const std::string kept =
      from ? Concat("the end date ", FormatShortDate(CivilFromSerial(end.number())), " in ", terms::kEndDateCell)
           : Concat("the start date ", FormatShortDate(CivilFromSerial(start.number())), " in ", terms::kStartDateCell);
  throw UsageError{
      Concat(from ? "--from is after " : "--to is before ", kept, " of the control sheet; give both --from and --to"),
      "stats"};
}

void RequireNumberTypeOption(std::map<std::string, std::string>& options, const std::string& command) {
  if (options.count("--type") && !IsNumberType(options["--type"]))
    throw UsageError{std::string("--type must be \"") + terms::kTwoDigits + "\" or \"" + terms::kThreeDigits + "\"",
                     command};
}

// The numbers typed with --numbers: the set is the custom list, and they replace column F from F3 down.
std::optional<std::vector<std::string>> NumbersOption(std::map<std::string, std::string>& options) {
  if (!options.count("--numbers")) return std::nullopt;
  const std::string& text = options["--numbers"];
  if (const auto problem = NumberListProblem(text)) throw UsageError{"--numbers " + text + ": " + *problem, "stats"};
  const std::string custom = TelexToUnicode(terms::kCustomTelex);
  if (options.count("--set") && options["--set"] != custom)
    throw UsageError{"--numbers lists the set \"" + custom + "\"; it cannot go with --set " + options["--set"],
                     "stats"};
  options["--set"] = custom;
  return SplitNumberList(text);
}

void ReplaceListedNumbers(MemorySheet& control, const std::vector<std::string>& numbers) {
  const CellRef first = ParseAddress(terms::kListFirstCell)->first;
  for (int32_t row = control.LastRowAtOrAbove(kMaxRows, first.column); row >= first.row; --row)
    control.Set(row, first.column, Value());
  for (size_t i = 0; i < numbers.size(); ++i)
    control.Set(first.row + static_cast<int32_t>(i), first.column, Value::Text(numbers[i]));
}

// Entries of a typed two-digit custom list that the run leaves out, not being numbers.
std::vector<std::string> LeftOutOfCustomList(const MemorySheet& control, bool custom) {
  std::vector<std::string> leftOut;
  if (!custom || DigitCount(ToText(CellAt(control, terms::kNumberTypeCell))) != 2) return leftOut;
  const CellRef first = ParseAddress(terms::kListFirstCell)->first;
  for (int32_t row = first.row; row <= control.LastRowAtOrAbove(kMaxRows, first.column); ++row) {
    const Value& entry = control.Get(row, first.column);
    if (!entry.IsEmpty() && !IsNumeric(entry)) leftOut.push_back(ToText(entry));
  }
  return leftOut;
}

// One line naming every listed entry that has no counts for not being a number of the run's type.
void WarnOfUncountable(const MemorySheet& control, std::vector<std::string> uncountable, std::ostream& err) {
  const std::string type = ToText(CellAt(control, terms::kNumberTypeCell));
  const int digits = DigitCount(type);
  if (digits == 0) return;
  for (std::string& entry : UncountableListed(control, digits)) uncountable.push_back(std::move(entry));
  if (uncountable.empty()) return;
  std::string names;
  for (const std::string& entry : uncountable) names += Concat(names.empty() ? "\"" : ", \"", entry, "\"");
  err << "pradima: not counted, being no number of " << digits << " digits (\"" << type << "\"): " << names << "\n";
}

// The options stats and gan share, checked: the period, the number type,
// the format and the chart's file name.
struct ReportRequest {
  std::optional<CivilDate> from, to;
  ReportFormat format;
};
ReportRequest ReportOptions(std::map<std::string, std::string>& options, const std::string& book,
                            const std::string& command) {
  ReportRequest request{DateOption(options, "--from", command), DateOption(options, "--to", command),
                        ReportFormat::Table};
  RequireOrderedPeriod(options, request.from, request.to, command);
  RequireNumberTypeOption(options, command);
  request.format = FormatOption(options, command);
  if (options.count("--chart"))
    if (const auto problem = ChartPathProblem(options["--chart"], book)) throw UsageError{*problem, command};
  return request;
}

int Stats(const std::vector<std::string>& args, const Clock& clock, std::ostream& out, std::ostream& err) {
  const std::string& path = args.at(1);
  std::map<std::string, std::string> options = CommandOptions(
      args, {"--from", "--to", "--region", "--weekday", "--set", "--type", "--numbers", "--format", "--chart"},
      "stats");
  const auto [from, to, format] = ReportOptions(options, path, "stats");
  const std::optional<std::vector<std::string>> numbers = NumbersOption(options);

  XlsxWorkbook workbook = OpenBook(path, err);
  RequireLayout(*workbook.book(), path, kEverySheet, {terms::kRegionTable});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  // The request goes into the control sheet first, so the workbook keeps what was asked.
  if (from) SetCellAt(*control, terms::kStartDateCell, Value::Date(SerialFromCivil(*from)));
  if (to) SetCellAt(*control, terms::kEndDateCell, Value::Date(SerialFromCivil(*to)));
  RequireOrderedSheetPeriod(*control, from, to);
  if (options.count("--region")) SetCellAt(*control, terms::kRegionCell, Value::Text(options["--region"]));
  if (options.count("--set")) SetCellAt(*control, terms::kNumberSetCell, Value::Text(options["--set"]));
  if (options.count("--weekday")) SetCellAt(*control, terms::kWeekdayCell, Value::Text(options["--weekday"]));
  if (options.count("--type")) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(options["--type"]));
  if (numbers) ReplaceListedNumbers(*control, *numbers);
  WarnOfUnknownWeekday(*control, err);

  Session session = Bind(workbook.book());
  // The custom list is the one in column F: the run itself checks, tidies and saves it.
  const bool custom = ToText(CellAt(*control, terms::kNumberSetCell)) == TelexToUnicode(terms::kCustomTelex);
  if ((options.count("--set") || options.count("--type")) && !custom)
    ApplyNumberType(session, ToText(CellAt(*control, terms::kNumberTypeCell)));
  const std::vector<std::string> leftOut = LeftOutOfCustomList(*control, custom);
  StreamMessages messages(err);
  const LoCounts counts = RunStatistics(session, messages, clock);
  // Saved before anything is printed: a reader that stops early loses nothing.
  workbook.Save();
  if (format == ReportFormat::Table) {
    PrintRequest(*control, out);
    PrintTable(*control, out);
    if (ToText(CellAt(*control, terms::kNumberTypeCell)) == terms::kTwoDigits)
      PrintHeadsAndTails(CountHeadsAndTails(counts), out);
  } else {
    PrintStatsReport(*control, format, out);
  }
  if (ListedCount(*control) == 0)
    err << "pradima: no numbers are listed from " << terms::kListFirstCell
        << " of the control sheet; choose a set with --set, or lay one out with pradima numbers\n";
  WarnOfUncountable(*control, leftOut, err);
  if (options.count("--chart")) WriteCountChart(options["--chart"], *control, counts);
  return 0;
}

// The request of gan goes into the control sheet in memory only: gan reads the workbook and never saves it.
int Gan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string& path = args.at(1);
  std::map<std::string, std::string> options = CommandOptions(
      args, {"--from", "--to", "--region", "--weekday", "--type", "--top", "--format", "--chart"}, "gan");
  const auto [from, to, format] = ReportOptions(options, path, "gan");
  int32_t top = 20;
  if (options.count("--top")) {
    const std::string& text = options["--top"];
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(text) < 1)
      throw UsageError{"--top " + text + " is not a whole number from 1 to 9999", "gan"};
    top = std::stoi(text);
  }

  XlsxWorkbook workbook = OpenBook(path, err, false);
  RequireLayout(*workbook.book(), path, kEverySheet, {terms::kRegionTable});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  if (options.count("--region")) SetCellAt(*control, terms::kRegionCell, Value::Text(options["--region"]));
  if (options.count("--weekday")) SetCellAt(*control, terms::kWeekdayCell, Value::Text(options["--weekday"]));
  if (options.count("--type")) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(options["--type"]));
  WarnOfUnknownWeekday(*control, err);
  GanRequest request{from,
                     to,
                     ToText(CellAt(*control, terms::kRegionCell)),
                     ToText(CellAt(*control, terms::kWeekdayCell)),
                     ToText(CellAt(*control, terms::kNumberTypeCell)),
                     top};
  const int digits = DigitCount(request.type);
  if (digits == 0)
    throw Error(VbError::InvalidArgument, std::string("the number type \"") + request.type + "\" in " +
                                              terms::kNumberTypeCell + " is neither \"" + terms::kTwoDigits +
                                              "\" nor \"" + terms::kThreeDigits + "\"; choose one with --type");
  // The period defaults to the stored draws, first to last.
  const auto results = workbook.book()->SheetByCodeName(terms::kResultsCodeName);
  const int32_t lastRow = results->LastRowAtOrAbove(kMaxRows, 1);
  if (lastRow >= terms::kFirstResultRow) {
    if (!request.from) request.from = CivilFromSerial(ToDate(results->Get(terms::kFirstResultRow, 1)));
    if (!request.to) request.to = CivilFromSerial(ToDate(results->Get(lastRow, 1)));
  }
  std::vector<DrawDay> days;
  if (request.from && request.to)
    days = ReadDrawDays(Bind(workbook.book()), SerialFromCivil(*request.from), SerialFromCivil(*request.to),
                        request.region, request.type);
  std::vector<LoGap> gaps = GapsOf(days, digits);
  SortByCurrentGap(gaps);
  if (gaps.size() > static_cast<size_t>(top)) gaps.resize(static_cast<size_t>(top));
  PrintGanReport(request, static_cast<int32_t>(days.size()), gaps, digits, format, out);
  if (options.count("--chart"))
    WriteGanChart(options["--chart"], request, static_cast<int32_t>(days.size()), gaps, digits);
  return 0;
}

bool AsksForHelp(const std::string& argument) { return argument == "-h" || argument == "--help"; }

// The command the line names, run; bad usage is thrown.
int Dispatch(std::vector<std::string> args, const std::string& resultsSite, const Clock& clock, std::ostream& out,
             std::ostream& err, bool progressOnTerminal) {
  if (args.empty()) throw UsageError{"no command given", ""};
  const std::string& command = args[0];
  if (AsksForHelp(command) || command == "help") {
    out << UsageOf(args.size() > 1 ? args[1] : "");
    return 0;
  }
  if (command == "--version" && args.size() == 1) {
    out << "pradima " << PRADIMA_VERSION << "\n";
    return 0;
  }
  const bool known =
      command == "init" || command == "update" || command == "numbers" || command == "stats" || command == "gan";
  if (!known) throw UsageError{"unknown command or wrong arguments: " + command, ""};
  if (args.size() > 1 && AsksForHelp(args[1])) {
    out << UsageOf(command);
    return 0;
  }
  if (args.size() < 2) throw UsageError{command + " needs a workbook", command};
  // The workbook's file name may be any name the system allows; the other arguments go into the workbook.
  CheckStorable(args, 2);
  // Letters typed as a letter and its marks (some keyboards, some systems) match the sheet's words.
  for (size_t i = 2; i < args.size(); ++i) args[i] = ComposeLatin(args[i]);
  if (command == "init" && args.size() == 2) {
    if (!HasExtension(args[1], ".xlsx") && !HasExtension(args[1], ".xlsm"))
      throw UsageError{args[1] + " is no workbook name: it ends in .xlsx, or .xlsm for a workbook with macros",
                       command};
    CreateStandardWorkbook(args[1], clock().date);
    err << "created " << args[1] << "\n";
    return 0;
  }
  if (command == "update") return Update(args, resultsSite, clock, err, progressOnTerminal);
  if (command == "numbers" && args.size() == 3) {
    if (!IsNumberType(args[2]))
      throw UsageError{
          std::string("the number type must be \"") + terms::kTwoDigits + "\" or \"" + terms::kThreeDigits + "\"",
          command};
    return Numbers(args[1], args[2], out, err);
  }
  if (command == "stats") return Stats(args, clock, out, err);
  if (command == "gan") return Gan(args, out, err);
  throw UsageError{"wrong arguments for " + command, command};
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, const std::string& resultsSite, const Clock& clock,
               std::ostream& out, std::ostream& err, bool progressOnTerminal) {
  try {
    return Dispatch(args, resultsSite, clock, out, err, progressOnTerminal);
  } catch (const UsageError& e) {
    err << "pradima: " << e.message << "\n" << UsageOf(e.command);
    return 2;
  } catch (const std::filesystem::filesystem_error& e) {
    err << "pradima: " << e.path1().string() << ": " << e.code().message() << "\n";
  } catch (const std::bad_alloc&) {
    err << "pradima: out of memory\n";
  } catch (const std::exception& e) {
    err << "pradima: " << e.what() << "\n";
  }
  return 1;
}

}  // namespace pradima::cli
