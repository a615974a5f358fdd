#include "results/page_cut.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/data_files.h"

namespace pradima {
namespace {

TEST(CutPage, SplitsFromTheMarkerToTheEndMarkerAtEveryDivEnd) {
  const std::string page =
      "x<div>0</div><td class=\"giaidb\"><div>12</div>a<div>34</div>tail</table></tr></table><div>9</div>";
  const auto pieces = CutPage(page, kNorthStartMarker);
  ASSERT_TRUE(pieces);
  EXPECT_EQ(*pieces, (std::vector<std::string_view>{"<td class=\"giaidb\"><div>12", "a<div>34", "tail"}));
}

TEST(CutPage, MissingMarkersAndEmptyPages) {
  EXPECT_FALSE(CutPage("", kStationStartMarker));
  EXPECT_FALSE(CutPage("<td class=\"giai8 \">1</div></table></tr></table>", kStationStartMarker));
  // an end marker before the start marker does not count
  try {
    CutPage("</table></tr></table><td class=\"giai8\"><div>1</div>", kStationStartMarker);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_STREQ(e.what(), "start marker without end marker");
  }
  EXPECT_EQ(CutPage("<td class=\"giai8\"></table></tr></table>", kStationStartMarker).value().size(), 1u);
}

TEST(CleanCell, TakesTheTextAfterTheLastTagWithoutPlusSignsAndBlanks) {
  for (const std::vector<std::string>& c : testing::DataTable("clean-cells.tsv")) {
    EXPECT_EQ(CleanCell(c[0]), c[1]) << c[0];
  }
}

TEST(IsPrizeText, OnlyDigitStrings) {
  for (const char* yes : {"0", "07", "123456"}) EXPECT_TRUE(IsPrizeText(yes)) << yes;
  for (const char* no : {"", " ", "1 2", "-5", "1.5", "12a", "١٢", "+1"}) EXPECT_FALSE(IsPrizeText(no)) << no;
}

}  // namespace
}  // namespace pradima
