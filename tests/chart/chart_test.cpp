// The charts of stats and gan: the colour scale, the SVG they are written
// in, what each chart puts where, and --chart on the command line.
#include <sys/stat.h>

#include <pugixml.hpp>

#include <algorithm>
#include <locale>
#include <map>
#include <string>
#include <vector>

#include "chart/colour_scale.h"
#include "base/concat.h"
#include "chart/count_chart.h"
#include "chart/gan_chart.h"
#include "chart/svg_document.h"
#include "support/svg_reading.h"

namespace pradima::chart {
namespace {

using testing::Box;
using testing::BoxOf;
using testing::Label;
using testing::Labels;
using testing::NamedRects;
using testing::Number;
using testing::Parsed;

const ChartRequest kRequest{"01/01/2026", "31/03/2026", "Miền Bắc", "Tất cả", "2 Con", 86};

TEST(ChartTest, TheColourScaleRunsFromLightThroughTheMiddleToDark) {
  struct Case {
    int64_t count, least, most;
    Rgb colour;
  };
  const Case cases[] = {
      {9, 9, 35, kFewestColour},
      {35, 9, 35, kMostColour},
      {22, 9, 35, kMiddleColour},
      // A quarter of the way: halfway from the lightest to the middle, halves rounded away from zero.
      {1, 0, 4, {160, 219, 207}},
      // Three quarters: halfway from the middle to the darkest.
      {3, 0, 4, {37, 106, 142}},
      {0, 0, 100, {255, 255, 217}},
      {10, 0, 100, {217, 240, 213}},  // 255-38, 255-14.6, 217-4.2
      // Outside the range: the nearer end.
      {-5, 0, 4, kFewestColour},
      {9, 0, 4, kMostColour},
      // No scale when every count is the same.
      {7, 7, 7, kMiddleColour},
  };
  for (const Case& c : cases) {
    const Rgb colour = CountColour(c.count, c.least, c.most);
    EXPECT_EQ(HexColour(colour), HexColour(c.colour)) << c.count << " of " << c.least << " to " << c.most;
  }
  EXPECT_EQ(HexColour(kFewestColour), "#ffffd9");
  EXPECT_EQ(InkOn(kFewestColour), (Rgb{33, 33, 33}));
  EXPECT_EQ(InkOn(kMiddleColour), (Rgb{33, 33, 33}));
  EXPECT_EQ(InkOn(kMostColour), (Rgb{255, 255, 255}));
  EXPECT_EQ(InkOn(CountColour(3, 0, 4)), (Rgb{255, 255, 255}));
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
  const std::string svg = page.Markup();
  EXPECT_EQ(svg.find("& b"), std::string::npos) << svg;
  const pugi::xml_document document = Parsed(svg);
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

TEST(ChartTest, EachTwoDigitCountIsInItsCellInItsColour) {
  // 10 appears 40 times, 93 once, 5 never; the others between.
  const auto expected = [](int32_t n) { return n == 10 ? 40 : n == 93 ? 1 : n == 5 ? 0 : 2 + (n * 37) % 30; };
  LoCounts counts;
  for (int32_t n = 0; n <= 99; ++n)
    for (int i = 0; i < expected(n); ++i) counts.Add(n, i == 0);
  // Three-digit counts are no two-digit cells.
  for (int i = 0; i < 80; ++i) counts.Add(510, i == 0);

  const pugi::xml_document document = Parsed(CountChartSvg(kRequest, counts, 2));
  EXPECT_EQ(std::string(document.document_element().child("title").child_value()),
            "Miền Bắc · Tất cả · 01/01/2026 – 31/03/2026 · 2 Con");
  const std::map<std::string, pugi::xml_node> rects = NamedRects(document);
  ASSERT_EQ(rects.size(), 100u);
  const std::vector<Label> labels = Labels(document);
  const auto name = [](int32_t n) { return Concat("cell-", n < 10 ? "0" : "", std::to_string(n)); };
  const auto cell = [&](int32_t n) { return BoxOf(rects.at(name(n))); };
  for (int32_t n = 0; n <= 99; ++n) {
    const Box box = cell(n);
    // Rows by đầu, columns by đuôi.
    EXPECT_EQ(box.x, cell(n % 10).x) << n;
    EXPECT_EQ(box.y, cell(n / 10 * 10).y) << n;
    if (n % 10) {
      EXPECT_GT(box.x, cell(n - 1).x) << n;
    }
    if (n >= 10) {
      EXPECT_GT(box.y, cell(n - 10).y) << n;
    }
    std::vector<std::string> bold;
    for (const Label& label : labels)
      if (box.Holds(label.x, label.y) && label.weight == "bold") bold.push_back(label.text);
    EXPECT_EQ(bold, std::vector<std::string>{std::to_string(expected(n))}) << n;
  }
  // The legend gives the scale's ends.
  int ends = 0;
  for (const Label& label : labels)
    if (label.y > cell(99).y + 40 && (label.text == "0" || label.text == "40")) ++ends;
  EXPECT_EQ(ends, 2);
}

TEST(ChartTest, ThreeDigitCountsAreBarsOfTheMostFrequent) {
  LoCounts counts;
  // 40 numbers appear, n * 7 % 1000 appearing 1 + (n % 12) times; ties go by number.
  std::map<int32_t, int> appearances;
  for (int32_t n = 1; n <= 40; ++n) appearances[n * 7 % 1000 + 600] = 1 + n % 12;
  for (const auto& [number, times] : appearances)
    for (int i = 0; i < times; ++i) counts.Add(number, i == 0);
  std::vector<std::pair<int, int32_t>> ranked;
  for (const auto& [number, times] : appearances) ranked.push_back({-times, number});
  std::sort(ranked.begin(), ranked.end());

  ChartRequest request = kRequest;
  request.type = "3 Con";
  const pugi::xml_document document = Parsed(CountChartSvg(request, counts, 3));
  std::vector<std::pair<double, std::string>> bars;  // by their place from the top
  double widest = 0;
  for (const auto& [id, rect] : NamedRects(document)) {
    bars.push_back({Number(rect, "y"), id});
    widest = std::max(widest, Number(rect, "width"));
  }
  std::sort(bars.begin(), bars.end());
  ASSERT_EQ(bars.size(), 30u);
  const std::map<std::string, pugi::xml_node> rects = NamedRects(document);
  for (size_t i = 0; i < bars.size(); ++i) {
    const int32_t number = ranked[i].second;
    EXPECT_EQ(bars[i].second, "bar-" + std::to_string(number)) << i;
    EXPECT_NEAR(Number(rects.at(bars[i].second), "width"), widest * -ranked[i].first / -ranked[0].first, 0.01);
  }
}

TEST(ChartTest, GapsAreBarsOnOneScaleAndANumberNeverDrawnSaysSo) {
  std::vector<LoGap> gaps(4);
  gaps[0].number = 7;  // never drawn
  gaps[0].currentGap = 50;
  gaps[1].number = 12;
  gaps[1].currentGap = 30;
  gaps[1].longestGap = 30;
  gaps[1].longestRunning = true;
  gaps[2].number = 41;
  gaps[2].currentGap = 10;
  gaps[2].longestGap = 40;
  gaps[3].number = 99;
  gaps[3].currentGap = 0;
  gaps[3].longestGap = 20;
  ChartRequest request = kRequest;
  request.drawDays = 50;
  const pugi::xml_document document = Parsed(GanChartSvg(request, gaps, 2));
  const std::map<std::string, pugi::xml_node> rects = NamedRects(document);
  const std::vector<std::string> ids = {"current-12", "current-41", "longest-12", "longest-41", "longest-99"};
  std::vector<std::string> found;
  for (const auto& [id, rect] : rects) found.push_back(id);
  ASSERT_EQ(found, ids) << "no bars for 07, never drawn, nor a current one for 99, drawn on the last day";
  const double perDay = Number(rects.at("longest-41"), "width") / 40;
  EXPECT_GT(perDay, 1);
  EXPECT_NEAR(Number(rects.at("current-41"), "width"), 10 * perDay, 0.01);
  EXPECT_NEAR(Number(rects.at("current-12"), "width"), 30 * perDay, 0.01);
  EXPECT_NEAR(Number(rects.at("longest-99"), "width"), 20 * perDay, 0.01);
  EXPECT_STREQ(rects.at("current-41").attribute("fill").value(), HexColour(kCurrentGapColour).c_str());
  EXPECT_STREQ(rects.at("longest-41").attribute("fill").value(), HexColour(kLongestGapColour).c_str());
  // The current bar lies over the longest one: drawn after it, on the same row.
  EXPECT_EQ(Number(rects.at("current-41"), "y"), Number(rects.at("longest-41"), "y"));
  EXPECT_LT(Number(rects.at("longest-12"), "y"), Number(rects.at("longest-41"), "y"));

  std::vector<std::string> texts;
  for (const Label& label : Labels(document)) texts.push_back(label.text);
  for (const char* text : {"07", "12", "41", "99", "never drawn in the 50 draw days", "30 · longest 30 (running)",
                           "10 · longest 40", "0 · longest 20"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
}

TEST(ChartTest, NothingToDrawIsStillAPictureThatSaysSo) {
  ChartRequest empty = kRequest;
  empty.drawDays = 0;
  ChartRequest unknownType = kRequest;
  unknownType.type = "4 Con";
  LoCounts counts;
  counts.Add(7, true);
  std::vector<LoGap> gaps(3);
  const std::string charts[] = {CountChartSvg(empty, counts, 2), CountChartSvg(empty, counts, 3),
                                CountChartSvg(unknownType, counts, 0), GanChartSvg(empty, gaps, 2),
                                GanChartSvg(kRequest, {}, 2)};
  for (const std::string& svg : charts) {
    const pugi::xml_document document = Parsed(svg);
    EXPECT_TRUE(NamedRects(document).empty()) << svg;
    EXPECT_NE(svg.find("nothing to draw."), std::string::npos) << svg;
    EXPECT_NE(svg.find("01/01/2026 – 31/03/2026"), std::string::npos) << svg;
  }
  const std::vector<Label> labels = Labels(Parsed(charts[2]));
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[1].text, "The number type \"4 Con\" is neither \"2 Con\" nor \"3 Con\": nothing to draw.");
}

}  // namespace
}  // namespace pradima::chart
