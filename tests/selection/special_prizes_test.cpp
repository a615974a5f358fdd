#include "selection/special_prizes.h"

#include <gtest/gtest.h>

#include "selection/de_tables.h"
#include "text/telex.h"

namespace pradima {
namespace {

DateSerial Day(int year, int month, int day) { return SerialFromCivil({year, month, day}); }

// A draw day of blocks given as {station, special}; a blank special did not draw.
DrawDay Drawn(DateSerial date, std::vector<std::pair<std::string, std::string>> blocks, int firstBlock) {
  DrawDay day{date, {}, {}};
  for (auto& [station, special] : blocks)
    day.blocks.push_back({firstBlock++, station, special, !special.empty(), 0, 0});
  return day;
}

// A North day, a Central day of three stations (one without a special), a South day with a cell that is no number.
std::vector<DrawDay> HandMadeDays() {
  return {Drawn(Day(2026, 1, 30), {{"", "34584"}}, 8),
          Drawn(Day(2026, 2, 1), {{"Khánh Hòa", "870707"}, {"Kon Tum", ""}, {"Huế", "012345"}}, 1),
          Drawn(Day(2026, 2, 2), {{"TP. HCM", "1x3412"}, {"Cà Mau", "900012"}}, 4),
          Drawn(Day(2026, 2, 17), {{"", "10099"}}, 8)};
}

TEST(SpecialPrizes, OneEntryPerStationThatDrewInDayAndBlockOrder) {
  struct Row {
    DateSerial date;
    const char *station, *special;
    int32_t de, head, tail, sum;
  };
  const Row expected[] = {
      {Day(2026, 1, 30), "", "34584", 84, 8, 4, 2},       {Day(2026, 2, 1), "Khánh Hòa", "870707", 7, 0, 7, 7},
      {Day(2026, 2, 1), "Huế", "012345", 45, 4, 5, 9},    {Day(2026, 2, 2), "Cà Mau", "900012", 12, 1, 2, 3},
      {Day(2026, 2, 17), "", "10099", 99, 9, 9, 8},
  };
  const std::vector<SpecialPrize> prizes = SpecialPrizesOf(HandMadeDays());
  ASSERT_EQ(prizes.size(), std::size(expected));
  for (size_t i = 0; i < prizes.size(); ++i) {
    const Row& e = expected[i];
    const SpecialPrize& p = prizes[i];
    EXPECT_EQ(p.date, e.date) << i;
    EXPECT_EQ(p.station, e.station) << i;
    EXPECT_EQ(p.special, e.special) << i;
    EXPECT_EQ((std::array{p.de, p.head(), p.tail(), p.sum()}), (std::array{e.de, e.head, e.tail, e.sum})) << i;
  }
  const DeDigitCounts counts = CountDeDigits(prizes);
  EXPECT_EQ(counts.heads, (std::array<int64_t, 10>{1, 1, 0, 0, 1, 0, 0, 0, 1, 1}));
  EXPECT_EQ(counts.tails, (std::array<int64_t, 10>{0, 0, 1, 0, 1, 1, 0, 1, 0, 1}));
  EXPECT_EQ(counts.sums, (std::array<int64_t, 10>{0, 0, 1, 1, 0, 0, 0, 1, 1, 1}));
}

TEST(SpecialPrizes, ASpecialOfAnythingButDigitsHasNoDe) {
  const struct {
    const char* special;
    bool drew;
    int32_t de;  // -1: no entry
  } cases[] = {{"05", true, 5}, {"7", true, 7}, {"", false, -1}, {"12 45", true, -1}, {"4.5E+4", true, -1},
               {"98765", false, -1}};
  for (const auto& c : cases) {
    DrawDay day{Day(2026, 3, 1), {}, {{8, "", c.special, c.drew, 0, 0}}};
    const std::vector<SpecialPrize> prizes = SpecialPrizesOf({day});
    EXPECT_EQ(prizes.empty() ? -1 : prizes[0].de, c.de) << c.special;
  }
}

// A cell as the test reads it: a date as YYYY-MM-DD, a number as a whole number, a text as it is.
std::string Shown(const Value& cell) {
  if (cell.kind() == CellKind::Date) return IsoDate(CivilFromSerial(cell.date()));
  if (cell.IsNumber()) return std::to_string(static_cast<int>(cell.number()));
  return std::string(cell.text());
}

std::vector<std::vector<std::string>> Shown(const DeTable& table) {
  std::vector<std::vector<std::string>> grid(1);
  for (const std::string& heading : table.headings) grid[0].push_back(TelexToUnicode(heading));
  for (const auto& row : table.rows) {
    std::vector<std::string>& line = grid.emplace_back();
    for (const Value& cell : row) line.push_back(Shown(cell));
  }
  return grid;
}

TEST(DeTables, WeeksRunMondayToSundayAcrossMonthsAndKeepAWeekWithoutDraws) {
  const DeTable table = DeByWeek(SpecialPrizesOf(HandMadeDays()));
  const std::vector<std::vector<std::string>> expected = {
      {"Tuần", "Thứ Hai", "Thứ Ba", "Thứ Tư", "Thứ Năm", "Thứ Sáu", "Thứ Bảy", "Chủ Nhật"},
      {"2026-01-26", "", "", "", "", "84", "", "07 45"},
      {"2026-02-02", "12", "", "", "", "", "", ""},
      {"2026-02-09", "", "", "", "", "", "", ""},
      {"2026-02-16", "", "99", "", "", "", "", ""},
  };
  EXPECT_EQ(Shown(table), expected);
  EXPECT_EQ(table.rows[0][0], Value::Date(Day(2026, 1, 26)));
  EXPECT_EQ(table.rows[0][7], Value::Text("07 45"));
  EXPECT_TRUE(table.rows[1][2].IsEmpty());
  EXPECT_TRUE(DeByWeek({}).rows.empty());
}

TEST(DeTables, AYearHasThirtyOneDaysDownAndTwelveMonthsAcross) {
  std::vector<DrawDay> days = HandMadeDays();
  days.push_back(Drawn(Day(2028, 12, 31), {{"", "55533"}}, 8));
  const std::vector<DeTable> tables = DeByYear(SpecialPrizesOf(days));
  ASSERT_EQ(tables.size(), 3u);
  const struct {
    size_t table;
    int day, month;
    const char* cell;
  } cells[] = {{0, 30, 1, "84"}, {0, 1, 2, "07 45"}, {0, 2, 2, "12"}, {0, 17, 2, "99"}, {2, 31, 12, "33"}};
  size_t filled = 0;
  for (size_t t = 0; t < tables.size(); ++t) {
    const std::vector<std::vector<std::string>> grid = Shown(tables[t]);
    EXPECT_EQ(tables[t].year, 2026 + static_cast<int32_t>(t));
    ASSERT_EQ(grid.size(), 32u);
    EXPECT_EQ(grid[0], (std::vector<std::string>{"Ngày", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8", "T9", "T10",
                                                 "T11", "T12"}));
    for (int d = 1; d <= 31; ++d) {
      ASSERT_EQ(grid[static_cast<size_t>(d)].size(), 13u);
      EXPECT_EQ(grid[static_cast<size_t>(d)][0], std::to_string(d));
      for (size_t m = 1; m <= 12; ++m) filled += grid[static_cast<size_t>(d)][m].empty() ? 0 : 1;
    }
  }
  EXPECT_EQ(filled, std::size(cells));
  for (const auto& c : cells)
    EXPECT_EQ(Shown(tables[c.table])[static_cast<size_t>(c.day)][static_cast<size_t>(c.month)], c.cell)
        << c.day << "/" << c.month;
  EXPECT_TRUE(DeByYear({}).empty());
}

}  // namespace
}  // namespace pradima
