#include "chart/chart_page.h"

#include <algorithm>
#include <cstdio>

#include "base/concat.h"
#include "base/fill_in.h"

namespace pradima::chart {

std::string ChartText(const ChartRequest& request, const char* english, std::initializer_list<std::string_view> values) {
  return FillIn(request.translation ? request.translation(english) : english, values);
}

std::string RequestTitle(const ChartRequest& request) {
  return Concat(request.region, " · ", request.weekday, " · ", request.from, " – ", request.to, " · ", request.type,
                request.prizes == terms::Prizes::All ? "" : ChartText(request, " · 3-digit prizes"));
}

std::string DrawDaysText(const ChartRequest& request) {
  const std::string count = std::to_string(request.drawDays);
  return request.drawDays == 1 ? ChartText(request, "{1} draw day", {count})
                               : ChartText(request, "{1} draw days", {count});
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
