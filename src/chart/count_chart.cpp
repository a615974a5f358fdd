#include "chart/count_chart.h"

#include <algorithm>
#include <vector>

#include "chart/colour_scale.h"
#include "selection/number_type.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "text/telex.h"

namespace pradima::chart {
namespace {

constexpr double kPageWidth = 640;

// The grid: cells of kCellWidth by kCellHeight, the cells' colours kept
// kCellGap apart so that equal neighbours still read as two.
constexpr double kGridLeft = 90;
constexpr double kGridTop = kChartTop + 24;
constexpr double kCellWidth = 52, kCellHeight = 40, kCellGap = 2;
constexpr int kLegendSteps = 6;

// The bars of three-digit numbers.
constexpr double kBarLeft = 70, kBarMaxWidth = 460, kRowHeight = 18, kBarHeight = 14;
constexpr Rgb kBarColour{33, 113, 181};

int64_t AppearancesOf(const LoCounts& counts, int32_t number) { return counts.appearances(number).value_or(0); }

std::string Grid(const ChartRequest& request, const LoCounts& counts) {
  int64_t least = AppearancesOf(counts, 0), most = least;
  for (int32_t number = 1; number <= 99; ++number) {
    least = std::min(least, AppearancesOf(counts, number));
    most = std::max(most, AppearancesOf(counts, number));
  }
  const double legendTop = kGridTop + 10 * kCellHeight + 20;
  const std::string title = RequestTitle(request);
  SvgDocument page(PageWidthFor(title, kPageWidth), legendTop + 56, title);
  const std::string head = TelexToUnicode(terms::kHeadTelex), tail = TelexToUnicode(terms::kTailTelex);
  DrawHeading(page, title,
              ChartText(request, "Appearances of all 100 numbers over {1} (rows {2}, columns {3})",
                        {DrawDaysText(request), head, tail}));

  page.Text(kGridLeft + 5 * kCellWidth, kGridTop - 24, tail, {12, kQuietInk, Anchor::Middle});
  page.Text(kPageMargin + 10, kGridTop + 5 * kCellHeight + 4, head, {12, kQuietInk, Anchor::Middle});
  for (int digit = 0; digit <= 9; ++digit) {
    const std::string label = std::to_string(digit);
    page.Text(kGridLeft + (digit + 0.5) * kCellWidth, kGridTop - 7, label, {13, kInk, Anchor::Middle, true});
    page.Text(kGridLeft - 10, kGridTop + (digit + 0.5) * kCellHeight + 5, label, {13, kInk, Anchor::End, true});
  }
  for (int32_t number = 0; number <= 99; ++number) {
    const int32_t column = number % 10, row = number / 10;
    const double x = kGridLeft + column * kCellWidth, y = kGridTop + row * kCellHeight;
    const int64_t appearances = AppearancesOf(counts, number);
    const Rgb fill = CountColour(appearances, least, most);
    const Rgb ink = InkOn(fill);
    const std::string name = NumberText(number, 2);
    page.Rect(x + kCellGap / 2, y + kCellGap / 2, kCellWidth - kCellGap, kCellHeight - kCellGap, fill, "cell-" + name);
    page.Text(x + 5, y + 12, name, {9, ink});
    page.Text(x + kCellWidth / 2, y + kCellHeight / 2 + 7, std::to_string(appearances),
              {15, ink, Anchor::Middle, true});
  }

  // The legend: the scale's colours at evenly spaced counts from the fewest to the most.
  page.Text(kGridLeft - 10, legendTop + 14, ChartText(request, "appearances"), {11, kQuietInk, Anchor::End});
  const int steps = static_cast<int>(std::min<int64_t>(kLegendSteps, most - least + 1));
  for (int step = 0; step < steps; ++step) {
    const int64_t value = steps == 1 ? least : least + ((most - least) * step * 2 + (steps - 1)) / (2 * (steps - 1));
    const double x = kGridLeft + step * kCellWidth;
    page.Rect(x, legendTop, kCellWidth, 20, CountColour(value, least, most));
    page.Text(x + kCellWidth / 2, legendTop + 36, std::to_string(value), {11, kInk, Anchor::Middle});
  }
  page.Outline(kGridLeft, legendTop, steps * kCellWidth, 20, kQuietInk, 0.5);
  return page.Markup();
}

std::string Bars(const ChartRequest& request, const LoCounts& counts) {
  std::vector<int32_t> drawn;
  for (int32_t number = 0; number <= 999; ++number)
    if (AppearancesOf(counts, number) > 0) drawn.push_back(number);
  std::stable_sort(drawn.begin(), drawn.end(),
                   [&](int32_t a, int32_t b) { return AppearancesOf(counts, a) > AppearancesOf(counts, b); });
  if (drawn.size() > static_cast<size_t>(kMostFrequentShown)) drawn.resize(kMostFrequentShown);
  const std::string title = RequestTitle(request);
  if (drawn.empty())
    return NothingToDraw(title, ChartText(request, "No number appeared in this period: nothing to draw."), kPageWidth);

  SvgDocument page(PageWidthFor(title, kPageWidth), kChartTop + static_cast<double>(drawn.size()) * kRowHeight + 16,
                   title);
  DrawHeading(page, title,
              ChartText(request, "The {1} numbers that appeared most over {2}, with their appearances",
                        {std::to_string(drawn.size()), DrawDaysText(request)}));
  const double perAppearance = kBarMaxWidth / static_cast<double>(AppearancesOf(counts, drawn.front()));
  for (size_t row = 0; row < drawn.size(); ++row) {
    const double y = kChartTop + static_cast<double>(row) * kRowHeight;
    const int64_t appearances = AppearancesOf(counts, drawn[row]);
    const double width = static_cast<double>(appearances) * perAppearance;
    const std::string name = NumberText(drawn[row], 3);
    page.Text(kBarLeft - 8, y + 12, name, {12, kInk, Anchor::End, true});
    page.Rect(kBarLeft, y + (kRowHeight - kBarHeight) / 2, width, kBarHeight, kBarColour, "bar-" + name);
    page.Text(kBarLeft + width + 6, y + 12, std::to_string(appearances), {11, kInk});
  }
  return page.Markup();
}

}  // namespace

std::string CountChartSvg(const ChartRequest& request, const LoCounts& counts, int digits) {
  const std::string title = RequestTitle(request);
  if (digits != 2 && digits != 3)
    return NothingToDraw(title,
                         ChartText(request, "The number type \"{1}\" is neither \"{2}\" nor \"{3}\": nothing to draw.",
                                   {request.type, terms::kTwoDigits, terms::kThreeDigits}),
                         kPageWidth);
  if (request.drawDays == 0)
    return NothingToDraw(title, ChartText(request, "No draw days in this period: nothing to draw."), kPageWidth);
  return digits == 2 ? Grid(request, counts) : Bars(request, counts);
}

}  // namespace pradima::chart
