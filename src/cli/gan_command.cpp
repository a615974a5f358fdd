// gan: how long each number has been away. The request goes into the
// control sheet in memory only: gan reads the workbook and never saves it.
#include <ostream>

#include "base/concat.h"
#include "base/error.h"
#include "chart/gan_chart.h"
#include "cli/book.h"
#include "cli/chart_file.h"
#include "cli/commands.h"
#include "cli/control_sheet.h"
#include "cli/gan_report.h"
#include "selection/count_lo.h"
#include "selection/draw_days.h"
#include "selection/lo_gaps.h"
#include "session/conversions.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"

namespace pradima::cli {
namespace {

void WriteGanChart(const std::string& path, const GanRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps,
                   int digits) {
  const auto end = [](const std::optional<CivilDate>& date) { return date ? FormatShortDate(*date) : "-"; };
  const chart::ChartRequest title{end(request.from), end(request.to), request.region, request.weekday,
                                  request.type,      drawDays,        request.prizes};
  WriteChartFile(path, chart::GanChartSvg(title, gaps, digits));
}

// The period's end given on the line must not cross the stored draw that
// the other end defaults to: such a period would count nothing.
void RequireOrderedDefaultPeriod(const GanRequest& request, const Options& options) {
  if (!request.from || !request.to || DaysFromCivil(*request.from) <= DaysFromCivil(*request.to)) return;
  throw UsageError{options.from ? Concat("--from ", IsoDate(*request.from), " is after the last stored draw, ",
                                         FormatShortDate(*request.to), "; pradima update adds the days since")
                                : Concat("--to ", IsoDate(*request.to), " is before the first stored draw, ",
                                         FormatShortDate(*request.from)),
                   options.command};
}

}  // namespace

int GanCommand(const Options& options, const ToolContext& context) {
  XlsxWorkbook workbook = OpenBook(options.book, context.err, false);
  RequireLayout(*workbook.book(), options.book, kEverySheet, {terms::kRegionTable});
  const auto control = workbook.book()->SheetByCodeName(terms::kControlCodeName);
  if (options.region) SetCellAt(*control, terms::kRegionCell, Value::Text(*options.region));
  if (options.weekday) SetCellAt(*control, terms::kWeekdayCell, Value::Text(*options.weekday));
  if (options.type) SetCellAt(*control, terms::kNumberTypeCell, Value::Text(*options.type));
  WarnOfUnknownWeekday(*control, context.err);
  GanRequest request{options.from,
                     options.to,
                     ToText(CellAt(*control, terms::kRegionCell)),
                     ToText(CellAt(*control, terms::kWeekdayCell)),
                     ToText(CellAt(*control, terms::kNumberTypeCell)),
                     options.top,
                     options.prizes};
  const int digits = DigitCount(request.type);
  if (digits == 0)
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
  std::vector<DrawDay> days;
  if (request.from && request.to)
    days = ReadDrawDays(Bind(workbook.book()), SerialFromCivil(*request.from), SerialFromCivil(*request.to),
                        request.region, request.type, request.prizes);
  std::vector<LoGap> gaps = GapsOf(days, digits);
  SortByCurrentGap(gaps);
  if (gaps.size() > static_cast<size_t>(options.top)) gaps.resize(static_cast<size_t>(options.top));
  const auto drawDays = static_cast<int32_t>(days.size());
  PrintGanReport(request, drawDays, gaps, digits, options.format, context.out);
  if (options.chart) WriteGanChart(*options.chart, request, drawDays, gaps, digits);
  return 0;
}

}  // namespace pradima::cli
