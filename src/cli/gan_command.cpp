// gan: how long each number has been away. The request goes into the
// control sheet in memory only: gan reads the workbook and never saves it.
#include <ostream>

#include "chart/gan_chart.h"
#include "cli/chart_file.h"
#include "cli/commands.h"
#include "cli/draw_request.h"
#include "cli/gan_report.h"
#include "selection/count_lo.h"
#include "selection/lo_gaps.h"

namespace pradima::cli {
namespace {

void WriteGanChart(const std::string& path, const DrawRequest& request, int32_t drawDays, const std::vector<LoGap>& gaps,
                   int digits) {
  const auto end = [](const std::optional<CivilDate>& date) { return date ? FormatShortDate(*date) : "-"; };
  const chart::ChartRequest title{end(request.from), end(request.to), request.region, request.weekday,
                                  request.type,      drawDays,        request.prizes};
  WriteChartFile(path, chart::GanChartSvg(title, gaps, digits));
}

}  // namespace

int GanCommand(const Options& options, const ToolContext& context) {
  const RequestedDays read = ReadRequestedDays(options, context);
  const int digits = DigitCount(read.request.type);
  std::vector<LoGap> gaps = GapsOf(read.days, digits);
  SortByCurrentGap(gaps);
  if (gaps.size() > static_cast<size_t>(options.top)) gaps.resize(static_cast<size_t>(options.top));
  const auto drawDays = static_cast<int32_t>(read.days.size());
  PrintGanReport(read.request, drawDays, gaps, digits, options.format, context.out);
  if (options.chart) WriteGanChart(*options.chart, read.request, drawDays, gaps, digits);
  return 0;
}

}  // namespace pradima::cli
