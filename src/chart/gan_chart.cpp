#include "chart/gan_chart.h"

#include <algorithm>

#include "selection/number_type.h"

namespace pradima::chart {
namespace {

constexpr double kPageWidth = 660;
constexpr double kLabelRight = 58, kBarLeft = 68, kBarMaxWidth = 400;
constexpr double kRowsTop = kChartTop + 26, kRowHeight = 20, kBarHeight = 14;

void DrawKey(SvgDocument& page) {
  page.Rect(kBarLeft, kChartTop, 14, 14, kCurrentGapColour);
  page.Text(kBarLeft + 20, kChartTop + 11, "current gap", {11, kInk});
  page.Rect(kBarLeft + 130, kChartTop, 14, 14, kLongestGapColour);
  page.Text(kBarLeft + 150, kChartTop + 11, "longest gap in the period (draw days)", {11, kInk});
}

}  // namespace

std::string GanChartSvg(const ChartRequest& request, const std::vector<LoGap>& gaps, int digits) {
  const std::string title = "Gan · " + RequestTitle(request);
  if (request.drawDays == 0 || gaps.empty())
    return NothingToDraw(title, "No draw days in this period: nothing to draw.", kPageWidth);

  // One scale for every bar: the longest gap shown spans the bars' width.
  int32_t longest = 1;
  for (const LoGap& gap : gaps)
    if (gap.longestGap) longest = std::max({longest, *gap.longestGap, gap.currentGap});
  const double perDay = kBarMaxWidth / longest;

  SvgDocument page(PageWidthFor(title, kPageWidth), kRowsTop + static_cast<double>(gaps.size()) * kRowHeight + 14,
                   title);
  DrawHeading(page, title,
              "The " + std::to_string(gaps.size()) + " numbers longest away, in draw days (" +
                  DrawDaysText(request.drawDays) + " in the period)");
  DrawKey(page);
  for (size_t row = 0; row < gaps.size(); ++row) {
    const LoGap& gap = gaps[row];
    const double y = kRowsTop + static_cast<double>(row) * kRowHeight;
    const double barTop = y + (kRowHeight - kBarHeight) / 2, baseline = y + 14;
    const std::string name = NumberText(gap.number, digits);
    page.Text(kLabelRight, baseline, name, {12, kInk, Anchor::End, true});
    if (!gap.longestGap) {
      page.Text(kBarLeft, baseline, "never drawn in the " + DrawDaysText(request.drawDays), {11, kQuietInk});
      continue;
    }
    const double longestWidth = *gap.longestGap * perDay, currentWidth = gap.currentGap * perDay;
    page.Rect(kBarLeft, barTop, longestWidth, kBarHeight, kLongestGapColour, "longest-" + name);
    if (gap.currentGap > 0) page.Rect(kBarLeft, barTop, currentWidth, kBarHeight, kCurrentGapColour, "current-" + name);
    std::string values = std::to_string(gap.currentGap) + " · longest " + std::to_string(*gap.longestGap);
    if (gap.longestRunning) values += " (running)";
    page.Text(kBarLeft + std::max(longestWidth, currentWidth) + 6, baseline, values, {11, kInk});
  }
  return page.Markup();
}

}  // namespace pradima::chart
