#pragma once
// The gaps of a gan run as a picture (SVG): for each number reported, its
// current gap as a dark bar over a light bar of its longest gap, both in
// draw days on one scale; a number never drawn in the period says so.
#include <string>
#include <vector>

#include "chart/chart_page.h"
#include "selection/lo_gaps.h"

namespace pradima::chart {

inline constexpr Rgb kCurrentGapColour{8, 81, 156};
inline constexpr Rgb kLongestGapColour{189, 215, 238};

// The gaps in the order given. A period without draw days is a page saying there is nothing to draw.
std::string GanChartSvg(const ChartRequest& request, const std::vector<LoGap>& gaps, int digits);

}  // namespace pradima::chart
