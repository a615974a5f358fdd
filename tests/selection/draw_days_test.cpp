#include "selection/draw_days.h"

#include <gtest/gtest.h>

#include <random>

#include "support/stats_fixture.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"

namespace pradima {
namespace {

using testing::StatsTest;

// The draw days that gan reads are the days that the count counts, and
// their numbers add up to the count's appearances.
class DrawDaysTest : public StatsTest {
 protected:
  // Six weeks of random results over every region's columns, some cells
  // (test cells among them) left empty so that some days are no draw days.
  void PutRandomWeeks() {
    std::mt19937 random(20250101);
    std::uniform_int_distribution<int> digits(0, 99999);
    std::bernoulli_distribution empty(0.15);
    for (int d = 1; d <= 42; ++d) {
      std::map<int32_t, Value> cells;
      for (int32_t c = 3; c <= terms::kResultColumns; ++c)
        if (!empty(random)) cells[c] = Value::Text(std::to_string(digits(random)));
      PutDay(CivilFromDays(DaysFromCivil({2021, 3, 1}) + d - 1), cells);
    }
  }
};

TEST_F(DrawDaysTest, SameDaysAndNumbersAsTheCountForEveryRegionAndWeekday) {
  PutRandomWeeks();
  const char* regions[] = {"Mieefn Bawsc", "Mieefn Trung", "Mieefn Nam"};
  const char* weekdays[] = {"Taast car", "Chur Nhaajt", "Thuws Hai", "Thuws Tuw", "Thuws Bary"};
  const std::string types[] = {"2 Con", "3 Con"};
  const DateSerial from = SerialFromCivil({2021, 3, 3}), to = SerialFromCivil({2021, 4, 9});
  int32_t daysSeen = 0;
  for (const char* regionTelex : regions)
    for (const char* weekdayTelex : weekdays)
      for (const std::string& type : types) {
        const std::string region = TelexToUnicode(regionTelex);
        control->Set(5, 2, Value::Text(TelexToUnicode(weekdayTelex)));
        LoCounts counts;
        int32_t dayCount = -1;
        CountLo(session, counts, from, to, region, dayCount, type);
        const std::vector<DrawDay> days = ReadDrawDays(session, from, to, region, type);
        const std::string what = region + " " + TelexToUnicode(weekdayTelex) + " " + type;
        ASSERT_EQ(static_cast<int32_t>(days.size()), dayCount) << what;
        daysSeen += dayCount;
        std::array<int32_t, 1000> appearances{};
        for (size_t i = 1; i < days.size(); ++i) EXPECT_LT(days[i - 1].date, days[i].date) << "oldest first";
        for (const DrawDay& day : days) {
          EXPECT_GE(day.date, from) << what;
          EXPECT_LE(day.date, to) << what;
          if (weekdayTelex != std::string("Taast car")) {
            EXPECT_EQ(WeekdayOf(day.date), WeekdayCode(TelexToUnicode(weekdayTelex))) << what;
          }
          for (const int32_t lo : day.numbers) ++appearances[static_cast<size_t>(lo)];
        }
        for (int32_t n = 0; n < 1000; ++n)
          EXPECT_EQ(appearances[static_cast<size_t>(n)], counts.appearances(n).value_or(0)) << what << " " << n;
      }
  EXPECT_GT(daysSeen, 0) << "the data must give draw days to compare";
}

}  // namespace
}  // namespace pradima
