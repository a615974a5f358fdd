// stats: the request goes into the control sheet (B1 to B6, and the list
// from F3 with --numbers), the count runs as the workbook's button runs it,
// the workbook is saved, then the report is printed. The counts of one
// station (--station) are printed only.
#include <optional>
#include <ostream>

#include "base/concat.h"
#include "base/error.h"
#include "chart/count_chart.h"
#include "cli/book.h"
#include "cli/chart_file.h"
#include "cli/commands.h"
#include "cli/control_sheet.h"
#include "cli/draw_request.h"
#include "cli/request_report.h"
#include "cli/stats_report.h"
#include "cli/translate.h"
#include "selection/count_draw_days.h"
#include "selection/heads_and_tails.h"
#include "selection/number_type.h"
#include "session/conversions.h"
#include "stats/custom_list.h"
#include "stats/run_statistics.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/message.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

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

// One end of the period given on the line and the other kept in the control
// sheet must not cross: such a period would count nothing.
void RequireOrderedSheetPeriod(const MemorySheet& control, const Options& options) {
  if (options.from.has_value() == options.to.has_value()) return;
  const Value& start = CellAt(control, terms::kStartDateCell);
  const Value& end = CellAt(control, terms::kEndDateCell);
  const auto isDate = [](const Value& v) { return v.kind() == CellKind::Date || v.kind() == CellKind::Number; };
  if (!isDate(start) || !isDate(end) || start.number() <= end.number()) return;
  const std::string kept =
      options.from
          ? TrFormat("--from is after the end date {1} in {2} of the control sheet; give both --from and --to",
                     {FormatShortDate(CivilFromSerial(end.number())), terms::kEndDateCell})
          : TrFormat("--to is before the start date {1} in {2} of the control sheet; give both --from and --to",
                     {FormatShortDate(CivilFromSerial(start.number())), terms::kStartDateCell});
  throw UsageError{kept, options.command};
}

void ReplaceListedNumbers(MemorySheet& control, const std::vector<std::string>& numbers) {
  for (int32_t row = control.LastRowAtOrAbove(kMaxRows, kListFirst.column); row >= kListFirst.row; --row)
    control.Set(row, kListFirst.column, Value());
  for (size_t i = 0; i < numbers.size(); ++i)
    control.Set(kListFirst.row + static_cast<int32_t>(i), kListFirst.column, Value::Text(numbers[i]));
}

// Entries of a typed two-digit custom list that the run leaves out, not being numbers.
std::vector<std::string> LeftOutOfCustomList(const MemorySheet& control, bool custom) {
  std::vector<std::string> leftOut;
  if (!custom || DigitCount(ToText(CellAt(control, terms::kNumberTypeCell))) != 2) return leftOut;
  for (int32_t row = kListFirst.row; row <= control.LastRowAtOrAbove(kMaxRows, kListFirst.column); ++row) {
    const Value& entry = control.Get(row, kListFirst.column);
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
  err << "pradima: "
      << TrFormat("not counted, as they are not {1}-digit numbers (\"{2}\"): {3}", {std::to_string(digits), type, names})
      << "\n";
}

// A list left empty is laid out for the set and type of the control sheet,
// as pradima numbers lays it out, and saved with the count. Returns what to
// say once the workbook is saved; nothing when the list was not empty.
std::optional<std::string> LayOutAnEmptyList(Session session, const MemorySheet& control) {
  const std::string set = ToText(CellAt(control, terms::kNumberSetCell));
  const std::string type = ToText(CellAt(control, terms::kNumberTypeCell));
  if (ListedCount(control) > 0 || !IsNumberType(type) ||
      (set != terms::kFullSet && set != TelexToUnicode(terms::kDoublesTelex)))
    return std::nullopt;
  ApplyNumberType(std::move(session), type);
  return TrFormat("no numbers were listed from {1} of the control sheet, so the {2} numbers of the set \"{3}\" were "
                  "laid out there as \"{4}\" first, as pradima numbers does",
                  {terms::kListFirstCell, std::to_string(ListedCount(control)), set, type});
}

// The count reads the list down to F10000 only, as the workbook's button does: the entries below are named.
void WarnOfListTail(const MemorySheet& control, std::ostream& err) {
  const CellRef far = ParseAddress(terms::kListFarCell)->first;
  const int32_t last = control.LastRowAtOrAbove(kMaxRows, far.column);
  if (last <= far.row) return;
  int32_t entries = 0;
  for (int32_t row = far.row + 1; row <= last; ++row) entries += HasText(control.Get(row, far.column)) ? 1 : 0;
  const std::string count = std::to_string(entries), bottom = CellAddress(last, far.column);
  err << "pradima: "
      << (entries == 1 ? TrFormat("not counted, being below {1} where the count stops reading the list: {2} entry "
                                  "down to {3}",
                                  {terms::kListFarCell, count, bottom})
                       : TrFormat("not counted, being below {1} where the count stops reading the list: {2} entries "
                                  "down to {3}",
                                  {terms::kListFarCell, count, bottom}))
      << "\n";
}

void WriteCountChart(const std::string& path, const MemorySheet& control, const LoCountResult& result,
                     terms::Prizes prizes, const std::string& station) {
  const std::string type = ToText(CellAt(control, terms::kNumberTypeCell));
  const chart::ChartRequest request{DateText(CellAt(control, terms::kStartDateCell)),
                                    DateText(CellAt(control, terms::kEndDateCell)),
                                    RegionOfTitle(ToText(CellAt(control, terms::kRegionCell)), station),
                                    ToText(CellAt(control, terms::kWeekdayCell)),
                                    type,
                                    result.dayCount,
                                    prizes,
                                    Tr};
  WriteChartFile(path, chart::CountChartSvg(request, result.counts, DigitCount(type)));
}

// The counts of the station of --station over the control sheet's request, written into the control sheet in
// memory as a run writes its counts (the custom list tidied as a run tidies it), for the reports to print.
LoCountResult CountStation(const std::shared_ptr<MemoryWorkbook>& book, Session session, MessageSink& messages,
                           const Options& options, const ToolContext& context) {
  const MemorySheet& control = *book->SheetByCodeName(terms::kControlCodeName);
  Options asked = options;
  asked.from = CivilFromSerial(ToDate(CellAt(control, terms::kStartDateCell)));
  asked.to = CivilFromSerial(ToDate(CellAt(control, terms::kEndDateCell)));
  if (DaysFromCivil(*asked.from) > DaysFromCivil(*asked.to))
    throw UsageError{TrFormat("the control sheet's period is crossed: {1} in {2} is after {3} in {4}; give --from and "
                              "--to",
                              {FormatShortDate(*asked.from), terms::kStartDateCell, FormatShortDate(*asked.to),
                               terms::kEndDateCell}),
                     options.command};
  CleanCustomList(session, messages, ToText(CellAt(control, terms::kNumberSetCell)),
                  ToText(CellAt(control, terms::kNumberTypeCell)));
  const LoCountResult result = CountLoOfDays(ReadRequestedDaysIn(book, asked, context).days);
  WriteCounts(session.control(), result);
  return result;
}

}  // namespace

int StatsCommand(const Options& options, const ToolContext& context) {
  std::ostream& err = context.err;
  // The control sheet has no cell for a station, so the counts of one are never saved: the workbook must not
  // keep counts that its own statistics button cannot reproduce.
  const bool saves = !options.station;
  XlsxWorkbook workbook = OpenBook(options.book, err, saves);
  RequireLayout(*workbook.book(), options.book, kEverySheet, {terms::kRegionTable});
  WarnOfNoDraws(*workbook.book(), options.book, err);
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  // The request goes into the control sheet first, so the workbook keeps what was asked.
  if (options.from) SetCellAt(*control, terms::kStartDateCell, Value::Date(SerialFromCivil(*options.from)));
  if (options.to) SetCellAt(*control, terms::kEndDateCell, Value::Date(SerialFromCivil(*options.to)));
  RequireOrderedSheetPeriod(*control, options);
  if (options.region) SetCellAt(*control, terms::kRegionCell, Value::Text(*options.region));
  if (options.set) SetCellAt(*control, terms::kNumberSetCell, Value::Text(*options.set));
  if (options.weekday) SetCellAt(*control, terms::kWeekdayCell, Value::Text(*options.weekday));
  if (options.type) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(*options.type));
  if (options.numbers) ReplaceListedNumbers(*control, *options.numbers);
  RequirePrizesOfType(options, ToText(CellAt(*control, terms::kNumberTypeCell)));
  // One station's count reads its days as the reading commands do, which warn of the weekday themselves.
  if (saves) WarnOfUnknownWeekday(*control, err);

  Session session = Bind(workbook.book());
  // The custom list is the one in column F: the run itself checks, tidies and saves it.
  const bool custom = ToText(CellAt(*control, terms::kNumberSetCell)) == TelexToUnicode(terms::kCustomTelex);
  std::optional<std::string> laidOut;
  if ((options.set || options.type) && !custom) ApplyNumberType(session, ToText(CellAt(*control, terms::kNumberTypeCell)));
  else if (!custom) laidOut = LayOutAnEmptyList(session, *control);
  const std::vector<std::string> leftOut = LeftOutOfCustomList(*control, custom);
  StreamMessages messages(err);
  const LoCountResult result = saves ? RunStatistics(session, messages, context.clock, options.prizes)
                                     : CountStation(workbook.book(), session, messages, options, context);
  // Saved before anything is printed: a reader that stops early loses nothing.
  if (saves) workbook.Save();
  // Said only of a list that is saved: a failed run, or one station's, keeps the workbook as it was.
  if (saves && laidOut) err << "pradima: " << *laidOut << "\n";
  const std::string station = options.station.value_or("");
  const bool twoDigits = ToText(CellAt(*control, terms::kNumberTypeCell)) == terms::kTwoDigits;
  if (options.format == ReportFormat::Table) {
    PrintRequest(*control, context.out);
    if (options.prizes != terms::Prizes::All) context.out << Heading("prizes") << PrizesName(options.prizes) << "\n";
    PrintStationLine(station, context.out);
    PrintTable(*control, context.out);
    if (twoDigits) PrintHeadsAndTails(CountHeadsAndTails(result.counts), context.out);
  } else {
    const auto headsAndTails = twoDigits ? std::optional(CountHeadsAndTails(result.counts)) : std::nullopt;
    PrintStatsReport(*control, result.dayCount, options.prizes, station, headsAndTails, options.format, context.out);
  }
  if (ListedCount(*control) == 0)
    err << "pradima: "
        << TrFormat("no numbers are listed from {1} of the control sheet; choose a set with --set, or lay one out "
                    "with pradima numbers",
                    {terms::kListFirstCell})
        << "\n";
  WarnOfUncountable(*control, leftOut, err);
  WarnOfListTail(*control, err);
  if (options.chart) WriteCountChart(*options.chart, *control, result, options.prizes, station);
  return 0;
}

}  // namespace pradima::cli
