// Edge cases of the count that the differential test on random sheets does not
// reach: the region table's marks, what is read, and the names the count and
// its oracle share.
#include "selection/count_lo.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/stats_fixture.h"
#include "terms/lottery.h"

namespace pradima {
namespace {

using testing::ExpectError;
using testing::StatsTest;

class CountLoTest : public StatsTest {
 protected:
  LoCountResult Count(DateSerial start, DateSerial end, const char* regionTelex, const std::string& type = "2 Con",
                      terms::Prizes prizes = terms::Prizes::All) {
    LoCountResult result;
    result.dayCount = -1;
    CountLo(session, result.counts, start, end, TelexToUnicode(regionTelex), result.dayCount, type, prizes);
    return result;
  }
  static DateSerial D(int y, int m, int d) { return SerialFromCivil({y, m, d}); }
};

// Monday 8 March 2021 with Central blocks 1 and 3 marked but not block 2: only block 1 is read.
TEST_F(CountLoTest, RegionBlocksStopAtTheFirstUnmarkedBlock) {
  std::map<int32_t, Value> cells;
  for (int k = 1; k <= 18; ++k) {
    cells[30 + k] = Value::Text("11");
    cells[49 + k] = Value::Text("22");
    cells[68 + k] = Value::Text("33");
  }
  PutDay({2021, 3, 8}, cells);
  settings->Set(12, 2, Value());
  settings->Set(12, 3, Value::Number(1));
  const LoCountResult central = Count(D(2021, 3, 8), D(2021, 3, 8), "Mieefn Trung");
  EXPECT_EQ(central.dayCount, 1);
  EXPECT_EQ(central.counts.appearances(11), 18);
  EXPECT_FALSE(central.counts.days(22));
  EXPECT_FALSE(central.counts.days(33));
}

// The two-digit prizes are the last cells of a block (the North's 7th prize
// Z:AC, a station's 8th prize): with the three-digit prizes only, they are
// left out however the cell holds them.
TEST_F(CountLoTest, ThreeDigitPrizesLeaveOutThePlacesOfTheTwoDigitPrizes) {
  // The head column of the region's first block and its prizes of three digits or more.
  const std::tuple<const char*, int32_t, int32_t> cases[] = {
      {"Mieefn Bawsc", 2, 23}, {"Mieefn Trung", 30, 17}, {"Mieefn Nam", 87, 17}};
  for (const auto& [regionTelex, head, threeDigitPrizes] : cases) {
    results->Clear(*ParseAddress("A5:FF10"));
    PutDay({2021, 3, 8}, {{head + 1, Value::Text("12345")},
                          {head + threeDigitPrizes, Value::Text("045")},
                          {head + threeDigitPrizes + 1, Value::Number(45)}});
    const DateSerial monday = D(2021, 3, 8);
    EXPECT_EQ(Count(monday, monday, regionTelex, "3 Con").counts.appearances(45), 2) << regionTelex;
    const LoCountResult three = Count(monday, monday, regionTelex, "3 Con", terms::Prizes::ThreeDigitsOrMore);
    EXPECT_EQ(three.dayCount, 1) << regionTelex;
    EXPECT_EQ(three.counts.appearances(45), 1) << regionTelex << ": 045 counts, the 45 of a two-digit prize not";
  }
}

// A date the count cannot read, or a blank one, is named by its cell; a period below it never reads it.
TEST_F(CountLoTest, ReadsEachInputOnceAndNamesADateItCannotRead) {
  EXPECT_EQ(Count(D(2000, 1, 1), D(2030, 1, 1), "Mieefn Bawsc").dayCount, 0) << "no data rows";
  for (int d = 1; d <= 3; ++d) PutDay({2021, 3, d}, {{3, Value::Text("42")}});
  results->Set(5, 1, Value::Text("not a date"));
  book->ResetCalls();
  Count(D(2021, 3, 3), D(2021, 3, 3), "Mieefn Trung");
  EXPECT_EQ(book->calls("Value.get"), 4) << "dates, the period's cells, region table, weekday cell";
  // Column A of the three days, then one day of the Central's 57 columns (AD:CH).
  EXPECT_EQ(book->cellsRead(), 3 + 57 + 7 * 8 + 1);
  EXPECT_EQ(book->calls("Value.set"), 0);
  // A blank date inside the results would end the period there unseen.
  for (const Value& date : {Value::Text("not a date"), Value(), Value::Text("")}) {
    results->Set(5, 1, date);
    ExpectError([&] { Count(D(2021, 3, 1), D(2021, 3, 3), "Mieefn Bawsc"); }, 13, "the results sheet's A5: ", true);
  }
  ExpectError([&] { Count(D(2021, 3, 1), D(2021, 3, 3), "Mieefn bawsc"); }, 5, "\"Miền bắc\"");
}

// A region table smaller than 7 weekdays by 8 blocks is refused, naming its size; a mark is the number 1 only.
TEST(RegionTable, MarksTheHeadColumnsOfMarkedBlocksAndRefusesATableTooSmall) {
  for (const auto& size : {std::pair{6, 8}, std::pair{7, 7}})
    ExpectError([&] { MarkBlockColumns(Block(size.first, size.second)); }, 9,
                "has " + std::to_string(size.first) + " rows by " + std::to_string(size.second));
  Block table(7, 8);
  table(2, 8) = Value::Number(1);
  table(2, 4) = Value::Text("1");
  table(3, 1) = Value::Number(2);
  const BlockMarks marks = MarkBlockColumns(table);
  EXPECT_EQ(marks[2][8], terms::kBlockHeadColumns[8]);
  EXPECT_EQ(marks[2][4], 0);
  EXPECT_EQ(marks[3][1], 0);
}

TEST(RegionAndWeekday, ProfilesAndCodes) {
  EXPECT_EQ(RegionProfile("Miền Bắc").first, 8);
  EXPECT_EQ(RegionProfile("Miền Bắc").numbersPerBlock, 27);
  EXPECT_EQ(RegionProfile("Miền Trung").last, 3);
  EXPECT_EQ(RegionProfile("Miền Nam").first, 4);
  EXPECT_FALSE(RegionProfile("Mien Nam").known());
  EXPECT_EQ(WeekdayCode("Chủ Nhật"), 1);
  EXPECT_EQ(WeekdayCode("Thứ Bảy"), 7);
  for (const char* everyDay : {"Thứ  Bảy", "thứ ba", "Thu Ba", "Tất cả", ""}) EXPECT_EQ(WeekdayCode(everyDay), 8);
  EXPECT_EQ(DigitCount("2 Con"), 2);
  EXPECT_EQ(DigitCount("3 Con"), 3);
  EXPECT_EQ(DigitCount("3 con"), 0);
}

}  // namespace
}  // namespace pradima
