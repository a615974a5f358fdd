#include "chart/chart_page.h"

#include <algorithm>
#include <cstdio>

#include "base/concat.h"

namespace pradima::chart {

std::string RequestTitle(const ChartRequest& request) {
  return Concat(request.region, " · ", request.weekday, " · ", request.from, " – ", request.to, " · ", request.type,
                request.prizes == terms::Prizes::All ? "" : " · 3-digit prizes");
}

std::string DrawDaysText(int32_t drawDays) {
  return std::to_string(drawDays) + (drawDays == 1 ? " draw day" : " draw days");
}

double PageWidthFor(const std::string& title, double width) {
  // Characters, not bytes, at about what a bold letter of the title's size takes.
  const auto letters = std::count_if(title.begin(), title.end(), [](char c) { return (c & 0xC0) != 0x80; });
  return std::max(width, 2 * kPageMargin + 11.0 * static_cast<double>(letters));
}

void DrawHeading(SvgDocument& page, const std::string& title, const std::string& subtitle) {
  page.Text(kPageMargin, 32, title, {17, kInk, Anchor::Start, true});
  page.Text(kPageMargin, 56, subtitle, {12, kQuietInk});
}

std::string NothingToDraw(const std::string& title, const std::string& reason, double width) {
  SvgDocument page(PageWidthFor(title, width), kChartTop, title);
  DrawHeading(page, title, reason);
  return page.Markup();
}

}  // namespace pradima::chart
