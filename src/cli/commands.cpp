#include "cli/commands.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>

#include "base/date.h"
#include "base/error.h"
#include "cli/xlsx_workbook.h"
#include "results/curl_fetcher.h"
#include "results/update_results.h"
#include "selection/number_type.h"
#include "session/conversions.h"
#include "stats/run_statistics.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/message.h"

#ifndef PRADIMA_VERSION
#error "PRADIMA_VERSION must give the version of the build"
#endif

namespace pradima::cli {
namespace {

// Wrong usage: exit code 2, with the usage text.
struct UsageError {
  std::string message;
};

constexpr const char* kUsage =
    "usage:\n"
    "  pradima init BOOK.xlsx\n"
    "  pradima update BOOK\n"
    "  pradima numbers BOOK \"2 Con\"|\"3 Con\"\n"
    "  pradima --help | --version\n"
    "  pradima stats BOOK [--from DATE] [--to DATE] [--region NAME] [--weekday NAME]\n"
    "                     [--set NAME] [--type \"2 Con\"|\"3 Con\"]\n"
    "DATE is YYYY-MM-DD or DD/MM/YYYY; NAME as the control sheet holds it (\"Miền Nam\", \"Thứ Hai\", \"Full\").\n";

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

void RequireLayout(const MemoryWorkbook& book, const std::string& path, std::initializer_list<const char*> names) {
  const std::pair<const char*, const char*> sheets[] = {{terms::kResultsCodeName, "the results sheet"},
                                                        {terms::kSettingsCodeName, "the settings sheet"},
                                                        {terms::kControlCodeName, "the control sheet"}};
  for (const auto& [code, what] : sheets) {
    if (!book.SheetByCodeName(code)) {
      throw Error(VbError::ObjectNotSet, path + " has no worksheet with code name " + code + " (" + what + ")");
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

std::string Clock2(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

int Update(const std::string& path, const std::string& site, const Clock& clock, std::ostream& err, bool progress) {
  XlsxWorkbook workbook = XlsxWorkbook::Open(path);
  RequireLayout(*workbook.book(), path,
                {terms::kStationTable, terms::kPositionTables[0], terms::kPositionTables[1], terms::kPositionTables[2],
                 terms::kPositionTables[3]});
  Session session = Bind(workbook.book());
  CurlPageFetcher fetcher;
  const auto started = std::chrono::steady_clock::now();
  UpdateProgress report;
  if (progress) {
    report = [&](int done, int total, const CivilDate& day) {
      const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      err << "\r" << done << "/" << total << " days, " << FormatShortDate(day) << ", time left "
          << Clock2(elapsed / done * (total - done)) << "   " << std::flush;
    };
  }
  const auto results = workbook.book()->SheetByCodeName(terms::kResultsCodeName);
  const int32_t before = results->LastRowAtOrAbove(kMaxRows, 1);
  UpdateResults(session, fetcher, clock, site, report);
  if (progress) err << "\n";
  const int32_t after = results->LastRowAtOrAbove(kMaxRows, 1);
  workbook.Save();
  err << (after - before) << " day(s) added\n";
  return 0;
}

int Numbers(const std::string& path, const std::string& type) {
  XlsxWorkbook workbook = XlsxWorkbook::Open(path);
  RequireLayout(*workbook.book(), path, {});
  Session session = Bind(workbook.book());
  ApplyNumberType(session, type);
  workbook.Save();
  return 0;
}

const Value& CellAt(const MemorySheet& sheet, const char* address) {
  const CellRef cell = ParseAddress(address)->first;
  return sheet.Get(cell.row, cell.column);
}

void SetCellAt(MemorySheet& sheet, const char* address, Value value) {
  const CellRef cell = ParseAddress(address)->first;
  sheet.Set(cell.row, cell.column, std::move(value));
}

void PrintTable(const MemorySheet& control, std::ostream& out) {
  out << ToText(CellAt(control, terms::kDayCountCell)) << "\n";
  const CellRef first = ParseAddress(terms::kListFirstCell)->first;
  const CellRef far = ParseAddress(terms::kListFarCell)->first;
  std::vector<std::array<std::string, 3>> rows;
  for (int32_t r = first.row; r <= control.LastRowAtOrAbove(far.row, far.column); ++r)
    rows.push_back({ToText(control.Get(r, first.column)), ToText(control.Get(r, first.column + 1)),
                    ToText(control.Get(r, first.column + 2))});
  size_t width[3] = {6, 4, 11};
  for (const auto& row : rows)
    for (int i = 0; i < 3; ++i) width[i] = std::max(width[i], row[static_cast<size_t>(i)].size());
  out << std::left << std::setw(static_cast<int>(width[0])) << "number"
      << "  " << std::right << std::setw(static_cast<int>(width[1])) << "days"
      << "  " << std::setw(static_cast<int>(width[2])) << "appearances"
      << "\n";
  for (const auto& row : rows) {
    out << std::left << std::setw(static_cast<int>(width[0])) << row[0] << "  " << std::right
        << std::setw(static_cast<int>(width[1])) << row[1] << "  " << std::setw(static_cast<int>(width[2])) << row[2]
        << "\n";
  }
}

int Stats(const std::vector<std::string>& args, const Clock& clock, std::ostream& out, std::ostream& err) {
  const std::string& path = args.at(1);
  std::map<std::string, std::string> options;
  for (size_t i = 2; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (option != "--from" && option != "--to" && option != "--region" && option != "--weekday" && option != "--set" &&
        option != "--type") {
      throw UsageError{"unknown option " + option};
    }
    if (i + 1 >= args.size()) throw UsageError{option + " needs a value"};
    options[option] = args[i + 1];
  }
  std::optional<CivilDate> from, to;
  if (options.count("--from") && !(from = ParseCivilDate(options["--from"])))
    throw UsageError{"--from " + options["--from"] + " is not a date (YYYY-MM-DD or DD/MM/YYYY)"};
  if (options.count("--to") && !(to = ParseCivilDate(options["--to"])))
    throw UsageError{"--to " + options["--to"] + " is not a date (YYYY-MM-DD or DD/MM/YYYY)"};
  if (options.count("--type") && !IsNumberType(options["--type"]))
    throw UsageError{std::string("--type must be \"") + terms::kTwoDigits + "\" or \"" + terms::kThreeDigits + "\""};

  XlsxWorkbook workbook = XlsxWorkbook::Open(path);
  RequireLayout(*workbook.book(), path, {terms::kRegionTable});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  // The request goes into the control sheet first, so the workbook keeps what was asked.
  if (from) SetCellAt(*control, terms::kStartDateCell, Value::Date(SerialFromCivil(*from)));
  if (to) SetCellAt(*control, terms::kEndDateCell, Value::Date(SerialFromCivil(*to)));
  if (options.count("--region")) SetCellAt(*control, terms::kRegionCell, Value::Text(options["--region"]));
  if (options.count("--set")) SetCellAt(*control, terms::kNumberSetCell, Value::Text(options["--set"]));
  if (options.count("--weekday")) SetCellAt(*control, terms::kWeekdayCell, Value::Text(options["--weekday"]));
  if (options.count("--type")) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(options["--type"]));

  Session session = Bind(workbook.book());
  if (options.count("--set") || options.count("--type"))
    ApplyNumberType(session, ToText(CellAt(*control, terms::kNumberTypeCell)));
  StreamMessages messages(err);
  RunStatistics(session, messages, clock);
  PrintTable(*control, out);
  workbook.Save();
  return 0;
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, const std::string& resultsSite, const Clock& clock,
               std::ostream& out, std::ostream& err, bool progressOnTerminal) {
  try {
    if (args.empty()) throw UsageError{"no command given"};
    const std::string& command = args[0];
    if (command == "init" && args.size() == 2) {
      CreateStandardWorkbook(args[1], clock().date);
      err << "created " << args[1] << "\n";
      return 0;
    }
    if (command == "update" && args.size() == 2) return Update(args[1], resultsSite, clock, err, progressOnTerminal);
    if (command == "numbers" && args.size() == 3) {
      if (!IsNumberType(args[2]))
        throw UsageError{std::string("the number type must be \"") + terms::kTwoDigits + "\" or \"" +
                         terms::kThreeDigits + "\""};
      return Numbers(args[1], args[2]);
    }
    if (command == "stats" && args.size() >= 2) return Stats(args, clock, out, err);
    if (command == "--version" && args.size() == 1) {
      out << "pradima " << PRADIMA_VERSION << "\n";
      return 0;
    }
    if (command == "--help" || command == "-h" || command == "help") {
      out << kUsage;
      return 0;
    }
    throw UsageError{"unknown command or wrong arguments: " + command};
  } catch (const UsageError& e) {
    err << "pradima: " << e.message << "\n" << kUsage;
    return 2;
  } catch (const Error& e) {
    err << "pradima: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace pradima::cli
