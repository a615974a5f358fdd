#pragma once
// What every chart of the tool shares: the request it draws as its title,
// a heading, and the page that says there is nothing to draw.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "chart/svg_document.h"
#include "terms/lottery.h"

namespace pradima::chart {

// The reader's language for a chart's English words: the tool gives its
// catalogue, as this layer knows none.
using Translation = const char* (*)(const char* english);

// The request a chart draws, as the reports print it.
struct ChartRequest {
  std::string from, to;  // "01/01/2026"; "-" when the period has no end to show
  std::string region, weekday, type;
  int32_t drawDays = 0;
  terms::Prizes prizes = terms::Prizes::All;
  Translation translation = nullptr;  // none: the words in English
};

// The request's translation of `english`, with {1}, {2}, ... filled in by `values`.
std::string ChartText(const ChartRequest& request, const char* english,
                      std::initializer_list<std::string_view> values = {});

// "Miền Bắc · Tất cả · 01/01/2026 – 31/03/2026 · 2 Con", and " · 3-digit prizes"
// when only those were counted.
std::string RequestTitle(const ChartRequest& request);

// "1 draw day", "78 draw days".
std::string DrawDaysText(const ChartRequest& request);

// The left edge of the page's text, and where a chart begins below its heading.
inline constexpr double kPageMargin = 20;
inline constexpr double kChartTop = 80;
inline constexpr Rgb kInk{33, 33, 33};
inline constexpr Rgb kQuietInk{96, 96, 96};

// `width`, or wider when the title needs it (a weekday may be any text).
double PageWidthFor(const std::string& title, double width);

// The title in bold and a line below it saying what the chart shows.
void DrawHeading(SvgDocument& page, const std::string& title, const std::string& subtitle);

// A page of `width` with the heading only, its subtitle saying why nothing is drawn.
std::string NothingToDraw(const std::string& title, const std::string& reason, double width);

}  // namespace pradima::chart
