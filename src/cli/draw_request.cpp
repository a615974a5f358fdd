#include "cli/draw_request.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ostream>

#include "base/error.h"
#include "cli/book.h"
#include "cli/control_sheet.h"
#include "cli/translate.h"
#include "selection/count_lo.h"
#include "session/conversions.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima::cli {
namespace {

// The period's end given on the line must not cross the stored draw that
// the other end defaults to: such a period would count nothing.
void RequireOrderedDefaultPeriod(const DrawRequest& request, const Options& options) {
  if (!request.from || !request.to || DaysFromCivil(*request.from) <= DaysFromCivil(*request.to)) return;
  throw UsageError{options.from ? TrFormat("--from {1} is after the last stored draw, {2}; pradima update adds the "
                                           "days since",
                                           {IsoDate(*request.from), FormatShortDate(*request.to)})
                                : TrFormat("--to {1} is before the first stored draw, {2}",
                                           {IsoDate(*request.to), FormatShortDate(*request.from)}),
                   options.command};
}

std::vector<DrawDay> OnlyRequestedStation(const std::vector<DrawDay>& days, const DrawRequest& request,
                                          const Options& options) {
  if (request.region == TelexToUnicode(terms::kNorth.telexName))
    throw UsageError{TrFormat("--station chooses a station of {1} or {2}; the region is {3}",
                              {TelexToUnicode(terms::kCentral.telexName), TelexToUnicode(terms::kSouth.telexName),
                               request.region}),
                     options.command};
  std::vector<DrawDay> chosen = OnlyStation(days, request.station);
  if (!chosen.empty()) return chosen;
  std::string names;
  for (const std::string& name : StationsOf(days)) names += (names.empty() ? "" : ", ") + name;
  throw UsageError{names.empty() ? TrFormat("no draw day of the period has the station \"{1}\"; the period has no "
                                            "station",
                                            {request.station})
                                 : TrFormat("no draw day of the period has the station \"{1}\"; it has {2}",
                                            {request.station, names}),
                   options.command};
}

// `text` as one word of a shell command line: quoted unless it is plain.
std::string ShellWord(const std::string& text) {
  const auto plain = [](unsigned char c) { return std::isalnum(c) || c >= 0x80 || std::strchr("._/+-,:@%", c); };
  if (!text.empty() && std::all_of(text.begin(), text.end(), plain)) return text;
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

void WarnOfNoDraws(const MemoryWorkbook& book, const std::string& path, std::ostream& err) {
  const auto results = book.SheetByCodeName(terms::kResultsCodeName);
  if (results->LastRowAtOrAbove(kMaxRows, 1) >= terms::kFirstResultRow) return;
  err << "pradima: "
      << TrFormat("the results sheet holds no draw yet: \"pradima update {1}\" fetches them", {ShellWord(path)})
      << "\n";
}

RequestedDays ReadRequestedDays(const Options& options, const ToolContext& context,
                                const std::optional<std::string>& type) {
  XlsxWorkbook workbook = OpenBook(options.book, context.err, false);
  RequireLayout(*workbook.book(), options.book, kEverySheet, {terms::kRegionTable});
  WarnOfNoDraws(*workbook.book(), options.book, context.err);
  return ReadRequestedDaysIn(workbook.book(), options, context, type);
}

RequestedDays ReadRequestedDaysIn(const std::shared_ptr<MemoryWorkbook>& book, const Options& options,
                                  const ToolContext& context, const std::optional<std::string>& type) {
  const auto control = book->SheetByCodeName(terms::kControlCodeName);
  if (options.region) SetCellAt(*control, terms::kRegionCell, Value::Text(*options.region));
  if (options.weekday) SetCellAt(*control, terms::kWeekdayCell, Value::Text(*options.weekday));
  if (options.type) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(*options.type));
  if (type) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(*type));
  WarnOfUnknownWeekday(*control, context.err);
  RequestedDays read;
  DrawRequest& request = read.request;
  request = {options.from,
             options.to,
             ToText(CellAt(*control, terms::kRegionCell)),
             ToText(CellAt(*control, terms::kWeekdayCell)),
             ToText(CellAt(*control, terms::kNumberTypeCell)),
             options.station.value_or(""),
             options.top,
             options.prizes};
  if (DigitCount(request.type) == 0)
    throw Error(VbError::InvalidArgument,
                TrFormat("the number type \"{1}\" in {2} is neither \"{3}\" nor \"{4}\"; choose one with --type",
                         {request.type, terms::kNumberTypeCell, terms::kTwoDigits, terms::kThreeDigits}));
  RequirePrizesOfType(options, request.type);
  // The period defaults to the stored draws, first to last.
  const auto results = book->SheetByCodeName(terms::kResultsCodeName);
  const int32_t lastRow = results->LastRowAtOrAbove(kMaxRows, 1);
  if (lastRow >= terms::kFirstResultRow) {
    if (!request.from) request.from = CivilFromSerial(ToDate(results->Get(terms::kFirstResultRow, 1)));
    if (!request.to) request.to = CivilFromSerial(ToDate(results->Get(lastRow, 1)));
  }
  RequireOrderedDefaultPeriod(request, options);
  if (request.from && request.to)
    read.days = ReadDrawDays(Bind(book), SerialFromCivil(*request.from), SerialFromCivil(*request.to), request.region,
                             request.type, request.prizes);
  if (!request.station.empty()) read.days = OnlyRequestedStation(read.days, request, options);
  return read;
}

}  // namespace pradima::cli
