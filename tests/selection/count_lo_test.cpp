#include "selection/count_lo.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/stats_fixture.h"

namespace pradima {
namespace {

using testing::StatsTest;

class CountLoTest : public StatsTest {
 protected:
  LoCountResult Count(DateSerial start, DateSerial end, const char* regionTelex, const std::string& type = "2 Con") {
    LoCountResult result;
    result.dayCount = -1;
    CountLo(session, result.counts, start, end, TelexToUnicode(regionTelex), result.dayCount, type);
    return result;
  }
  static DateSerial D(int y, int m, int d, double time = 0) { return SerialFromCivil({y, m, d}) + time; }
};

TEST_F(CountLoTest, PeriodBoundsAreInclusiveAndCompareTimeOfDay) {
  for (int d = 1; d <= 10; ++d) PutDay({2021, 3, d}, {{3, Value::Text("10")}});
  PutDay({2021, 3, 20}, {{3, Value::Text("10")}});
  struct Case {
    DateSerial start, end;
    int32_t days;
  };
  const Case cases[] = {
      {D(2021, 3, 2), D(2021, 3, 4), 3},
      {D(2021, 3, 2, 0.25), D(2021, 3, 4), 2},
      {D(2021, 3, 2), D(2021, 3, 4, 0.75), 3},
      {D(2021, 3, 11), D(2021, 3, 19), 0},
      {D(2021, 3, 21), D(2021, 4, 30), 0},
      {D(2021, 3, 5), D(2021, 3, 4), 0},
      {D(2000, 1, 1), D(2030, 1, 1), 11},
      {D(2021, 3, 10), D(2021, 3, 20), 2},
      {0, 0, 0},
  };
  for (const Case& c : cases) {
    const LoCountResult r = Count(c.start, c.end, "Mieefn Bawsc");
    EXPECT_EQ(r.dayCount, c.days) << c.start << " to " << c.end;
    EXPECT_EQ(r.counts.days(10), c.days ? std::optional<int32_t>(c.days) : std::nullopt);
  }
}

TEST_F(CountLoTest, CutsNumbersToTheirLastDigitsAndCountsDaysAndAppearances) {
  // 7 March 2021, a Sunday: the North in C to AC.
  PutDay({2021, 3, 7}, {{3, Value::Text("12345")},
                        {4, Value::Text("00045")},
                        {5, Value::Text("45")},
                        {6, Value::Text("07")},
                        {7, Value::Number(7593)},
                        {8, Value::Text("abc")},
                        {9, Value::Text("")}});
  PutDay({2021, 3, 8}, {{3, Value::Text("99945")}});
  const LoCountResult two = Count(D(2021, 3, 7), D(2021, 3, 8), "Mieefn Bawsc", "2 Con");
  EXPECT_EQ(two.dayCount, 2);
  EXPECT_EQ(two.counts.days(45), 2);
  EXPECT_EQ(two.counts.appearances(45), 4) << "three times on the 7th, once on the 8th";
  EXPECT_EQ(two.counts.days(7), 1);
  EXPECT_EQ(two.counts.days(93), 1) << "a number cell counts by its digits";
  // 27 numbers per North day: "abc", "" and 20 empty cells count as 0
  EXPECT_EQ(two.counts.appearances(0), 22 + 26);
  EXPECT_FALSE(two.counts.days(12).has_value()) << "never seen is not 0";

  const LoCountResult three = Count(D(2021, 3, 7), D(2021, 3, 7), "Mieefn Bawsc", "3 Con");
  EXPECT_EQ(three.counts.appearances(345), 1);
  EXPECT_EQ(three.counts.appearances(45), 2) << "00045 and 45";
  EXPECT_EQ(three.counts.appearances(7), 1) << "07 as 7";
  EXPECT_EQ(three.counts.appearances(593), 1);

  const LoCountResult none = Count(D(2021, 3, 7), D(2021, 3, 7), "Mieefn Bawsc", "4 Con");
  EXPECT_EQ(none.counts.appearances(0), 27) << "an unknown number type reads every cell as 0";
}

TEST_F(CountLoTest, RegionBlocksStopAtTheFirstUnmarkedBlock) {
  // Monday 8 March 2021: Central draws in blocks 1 and 2 (head columns 30, 49).
  std::map<int32_t, Value> cells;
  for (int k = 1; k <= 18; ++k) {
    cells[30 + k] = Value::Text("11");
    cells[49 + k] = Value::Text("22");
    cells[68 + k] = Value::Text("33");  // block 3: not drawn on Mondays
  }
  PutDay({2021, 3, 8}, cells);
  LoCountResult central = Count(D(2021, 3, 8), D(2021, 3, 8), "Mieefn Trung");
  EXPECT_EQ(central.dayCount, 1);
  EXPECT_EQ(central.counts.appearances(11), 18);
  EXPECT_EQ(central.counts.appearances(22), 18);
  EXPECT_FALSE(central.counts.days(33));

  // blocks 1 and 3 marked but not 2: only block 1 is read
  settings->Set(12, 2, Value());
  settings->Set(12, 3, Value::Number(1));
  central = Count(D(2021, 3, 8), D(2021, 3, 8), "Mieefn Trung");
  EXPECT_EQ(central.counts.appearances(11), 18);
  EXPECT_FALSE(central.counts.days(22));
  EXPECT_FALSE(central.counts.days(33));

  // only the number 1 marks: "1" as text leaves block 1 unmarked, so Monday is no Central draw day
  settings->Set(12, 1, Value::Text("1"));
  central = Count(D(2021, 3, 8), D(2021, 3, 8), "Mieefn Trung");
  EXPECT_EQ(central.dayCount, 0);
  EXPECT_FALSE(central.counts.days(11));
}

TEST_F(CountLoTest, EmptyTestCellIsNoDrawDayAndFourSouthStationsAreOneDay) {
  std::map<int32_t, Value> saturday;  // 6 March 2021: four South stations
  for (int b = 0; b < 4; ++b)
    for (int k = 1; k <= 18; ++k) saturday[87 + 19 * b + k] = Value::Text(std::to_string(100 + b));
  PutDay({2021, 3, 6}, saturday);
  PutDay({2021, 3, 7}, {{89, Value::Text("55")}});  // Sunday: first South number cell (88) empty
  const LoCountResult south = Count(D(2021, 3, 6), D(2021, 3, 7), "Mieefn Nam", "3 Con");
  EXPECT_EQ(south.dayCount, 1);
  for (int b = 0; b < 4; ++b) EXPECT_EQ(south.counts.appearances(100 + b), 18) << b;
  EXPECT_FALSE(south.counts.days(55));
}

TEST_F(CountLoTest, WeekdayCellSelectsItsDaysOnlyAndOtherTextEveryDay) {
  for (int d = 1; d <= 14; ++d) PutDay({2021, 3, d}, {{3, Value::Text("42")}});
  struct Case {
    Value weekday;
    int32_t days;
  };
  const Case cases[] = {{Value::Text(TelexToUnicode("Thuws Ba")), 2},     // Tuesdays 2 and 9
                        {Value::Text(TelexToUnicode("Chur Nhaajt")), 2},  // Sundays 7 and 14
                        {Value::Text(TelexToUnicode("thuws ba")), 14},    // case differs: every day
                        {Value::Text("Thu Ba"), 14},
                        {Value(), 14}};
  for (const Case& c : cases) {
    control->Set(5, 2, c.weekday);
    EXPECT_EQ(Count(D(2021, 3, 1), D(2021, 3, 14), "Mieefn Bawsc").dayCount, c.days) << c.weekday;
  }
}

TEST_F(CountLoTest, ADateItCannotReadIsNamedByItsCell) {
  for (int d = 1; d <= 3; ++d) PutDay({2021, 3, d}, {{3, Value::Text("42")}});
  results->Set(5, 1, Value::Text("not a date"));
  try {
    Count(D(2021, 3, 1), D(2021, 3, 3), "Mieefn Bawsc");
    FAIL() << "an unreadable date in the period";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 13);
    EXPECT_EQ(std::string(e.what()).rfind("the results sheet's A5: ", 0), 0u) << e.what();
  }
  EXPECT_EQ(Count(D(2021, 3, 3), D(2021, 3, 3), "Mieefn Bawsc").dayCount, 1) << "a period below it never reads it";
}

TEST_F(CountLoTest, ReadsEachInputOnceAndCountsNothingWithoutDataRows) {
  EXPECT_EQ(Count(D(2000, 1, 1), D(2030, 1, 1), "Mieefn Bawsc").dayCount, 0);
  for (int d = 1; d <= 3; ++d) PutDay({2021, 3, d}, {{3, Value::Text("42")}});
  book->ResetCalls();
  Count(D(2021, 3, 2), D(2021, 3, 3), "Mieefn Nam");
  EXPECT_EQ(book->calls("Value.get"), 4) << "dates, the period's cells, region table, weekday cell";
  // Column A of the three days, then two days of the South's 76 columns (CI:FF).
  EXPECT_EQ(book->cellsRead(), 3 + 2 * 76 + 7 * 8 + 1);
  EXPECT_EQ(book->calls("Value.set"), 0);
  try {
    Count(D(2021, 3, 1), D(2021, 3, 3), "Mieefn bawsc");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 5);
    EXPECT_NE(std::string(e.what()).find("\"Miền bắc\""), std::string::npos) << e.what();
  }
}

TEST(RegionAndWeekday, ProfilesAndCodes) {
  EXPECT_EQ(RegionProfile("Miền Bắc").first, 8);
  EXPECT_EQ(RegionProfile("Miền Bắc").numbersPerBlock, 27);
  EXPECT_EQ(RegionProfile("Miền Trung").last, 3);
  EXPECT_EQ(RegionProfile("Miền Nam").first, 4);
  EXPECT_FALSE(RegionProfile("Mien Nam").known());
  EXPECT_EQ(WeekdayCode("Chủ Nhật"), 1);
  EXPECT_EQ(WeekdayCode("Thứ Bảy"), 7);
  EXPECT_EQ(WeekdayCode("Thứ  Bảy"), 8);
  EXPECT_EQ(WeekdayCode(""), 8);
}

}  // namespace
}  // namespace pradima
