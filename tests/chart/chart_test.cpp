// The charts of stats and gan: the colour scale, the SVG they are written
// in, and what each chart puts where.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <locale>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "chart/colour_scale.h"
#include "chart/count_chart.h"
#include "chart/gan_chart.h"
#include "chart/svg_document.h"
#include "support/data_files.h"

namespace pradima::chart {
namespace {

// The chart parsed; a failure to parse fails the test.
pugi::xml_document Parsed(const std::string& svg) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_string(svg.c_str());
  EXPECT_TRUE(result) << result.description() << " at " << result.offset << "\n" << svg;
  EXPECT_STREQ(document.document_element().name(), "svg");
  return document;
}

double Number(const pugi::xml_node& node, const char* attribute) { return node.attribute(attribute).as_double(); }

// The rectangles that have an id, by id.
std::map<std::string, pugi::xml_node> NamedRects(const pugi::xml_document& document) {
  std::map<std::string, pugi::xml_node> rects;
  for (const pugi::xpath_node& found : document.select_nodes("//rect[@id]"))
    rects[found.node().attribute("id").value()] = found.node();
  return rects;
}

const ChartRequest kRequest{"01/01/2026", "31/03/2026", "Miền Bắc", "Tất cả", "2 Con", 86};

TEST(ChartTest, TheColourScaleRunsFromLightThroughTheMiddleToDark) {
  for (const std::vector<std::string>& c : testing::DataTable("colour-scale.tsv")) {
    const Rgb colour = CountColour(std::stoll(c[0]), std::stoll(c[1]), std::stoll(c[2]));
    EXPECT_EQ(HexColour(colour), c[3]) << c[0] << " of " << c[1] << " to " << c[2];
    EXPECT_EQ(HexColour(InkOn(colour)), c[4]) << c[3];
  }
}

// A locale whose numbers have a decimal comma and grouped thousands.
struct CommaDecimals : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(ChartTest, NumbersAreWrittenTheSameInALocaleWithADecimalComma) {
  const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
  const std::pair<double, const char*> cases[] = {
      {12.5, "12.5"}, {3, "3"}, {-0.001, "0"}, {0.125, "0.13"}, {1e6, "1000000"}, {-7.25, "-7.25"}, {99.999, "100"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(SvgNumber(value), text) << value;
  std::locale::global(before);
}

TEST(ChartTest, TitleAndTextAreEscapedAndReadBackAsWritten) {
  const std::string title = "a & b < c > \"d\" · Miền Bắc";
  SvgDocument page(100, 50.5, title);
  page.Text(1, 2, title, {12, kInk, Anchor::Middle, true});
  page.Rect(1, 2, 3.25, 4, Rgb{1, 2, 3}, "cell-\"&");
  const pugi::xml_document document = Parsed(page.Markup());
  const pugi::xml_node root = document.document_element();
  EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.w3.org/2000/svg");
  EXPECT_STREQ(root.attribute("viewBox").value(), "0 0 100 50.5");
  EXPECT_EQ(std::string(root.child("title").child_value()), title);
  const pugi::xml_node text = root.child("text");
  EXPECT_EQ(std::string(text.child_value()), title);
  EXPECT_STREQ(text.attribute("text-anchor").value(), "middle");
  EXPECT_STREQ(text.attribute("fill").value(), "#212121");
  const pugi::xml_node rect = root.find_child_by_attribute("rect", "id", "cell-\"&");
  ASSERT_TRUE(rect);
  EXPECT_STREQ(rect.attribute("fill").value(), "#010203");
  EXPECT_STREQ(rect.attribute("width").value(), "3.25");
}

// What the cells hold and where they stand is checked against the published results (published_check.py);
// here the legend: the scale at six counts from the fewest to the most of the 100 two-digit numbers, rounded.
TEST(ChartTest, TheGridsLegendRunsFromTheFewestToTheMost) {
  LoCounts counts;
  for (int32_t n = 0; n <= 99; ++n)
    for (int i = 0; i < 5 + n % 38; ++i) counts.Add(n, i == 0);
  for (int i = 0; i < 80; ++i) counts.Add(510, i == 0);

  const pugi::xml_document document = Parsed(CountChartSvg(kRequest, counts, 2));
  const std::map<std::string, pugi::xml_node> cells = NamedRects(document);
  ASSERT_EQ(cells.size(), 100u);
  const double belowTheGrid = Number(cells.at("cell-99"), "y") + 40;
  std::vector<std::string> legend;
  for (const pugi::xpath_node& text : document.select_nodes("//text"))
    if (Number(text.node(), "y") > belowTheGrid) legend.push_back(text.node().child_value());
  EXPECT_EQ(legend, (std::vector<std::string>{"appearances", "5", "12", "20", "27", "35", "42"}));
}

// The 30 numbers that appeared most, the most first, ties by number, each bar as long as its appearances.
TEST(ChartTest, ThreeDigitCountsAreBarsOfTheMostFrequent) {
  // 31 numbers: those of n % 3 == 2 appear three times, n % 3 == 1 twice, the others once.
  LoCounts counts;
  for (int32_t n = 0; n <= 30; ++n)
    for (int i = 0; i <= n % 3; ++i) counts.Add(600 + n, i == 0);
  ChartRequest request = kRequest;
  request.type = "3 Con";
  const pugi::xml_document document = Parsed(CountChartSvg(request, counts, 3));
  std::map<double, pugi::xml_node> bars;  // by their place from the top
  for (const auto& [id, rect] : NamedRects(document)) bars[Number(rect, "y")] = rect;
  ASSERT_EQ(bars.size(), 30u);
  int rank = 0;
  for (const auto& [y, bar] : bars) {
    const int times = 3 - rank / 10;
    EXPECT_EQ(bar.attribute("id").value(), "bar-" + std::to_string(600 + 3 * (rank % 10) + times - 1)) << rank;
    EXPECT_NEAR(Number(bar, "width"), Number(bars.begin()->second, "width") * times / 3, 0.01) << rank;
    ++rank;
  }
}

// The current gap lies over the longest, on one scale; 07, never drawn, says so, and 99, drawn on the last
// day, has no current bar.
TEST(ChartTest, GapsAreBarsOnOneScaleAndANumberNeverDrawnSaysSo) {
  // Number, last drawn, current gap, longest gap, the day it ended, whether it runs still.
  const std::vector<LoGap> gaps = {
      {7, std::nullopt, 50, std::nullopt, std::nullopt, false},
      {12, 1, 30, 30, 1, true},
      {41, 1, 10, 40, 1, false},
      {99, 1, 0, 20, 1, false},
  };
  ChartRequest request = kRequest;
  request.drawDays = 50;
  const std::string svg = GanChartSvg(request, gaps, 2);
  const pugi::xml_document document = Parsed(svg);
  const std::map<std::string, pugi::xml_node> rects = NamedRects(document);
  std::vector<std::string> found;
  for (const auto& [id, rect] : rects) found.push_back(id);
  ASSERT_EQ(found, (std::vector<std::string>{"current-12", "current-41", "longest-12", "longest-41", "longest-99"}));
  const double perDay = Number(rects.at("longest-41"), "width") / 40;
  EXPECT_GT(perDay, 1);
  EXPECT_NEAR(Number(rects.at("current-41"), "width"), 10 * perDay, 0.01);
  EXPECT_NEAR(Number(rects.at("current-12"), "width"), 30 * perDay, 0.01);
  EXPECT_NEAR(Number(rects.at("longest-99"), "width"), 20 * perDay, 0.01);
  EXPECT_STREQ(rects.at("current-41").attribute("fill").value(), "#08519c");
  EXPECT_STREQ(rects.at("longest-41").attribute("fill").value(), "#bdd7ee");
  // The current bar is drawn after the longest one, on the same row.
  EXPECT_EQ(Number(rects.at("current-41"), "y"), Number(rects.at("longest-41"), "y"));
  EXPECT_LT(Number(rects.at("longest-12"), "y"), Number(rects.at("longest-41"), "y"));

  for (const char* text : {"07", "12", "41", "99", "never drawn in the 50 draw days", "30 · longest 30 (running)",
                           "10 · longest 40", "0 · longest 20"})
    EXPECT_NE(svg.find(std::string(">") + text + "</text>"), std::string::npos) << text;
}

TEST(ChartTest, NothingToDrawIsStillAPictureThatSaysSo) {
  ChartRequest empty = kRequest;
  empty.drawDays = 0;
  ChartRequest unknownType = kRequest;
  unknownType.type = "4 Con";
  const std::string charts[] = {CountChartSvg(empty, LoCounts(), 2), CountChartSvg(unknownType, LoCounts(), 0),
                                GanChartSvg(empty, std::vector<LoGap>(3), 2), GanChartSvg(kRequest, {}, 2)};
  for (const std::string& svg : charts) {
    const pugi::xml_document document = Parsed(svg);
    EXPECT_TRUE(NamedRects(document).empty()) << svg;
    EXPECT_NE(svg.find("nothing to draw."), std::string::npos) << svg;
    EXPECT_NE(svg.find("01/01/2026 – 31/03/2026"), std::string::npos) << svg;
  }
  EXPECT_NE(charts[1].find("The number type &quot;4 Con&quot; is neither &quot;2 Con&quot; nor &quot;3 Con&quot;"),
            std::string::npos);
}

// A translation that writes every text in capitals, kept for the test's run.
const char* InCapitals(const char* english) {
  static std::set<std::string> kept;
  std::string capitals = english;
  for (char& c : capitals) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return kept.insert(capitals).first->c_str();
}

// Every word a chart writes, in its text and its title, comes through the request's translation: with words
// in capitals and a request in capitals, no chart holds a small letter but in the lottery's own names.
TEST(ChartTest, EveryWordOfAChartComesThroughTheTranslation) {
  const ChartRequest request{"01/01/2026", "31/03/2026", "MIỀN BẮC", "TẤT CẢ", "3 CON", 50,
                             terms::Prizes::ThreeDigitsOrMore, InCapitals};
  ChartRequest none = request, one = request;
  none.drawDays = 0;
  one.drawDays = 1;
  LoCounts counts;
  counts.Add(7, true);
  counts.Add(510, true);
  const std::vector<LoGap> gaps = {{7, std::nullopt, 50, std::nullopt, std::nullopt, false}, {12, 1, 30, 30, 1, true}};
  const std::string charts[] = {CountChartSvg(request, counts, 2), CountChartSvg(one, counts, 3),
                                CountChartSvg(request, LoCounts(), 3), CountChartSvg(request, counts, 0),
                                CountChartSvg(none, counts, 2), GanChartSvg(request, gaps, 2),
                                GanChartSvg(one, gaps, 3), GanChartSvg(none, gaps, 2)};
  for (const std::string& svg : charts) {
    const pugi::xml_document document = Parsed(svg);
    for (const pugi::xpath_node& found : document.select_nodes("//text | //title")) {
      std::string text = found.node().child_value();
      for (const std::string name : {"đầu", "đuôi", "2 Con", "3 Con"})
        for (size_t at; (at = text.find(name)) != std::string::npos;) text.erase(at, name.size());
      EXPECT_EQ(text.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << text;
    }
  }
}

}  // namespace
}  // namespace pradima::chart
