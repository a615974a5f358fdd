// The count reads only the dates, then the period's rows of the region's
// columns. On random results sheets it must agree exactly with the count
// over the whole block that it replaced: counts, day count and errors; and
// the draw days that gan reads must be the days it counts, their numbers
// adding up to its counts.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "base/error.h"
#include "selection/count_draw_days.h"
#include "selection/count_lo.h"
#include "selection/draw_days.h"
#include "support/stats_fixture.h"
#include "support/whole_block_count.h"
#include "terms/lottery.h"
#include "terms/sheet_layout.h"
#include "terms/station_schedule.h"
#include "text/telex.h"

namespace pradima {
namespace {

struct Outcome {
  std::optional<LoCountResult> result;
  int32_t errorHresult = 0;
  std::string error;
};

bool SameCounts(const LoCounts& a, const LoCounts& b) {
  for (int32_t n = 0; n < 1000; ++n)
    if (a.days(n) != b.days(n) || a.appearances(n) != b.appearances(n)) return false;
  return true;
}

class RandomSheet {
 public:
  explicit RandomSheet(uint32_t seed) : random_(seed) {}

  Value DateCell(DateSerial serial) {
    switch (Pick(40)) {
      case 0: return Value::Number(serial);
      case 1: return Value::Text(FormatShortDate(CivilFromSerial(serial)));
      case 2: return Pick(5) == 0 ? Value::Text("not a date") : Value::Date(serial);
      default: return Value::Date(serial);
    }
  }

  Value PrizeCell() {
    switch (Pick(20)) {
      case 0:
      case 1: return Value();
      case 2: return Value::Text("");
      case 3: return Value::Number(static_cast<double>(Pick(100000)));
      case 4: return Value::Text(Pick(2) ? std::to_string(Pick(1000)) + "a" : "a" + std::to_string(Pick(100)));
      case 5: return Value::Text(std::to_string(Pick(10)));
      default: {
        std::string digits = std::to_string(Pick(1000000));
        return Value::Text(digits.substr(0, 2 + Pick(5)));
      }
    }
  }

  // Days from a random start, with gaps, now and then one out of order; true when none is.
  bool Fill(MemorySheet& results, int32_t days, DateSerial firstDay) {
    DateSerial day = firstDay;
    bool ordered = true;
    for (int32_t r = 0; r < days; ++r) {
      const int32_t row = terms::kFirstResultRow + r;
      const bool back = Pick(30) == 0;
      ordered = ordered && !back;
      day += back ? -2 : 1 + Pick(3);
      results.Set(row, 1, DateCell(day));
      const int weekday = WeekdayOf(day);
      for (int b = 1; b <= terms::kBlocks; ++b) {
        if (b < terms::kBlocks && !terms::StationTelexName(weekday, b)) continue;
        const int32_t head = terms::kBlockHeadColumns[static_cast<size_t>(b)];
        const int count = b == terms::kBlocks ? terms::kNorthPrizes : terms::kPrizesPerStation;
        // Now and then a whole block without results: no draw day for its region.
        const bool drawn = Pick(10) != 0;
        for (int k = 1; k <= count; ++k)
          if (drawn) results.Set(row, head + k, PrizeCell());
      }
    }
    return ordered;
  }

  int Pick(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

 private:
  std::mt19937 random_;
};

using CountLoDifferential = testing::StatsTest;

TEST_F(CountLoDifferential, AgreesWithTheWholeBlockCountOnRandomSheets) {
  const char* types[] = {terms::kTwoDigits, terms::kThreeDigits, "4 Con"};
  int compared = 0, errors = 0, empty = 0;
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    RandomSheet random(seed);
    results->Clear(*ParseAddress("A5:FF100"));
    const int32_t days = random.Pick(6) == 0 ? random.Pick(3) : 1 + random.Pick(80);
    const DateSerial firstDay = SerialFromCivil({2021, 1, 1}) + random.Pick(60);
    const bool ordered = random.Fill(*results, days, firstDay);
    // Periods inside, across and outside the data, some with a time of day, some reversed.
    DateSerial start = firstDay + random.Pick(120) - 20 + (random.Pick(4) == 0 ? 0.5 : 0);
    DateSerial end = start + random.Pick(200) - 5 + (random.Pick(4) == 0 ? 0.25 : 0);
    if (random.Pick(10) == 0) start = 0;
    const terms::Region& region = terms::kRegions[static_cast<size_t>(random.Pick(3))];
    const std::string regionName = TelexToUnicode(region.telexName);
    const int weekdayChoice = random.Pick(9);
    control->Set(5, 2,
                 weekdayChoice < 7
                     ? Value::Text(TelexToUnicode(terms::kWeekdayTelexNames[static_cast<size_t>(weekdayChoice)]))
                     : Value::Text(weekdayChoice == 7 ? TelexToUnicode(terms::kEveryDayTelex) : "any day"));
    const std::string type = types[random.Pick(3)];
    const auto run = [](auto&& count) {
      Outcome outcome;
      try {
        outcome.result = count();
      } catch (const Error& e) {
        outcome.errorHresult = e.hresult();
        outcome.error = e.what();
      }
      return outcome;
    };
    book->ResetCalls();
    const Outcome fast = run([&] {
      LoCountResult r;
      CountLo(session, r.counts, start, end, regionName, r.dayCount, type);
      return r;
    });
    const int reads = book->calls("Value.get");
    std::vector<DrawDay> drawDays;
    const Outcome walked = run([&] {
      drawDays = ReadDrawDays(session, start, end, regionName, type);
      return CountLoOfDays(drawDays);
    });
    const Outcome whole = run([&] {
      const int32_t last = results->LastRowAtOrAbove(1000000, 1);
      const Block block = last >= terms::kFirstResultRow
                              ? results->Read({{terms::kFirstResultRow, 1}, {last, terms::kResultColumns}})
                              : Block();
      const BlockMarks marks = MarkBlockColumns(settings->GetRange(terms::kRegionTable)->GetValue());
      return testing::CountLoInWholeBlock(block, marks, WeekdayCode(std::string(control->Get(5, 2).text())),
                                          RegionProfile(regionName), DigitCount(type), start, end);
    });

    const std::string label = "seed " + std::to_string(seed) + ", " + regionName + ", " + type;
    ASSERT_EQ(fast.result.has_value(), whole.result.has_value()) << label << ": " << fast.error << whole.error;
    ASSERT_EQ(walked.error, fast.error) << label;
    if (!fast.result) {
      EXPECT_EQ(fast.errorHresult, whole.errorHresult) << label;
      // The same error, now naming the cell of the date it could not read.
      EXPECT_TRUE(fast.error == whole.error ||
                  (fast.error.rfind("the results sheet's A", 0) == 0 && fast.error.ends_with(": " + whole.error)))
          << label << ": " << fast.error << " / " << whole.error;
      ++errors;
      continue;
    }
    EXPECT_EQ(fast.result->dayCount, whole.result->dayCount) << label;
    EXPECT_TRUE(SameCounts(fast.result->counts, whole.result->counts)) << label;
    EXPECT_EQ(walked.result->dayCount, whole.result->dayCount) << label;
    EXPECT_TRUE(SameCounts(walked.result->counts, whole.result->counts)) << label;
    for (size_t i = 0; i < drawDays.size(); ++i) {
      EXPECT_GE(drawDays[i].date, start) << label;
      if (weekdayChoice < 7) {
        EXPECT_EQ(WeekdayOf(drawDays[i].date), weekdayChoice + 1) << label;
      }
      if (ordered && i > 0) {
        EXPECT_LT(drawDays[i - 1].date, drawDays[i].date) << label << ": oldest first";
      }
    }
    // The dates, the region table, the weekday cell, and the period's cells when there are any.
    EXPECT_LE(reads, 4) << label;
    empty += fast.result->dayCount == 0;
    ++compared;
  }
  // The random sheets reach every outcome.
  EXPECT_GT(compared, 300);
  EXPECT_GT(errors, 5);
  EXPECT_GT(empty, 20);
  EXPECT_GT(compared - empty, 150) << "cases that counted some draw days";
}

}  // namespace
}  // namespace pradima
