// Arguments typed as letters followed by their marks match the sheet's composed words.
#include "text/composed_text.h"

#include <gtest/gtest.h>

#include "selection/count_lo.h"
#include "support/data_files.h"
#include "terms/lottery.h"
#include "text/telex.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima {
namespace {

struct Decomposed {
  const char* typed;  // each letter followed by its combining marks, as a composing keyboard sends it
  std::string word;   // as the workbook holds it
};

// Every region, weekday and number set.
std::vector<Decomposed> SheetWords() {
  const auto& regions = RegionNames();
  const auto weekday = [](int i) { return TelexToUnicode(terms::kWeekdayTelexNames[static_cast<size_t>(i)]); };
  return {
      {"Mie\u0302\u0300n Ba\u0306\u0301c", regions[0]},
      {"Mie\u0302\u0300n Trung", regions[1]},
      {"Mie\u0302\u0300n Nam", regions[2]},
      {"Chu\u0309 Nha\u0323\u0302t", weekday(0)},
      {"Thu\u031B\u0301 Hai", weekday(1)},
      {"Thu\u031B\u0301 Ba", weekday(2)},
      {"Thu\u031B\u0301 Tu\u031B", weekday(3)},
      {"Thu\u031B\u0301 Na\u0306m", weekday(4)},
      {"Thu\u031B\u0301 Sa\u0301u", weekday(5)},
      {"Thu\u031B\u0301 Ba\u0309y", weekday(6)},
      {"Ta\u0302\u0301t ca\u0309", TelexToUnicode(terms::kEveryDayTelex)},
      {"So\u0302\u0301 Ke\u0301p", TelexToUnicode(terms::kDoublesTelex)},
      {"Tu\u0300y Cho\u0323n", TelexToUnicode(terms::kCustomTelex)},
      {"Full", terms::kFullSet},
  };
}

TEST(ComposedText, EveryWordOfTheSheetTypedDecomposedComesOutComposed) {
  for (const Decomposed& d : SheetWords()) {
    EXPECT_EQ(ComposeLatin(d.typed), d.word) << d.word;
    EXPECT_EQ(ComposeLatin(d.word), d.word) << "composed text stays: " << d.word;
  }
}

TEST(ComposedText, MarksInAnyOrderComposeAndOtherTextPassesUnchanged) {
  for (const std::vector<std::string>& c : testing::DataTable("composed-letters.tsv")) {
    EXPECT_EQ(ComposeLatin(c[0]), c[1]) << c[0];
  }
}

}  // namespace
}  // namespace pradima
