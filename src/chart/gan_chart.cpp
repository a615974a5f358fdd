#include "chart/gan_chart.h"

#include <algorithm>

#include "selection/number_type.h"

namespace pradima::chart {
namespace {

constexpr double kPageWidth = 660;
constexpr double kLabelRight = 58, kBarLeft = 68, kBarMaxWidth = 400;
constexpr double kRowsTop = kChartTop + 26, kRowHeight = 20, kBarHeight = 14;

void DrawKey(SvgDocument& page, const ChartRequest& request) {
  page.Rect(kBarLeft, kChartTop, 14, 14, kCurrentGapColour);
  page.Text(kBarLeft + 20, kChartTop + 11, ChartText(request, "current gap"), {11, kInk});
  page.Rect(kBarLeft + 130, kChartTop, 14, 14, kLongestGapColour);
  page.Text(kBarLeft + 150, kChartTop + 11, ChartText(request, "longest gap in the period (draw days)"), {11, kInk});
}

}  // namespace

std::string GanChartSvg(const ChartRequest& request, const std::vector<LoGap>& gaps, int digits) {
  const std::string title = ChartText(request, "Gan · {1}", {RequestTitle(request)});
  if (request.drawDays == 0 || gaps.empty())
    return NothingToDraw(title, ChartText(request, "No draw days in this period: nothing to draw."), kPageWidth);

  // One scale for every bar: the longest gap shown spans the bars' width.
  int32_t longest = 1;
  for (const LoGap& gap : gaps)
    if (gap.longestGap) longest = std::max({longest, *gap.longestGap, gap.currentGap});
  const double perDay = kBarMaxWidth / longest;

  SvgDocument page(PageWidthFor(title, kPageWidth), kRowsTop + static_cast<double>(gaps.size()) * kRowHeight + 14,
                   title);
  DrawHeading(page, title,
              ChartText(request, "The {1} numbers longest away, in draw days ({2} in the period)",
                        {std::to_string(gaps.size()), DrawDaysText(request)}));
  DrawKey(page, request);
  for (size_t row = 0; row < gaps.size(); ++row) {
    const LoGap& gap = gaps[row];
    const double y = kRowsTop + static_cast<double>(row) * kRowHeight;
    const double barTop = y + (kRowHeight - kBarHeight) / 2, baseline = y + 14;
    const std::string name = NumberText(gap.number, digits);
    page.Text(kLabelRight, baseline, name, {12, kInk, Anchor::End, true});
    if (!gap.longestGap) {
      page.Text(kBarLeft, baseline, ChartText(request, "never drawn in the {1}", {DrawDaysText(request)}),
                {11, kQuietInk});
      continue;
    }
    const double longestWidth = *gap.longestGap * perDay, currentWidth = gap.currentGap * perDay;
    page.Rect(kBarLeft, barTop, longestWidth, kBarHeight, kLongestGapColour, "longest-" + name);
    if (gap.currentGap > 0) page.Rect(kBarLeft, barTop, currentWidth, kBarHeight, kCurrentGapColour, "current-" + name);
    std::string values =
        ChartText(request, "{1} · longest {2}", {std::to_string(gap.currentGap), std::to_string(*gap.longestGap)});
    if (gap.longestRunning) values += ChartText(request, " (running)");
    page.Text(kBarLeft + std::max(longestWidth, currentWidth) + 6, baseline, values, {11, kInk});
  }
  return page.Markup();
}

}  // namespace pradima::chart
