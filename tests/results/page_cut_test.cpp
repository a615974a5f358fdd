#include "results/page_cut.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/data_files.h"

namespace pradima {
namespace {

TEST(CutPage, CutsFromTheStartMarkerToTheEndMarkerAfterItAtEveryDivEnd) {
  for (const std::vector<std::string>& c : testing::DataTable("page-cuts.tsv")) {
    std::string cut = "-";
    try {
      const auto pieces = CutPage(c[0], c[1] == "north" ? kNorthStartMarker : kStationStartMarker);
      if (pieces) cut.clear();
      for (size_t i = 0; pieces && i < pieces->size(); ++i) cut.append(i ? "|" : "").append((*pieces)[i]);
    } catch (const Error& e) {
      cut = "error " + std::to_string(e.number()) + ": " + e.what();
    }
    EXPECT_EQ(cut, c[2]) << c[0];
  }
}

TEST(CleanCell, TakesTheTextAfterTheLastTagWithoutPlusSignsAndBlanksAndOnlyDigitsArePrizes) {
  for (const std::vector<std::string>& c : testing::DataTable("clean-cells.tsv")) {
    EXPECT_EQ(CleanCell(c[0]), c[1]) << c[0];
    EXPECT_EQ(IsPrizeText(c[1]), c[2] == "yes") << c[1];
  }
}

}  // namespace
}  // namespace pradima
