#pragma once
// The counts of a stats run as a picture (SVG). Two-digit numbers make a 10
// by 10 grid, rows by first digit (đầu) and columns by last digit (đuôi),
// each cell coloured by the number's appearances on the period's scale and
// showing them; three-digit numbers, bars of the most frequent.
#include <string>

#include "chart/chart_page.h"
#include "selection/count_lo.h"

namespace pradima::chart {

// How many of the most frequent three-digit numbers the bars show.
inline constexpr int kMostFrequentShown = 30;

// The grid of the 100 two-digit numbers, listed or not (`digits` 2), or the
// bars of the three-digit numbers that appeared most, ties by number
// (`digits` 3). A period without draw days, or a type of neither, is a page
// saying there is nothing to draw.
std::string CountChartSvg(const ChartRequest& request, const LoCounts& counts, int digits);

}  // namespace pradima::chart
