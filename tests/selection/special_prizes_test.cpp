#include "selection/special_prizes.h"

#include <gtest/gtest.h>

#include "selection/de_tables.h"
#include "text/telex.h"

namespace pradima {
namespace {

DateSerial Day(int month, int day, int year = 2026) { return SerialFromCivil({year, month, day}); }

// A draw day of blocks {station, special} from `block` on; a blank special did not draw.
DrawDay Drawn(DateSerial date, int block, std::vector<std::pair<std::string, std::string>> blocks) {
  DrawDay day{date, {}, {}};
  for (auto& [station, special] : blocks) day.blocks.push_back({block++, station, special, !special.empty(), 0, 0});
  return day;
}

// A North day, a Central day of three stations (one without a special), a South day with a cell that is no number.
const std::vector<DrawDay> kDays = {Drawn(Day(1, 30), 8, {{"", "34584"}}),
                                    Drawn(Day(2, 1), 1, {{"Khánh Hòa", "870707"}, {"Kon Tum", ""}, {"Huế", "012345"}}),
                                    Drawn(Day(2, 2), 4, {{"TP. HCM", "1x3412"}, {"Cà Mau", "900012"}}),
                                    Drawn(Day(2, 17), 8, {{"", "10099"}})};

TEST(SpecialPrizes, OneEntryPerStationThatDrewInDayAndBlockOrder) {
  std::vector<std::string> shown;
  for (const SpecialPrize& p : SpecialPrizesOf(kDays))
    shown.push_back(IsoDate(CivilFromSerial(p.date)) + "," + p.station + "," + p.special + "," + std::to_string(p.de) +
                    "," + std::to_string(p.head()) + std::to_string(p.tail()) + std::to_string(p.sum()));
  EXPECT_EQ(shown, (std::vector<std::string>{"2026-01-30,,34584,84,842", "2026-02-01,Khánh Hòa,870707,7,077",
                                             "2026-02-01,Huế,012345,45,459", "2026-02-02,Cà Mau,900012,12,123",
                                             "2026-02-17,,10099,99,998"}));
  const DeDigitCounts counts = CountDeDigits(SpecialPrizesOf(kDays));
  EXPECT_EQ(counts.heads, (std::array<int64_t, 10>{1, 1, 0, 0, 1, 0, 0, 0, 1, 1}));
  EXPECT_EQ(counts.tails, (std::array<int64_t, 10>{0, 0, 1, 0, 1, 1, 0, 1, 0, 1}));
  EXPECT_EQ(counts.sums, (std::array<int64_t, 10>{0, 0, 1, 1, 0, 0, 0, 1, 1, 1}));
}

TEST(SpecialPrizes, ASpecialOfAnythingButDigitsHasNoDe) {
  const struct {
    const char* special;
    bool drew;
    int32_t de;  // -1: no entry
  } cases[] = {{"05", true, 5},     {"7", true, 7},       {"", false, -1},
               {"12 45", true, -1}, {"4.5E+4", true, -1}, {"98765", false, -1}};
  for (const auto& c : cases) {
    const std::vector<SpecialPrize> prizes = SpecialPrizesOf({{Day(3, 1), {}, {{8, "", c.special, c.drew, 0, 0}}}});
    EXPECT_EQ(prizes.empty() ? -1 : prizes[0].de, c.de) << c.special;
  }
}

// The headings converted, then each row: a date as YYYY-MM-DD, a number as a whole number, a text as it is.
std::vector<std::vector<std::string>> Shown(const DeTable& table) {
  std::vector<std::vector<std::string>> grid(1);
  for (const std::string& heading : table.headings) grid[0].push_back(TelexToUnicode(heading));
  for (const auto& row : table.rows) {
    std::vector<std::string>& line = grid.emplace_back();
    for (const Value& cell : row)
      line.push_back(cell.kind() == CellKind::Date ? IsoDate(CivilFromSerial(cell.date()))
                     : cell.IsNumber()             ? std::to_string(static_cast<int>(cell.number()))
                                                   : std::string(cell.text()));
  }
  return grid;
}

TEST(DeTables, WeeksRunMondayToSundayAcrossMonthsAndKeepAWeekWithoutDraws) {
  const DeTable table = DeByWeek(SpecialPrizesOf(kDays));
  EXPECT_EQ(Shown(table), (std::vector<std::vector<std::string>>{
                              {"Tuần", "Thứ Hai", "Thứ Ba", "Thứ Tư", "Thứ Năm", "Thứ Sáu", "Thứ Bảy", "Chủ Nhật"},
                              {"2026-01-26", "", "", "", "", "84", "", "07 45"},
                              {"2026-02-02", "12", "", "", "", "", "", ""},
                              {"2026-02-09", "", "", "", "", "", "", ""},
                              {"2026-02-16", "", "99", "", "", "", "", ""}}));
  EXPECT_TRUE(table.rows[1][2].IsEmpty());
  EXPECT_TRUE(DeByWeek({}).rows.empty());
}

TEST(DeTables, AYearHasThirtyOneDaysDownAndTwelveMonthsAcross) {
  std::vector<DrawDay> days = kDays;
  days.push_back(Drawn(Day(12, 31, 2028), 8, {{"", "55533"}}));
  std::vector<std::string> filled;  // "year day month: đề" of every cell that holds any
  for (const DeTable& table : DeByYear(SpecialPrizesOf(days))) {
    const std::vector<std::vector<std::string>> grid = Shown(table);
    ASSERT_EQ(grid.size(), 32u);
    EXPECT_EQ(grid[0], (std::vector<std::string>{"Ngày", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10",
                                                 "T11", "T12"}));
    for (size_t d = 1; d <= 31; ++d)
      for (size_t m = 1; m < grid[d].size(); ++m)
        if (!grid[d][m].empty())
          filled.push_back(grid[d][0] + " " + grid[0][m] + " " + std::to_string(table.year) + ": " + grid[d][m]);
  }
  EXPECT_EQ(filled, (std::vector<std::string>{"1 T2 2026: 07 45", "2 T2 2026: 12", "17 T2 2026: 99", "30 T1 2026: 84",
                                              "31 T12 2028: 33"}));
  EXPECT_EQ(DeByYear(SpecialPrizesOf(days))[1].year, 2027);
  EXPECT_TRUE(DeByYear({}).empty());
}

}  // namespace
}  // namespace pradima
