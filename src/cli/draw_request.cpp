#include "cli/draw_request.h"

#include "base/concat.h"
#include "base/error.h"
#include "cli/book.h"
#include "cli/control_sheet.h"
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
  throw UsageError{options.from ? Concat("--from ", IsoDate(*request.from), " is after the last stored draw, ",
                                         FormatShortDate(*request.to), "; pradima update adds the days since")
                                : Concat("--to ", IsoDate(*request.to), " is before the first stored draw, ",
                                         FormatShortDate(*request.from)),
                   options.command};
}

std::vector<DrawDay> OnlyRequestedStation(const std::vector<DrawDay>& days, const DrawRequest& request,
                                          const Options& options) {
  if (request.region == TelexToUnicode(terms::kNorth.telexName))
    throw UsageError{"--station chooses a station of " + TelexToUnicode(terms::kCentral.telexName) + " or " +
                         TelexToUnicode(terms::kSouth.telexName) + "; the region is " + request.region,
                     options.command};
  std::vector<DrawDay> chosen = OnlyStation(days, request.station);
  if (!chosen.empty()) return chosen;
  std::string names;
  for (const std::string& name : StationsOf(days)) names += (names.empty() ? "" : ", ") + name;
  throw UsageError{"no draw day of the period has the station \"" + request.station + "\"" +
                       (names.empty() ? std::string("; the period has no station") : "; it has " + names),
                   options.command};
}

}  // namespace

RequestedDays ReadRequestedDays(const Options& options, const ToolContext& context,
                                const std::optional<std::string>& type) {
  XlsxWorkbook workbook = OpenBook(options.book, context.err, false);
  RequireLayout(*workbook.book(), options.book, kEverySheet, {terms::kRegionTable});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
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
    throw Error(VbError::InvalidArgument, std::string("the number type \"") + request.type + "\" in " +
                                              terms::kNumberTypeCell + " is neither \"" + terms::kTwoDigits +
                                              "\" nor \"" + terms::kThreeDigits + "\"; choose one with --type");
  RequirePrizesOfType(options, request.type);
  // The period defaults to the stored draws, first to last.
  const auto results = workbook.book()->SheetByCodeName(terms::kResultsCodeName);
  const int32_t lastRow = results->LastRowAtOrAbove(kMaxRows, 1);
  if (lastRow >= terms::kFirstResultRow) {
    if (!request.from) request.from = CivilFromSerial(ToDate(results->Get(terms::kFirstResultRow, 1)));
    if (!request.to) request.to = CivilFromSerial(ToDate(results->Get(lastRow, 1)));
  }
  RequireOrderedDefaultPeriod(request, options);
  if (request.from && request.to)
    read.days = ReadDrawDays(Bind(workbook.book()), SerialFromCivil(*request.from), SerialFromCivil(*request.to),
                             request.region, request.type, request.prizes);
  if (!request.station.empty()) read.days = OnlyRequestedStation(read.days, request, options);
  return read;
}

}  // namespace pradima::cli
