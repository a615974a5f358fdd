// Arguments typed as letters followed by their marks match the sheet's composed words.
#include "text/composed_text.h"

#include <gtest/gtest.h>

#include "selection/count_lo.h"
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
  struct Case {
    const char* typed;
    const char* expected;
  };
  const Case cases[] = {
      {"Nha\u0302\u0323t", "Nh\u1EADt"},                 // circumflex before the dot below: still ậ
      {"\u00EA\u0323", "\u1EC7"},                        // ê then a dot below: ệ
      {"\u1EB9\u0302", "\u1EC7"},                        // ẹ then a circumflex: ệ
      {"U\u031B\u0323", "\u1EF0"},                       // Ự
      {"o\u0323\u031B", "\u1EE3"},                       // horn after the dot below: ợ
      {"\u0111a\u0300", "\u0111\u00E0"},                 // đ needs no mark
      {"e\u0308", "e\u0308"},                            // a mark Vietnamese does not use stays apart
      {"a\u0308\u0301", "a\u0308\u0301"},                // and blocks the one after it
      {"\u0301a", "\u0301a"},                            // a mark with no letter before it
      {"\u041C\u0438\u0440 5", "\u041C\u0438\u0440 5"},  // other scripts
      {"q\u0301", "q\u0301"},                            // no such composed letter
      {"2 Con", "2 Con"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ComposeLatin(c.typed), c.expected) << c.typed;
}

}  // namespace
}  // namespace pradima
