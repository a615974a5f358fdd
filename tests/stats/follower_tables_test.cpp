#include "stats/follower_tables.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/stats_fixture.h"
#include "terms/lottery.h"

namespace pradima {
namespace {

using testing::StatsTest;
using testing::Texts;

Value Day(int d) { return Value::Date(SerialFromCivil({2021, 3, d})); }
Value Text(const char* telex) { return Value::Text(TelexToUnicode(telex)); }

// Five North days; 00 comes every day (the blank cells), 07 on the 1st and
// 3rd, 15 on the 1st, 2nd and 5th, every other number never.
class FollowerTablesTest : public StatsTest {
 protected:
  void SetUp() override {
    StatsTest::SetUp();
    tables = book->SheetByCodeName("Sheet4");
    const std::vector<std::vector<const char*>> drawn = {{"07", "15"}, {"15"}, {"07"}, {}, {"15"}};
    for (int d = 1; d <= 5; ++d) {
      std::map<int32_t, Value> cells{{3, Value::Text("12300")}};
      int32_t column = 4;
      for (const char* lo : drawn[static_cast<size_t>(d - 1)]) cells[column++] = Value::Text(lo);
      PutDay({2021, 3, d}, cells);
    }
    Request({2021, 3, 1}, {2021, 3, 5}, "Mieefn Bawsc", "Full", "Taast car", "2 Con");
    book->ResetCalls();
  }
  static LocalDateTime Now() { return {{2021, 3, 31}, 12, 0, 0}; }
  void Gan(const TableTarget& target, int32_t rows) { WriteLoGanTable(session, target, rows, Now); }
  // Every cell of every sheet, to tell that a failed call wrote nothing.
  std::vector<MemorySheet::Rows> Cells() const {
    std::vector<MemorySheet::Rows> cells;
    for (const auto& sheet : book->sheets()) cells.push_back(sheet->rows());
    return cells;
  }
  std::vector<Value> Row(MemorySheet& sheet, int32_t row, int32_t fromColumn, int32_t columns) {
    std::vector<Value> values;
    for (int32_t c = fromColumn; c < fromColumn + columns; ++c) values.push_back(sheet.Get(row, c));
    return values;
  }

  std::shared_ptr<MemorySheet> tables;
};

// SoDong cuts the table; 3 Con shows three-digit numbers, as many as SoDong asks.
TEST_F(FollowerTablesTest, LoGanShowsSoDongRowsOfTheNumberTypeInB6) {
  for (const auto& [type, rows, written, first] : {std::tuple{"2 Con", 1, 1, "01"}, {"3 Con", 1000, 1000, "001"}}) {
    control->Set(6, 2, Value::Text(type));
    Gan({"Sheet3", 8, 9}, rows);
    EXPECT_FALSE(tables->modified());
    EXPECT_EQ(control->Get(10, 9), Value::Text(first)) << type;
    EXPECT_FALSE(control->Get(9 + written, 9).IsEmpty()) << type;
    EXPECT_TRUE(control->Get(10 + written, 9).IsEmpty()) << type;
  }
}

// Places on the engine's own cells or off the sheet, a bad request, arguments out of range: refused
// naming them, nothing written, screen updating back on; an argument is refused before the host or its
// screen updating is touched. The bad request cells come last, the region before the number type it
// would hide.
TEST_F(FollowerTablesTest, BadPlacesAndArgumentsAreRefusedWithNothingWritten) {
  const TableTarget at{"Sheet4", 2, 1}, request{"Sheet3", 1, 1};
  const TableTarget right{"Sheet4", 1, kMaxColumns - 11}, bottom{"Sheet4", kMaxRows - 100, 1};
  const auto gan = [this](TableTarget target) { return [this, target] { Gan(target, 20); }; };
  const struct {
    std::function<void()> call;
    const char* said;
    bool argument = false;
    int number = 5;
    int32_t requestRow = 0;  // a bad request cell, and what it holds
    const char* request = nullptr;
  } cases[] = {
      {gan({"Sheet1", 5000, 200}), "the results sheet (Sheet1)"},
      {gan({"Sheet2", 1, 40}), "the settings sheet (Sheet2)"},
      {gan({"Sheet3", 1, 1}), "would cover A1:E1002, which touches the request cells B1:B6"},
      {gan({"Sheet3", 6, 2}), "the request cells B1:B6"},
      {gan({"Sheet3", 5000, 2}), "the list columns F:H"},
      {gan({"Sheet3", 1, 8}), "the list columns F:H"},
      {gan({"Sheet4", kMaxRows - 1000, 1}), "needs 1002 rows and 5 columns"},
      {gan({"Sheet4", 1, kMaxColumns - 3}), "needs 1002 rows and 5 columns"},
      {gan({"Sheet4", 0, 1}), "row 0 column 1, is off the sheet"},
      // each table's own area: rơi's 102 by 5, đề's 1013 by 13, xiên's 1002 by 3, bạc nhớ's 102 by 3
      {[&] { WriteLoRoiTable(session, request, Now); }, "would cover A1:E102, which touches"},
      {[&] { WriteDeTable(session, right, "tuan", Now); }, "1013 rows and 13 columns"},
      {[&] { WriteLoXienTable(session, bottom, 2, 20, Now); }, "1002 rows and 3 columns"},
      {[&] { WriteBacNhoTable(session, bottom, "27", 20, Now); }, "102 rows and 3 columns"},
      {gan({"Sheet9", 1, 1}), "no worksheet of the workbook has the code name Sheet9", false, 9},
      {[&] { Gan(at, 0); }, "SoDong must be from 1 to 1000; it is 0", true},
      {[&] { Gan(at, 1001); }, "SoDong must be from 1 to 1000; it is 1001", true},
      {[&] { WriteDeTable(session, at, "thang", Now); },
       "Kieu must be \"tuan\" (by week) or \"nam\" (by year); it is \"thang\"", true},
      {[&] { WriteLoXienTable(session, at, 4, 20, Now); }, "Co must be 2 or 3; it is 4", true},
      {[&] { WriteLoXienTable(session, at, 2, 1001, Now); }, "SoDong must be from 1 to 1000; it is 1001", true},
      {[&] { WriteBacNhoTable(session, at, "7", 20, Now); }, "Sau must list two-digit numbers", true},
      {[&] { WriteBacNhoTable(session, at, "abc", 20, Now); }, "; it is \"abc\"", true},
      {[&] { WriteBacNhoTable(session, at, "27,", 20, Now); }, "Sau must", true},
      {[&] { WriteBacNhoTable(session, at, "", 20, Now); }, "Sau must", true},
      {[&] { WriteBacNhoTable(session, at, "27 72", 20, Now); }, "Sau must", true},
      {[&] { WriteBacNhoTable(session, at, "27", 0, Now); }, "SoDong", true},
      {gan(at), "\"Miền Tây\"", false, 5, 3, "Miền Tây"},
      {gan(at), "\"4 Con\" in B6", false, 5, 6, "4 Con"},
  };
  tables->Set(3, 1, Value::Text("the old table stays"));
  for (const auto& c : cases) {
    if (c.request) control->Set(c.requestRow, 2, Value::Text(c.request));
    book->ResetCalls();
    const auto flips = static_cast<std::ptrdiff_t>(app->screenUpdatingHistory().size());
    const auto before = Cells();
    testing::ExpectError(c.call, c.number, c.said);
    EXPECT_TRUE(Cells() == before) << c.said;
    const std::vector<bool> turned(app->screenUpdatingHistory().begin() + flips, app->screenUpdatingHistory().end());
    EXPECT_EQ(turned, (c.argument ? std::vector<bool>{} : std::vector<bool>{false, true})) << c.said;
    EXPECT_TRUE(!c.argument || book->totalCalls() == 0) << c.said << ": the host was touched before the arguments";
  }
}

// Each table at its place on Sheet4, counted by hand from the five days:
// rows of the table (1: the caption) as expected, its last row the last
// written, the largest table's area cleared and nothing beyond it, one
// clearing and one block write.
TEST_F(FollowerTablesTest, EachTableIsWrittenWithItsHeadingsOverTheClearedAreaOfItsLargest) {
  const Value blank, o = Value::Text("00");
  const auto n = [](double v) { return Value::Number(v); };
  const auto t = [](const char* text) { return Value::Text(text); };
  const TableTarget at{"Sheet4", 2, 3};
  const Value caption = Text(" * Toorng soos ngafy thoosng kee: 5");
  struct Case {
    const char* name;
    std::function<void()> call;
    TableArea area;
    std::vector<std::pair<int32_t, std::vector<Value>>> rows;
    int32_t last;
  };
  const std::vector<Value> xien = Texts({"Bộ số", "Số ngày cùng về", "Lần cuối"}),
                           bacNho = Texts({"Số", "Số ngày về sau", "Tỷ lệ"});
  const Case cases[] = {
      // 97 numbers never drawn, by number; 07 away 2 days, a gap still running; 00 and 15 drawn on the last day.
      {"gan",
       [&] { Gan(at, 1000); },
       kLoGanArea,
       {{2, {t("Số"), t("Về gần nhất"), t("Gan hiện tại"), t("Gan cực đại"), t("Ngày kết thúc")}},
        {3, {t("01"), blank, n(5), blank, blank}},
        {100, {t("07"), Day(3), n(2), n(2), Text("ddang gan")}},
        {102, {t("15"), Day(5), n(0), n(2), Day(5)}}},
       102},
      {"roi",
       [&] { WriteLoRoiTable(session, at, Now); },
       kLoRoiArea,
       {{2, {t("Số"), t("Số ngày về"), t("Rơi"), t("Chuỗi hiện tại"), t("Chuỗi dài nhất")}},
        {3, {o, n(5), n(4), n(5), n(5)}},
        {4, {t("15"), n(3), n(1), n(1), n(2)}}},
       102},
      {"xien 2",
       [&] { WriteLoXienTable(session, at, 2, 20, Now); },
       kLoXienArea,
       {{2, xien}, {3, {t("00-15"), n(3), Day(5)}}, {4, {t("00-07"), n(2), Day(3)}}, {5, {t("07-15"), n(1), Day(1)}}},
       5},
      {"xien 3",
       [&] { WriteLoXienTable(session, at, 3, 20, Now); },
       kLoXienArea,
       {{2, xien}, {3, {t("00-07-15"), n(1), Day(1)}}},
       3},
      {"bac nho 07",
       [&] { WriteBacNhoTable(session, at, "07", 20, Now); },
       kBacNhoArea,
       {{1, {caption, Text("Ngafy cos 07: 2")}}, {2, bacNho}, {3, {o, n(2), n(1)}}, {4, {t("15"), n(1), n(0.5)}}},
       22},
      {"bac nho 07,15",
       [&] { WriteBacNhoTable(session, at, " 07 ,15", 1000, Now); },
       kBacNhoArea,
       {{1, {caption, Text("Ngafy cos 07,15: 1")}}, {3, {o, n(1), n(1)}}, {4, {t("15"), n(1), n(1)}}},
       102},
      {"bac nho 99",
       [&] { WriteBacNhoTable(session, at, "99", 1, Now); },
       kBacNhoArea,
       {{1, {caption, Text("Ngafy cos 99: 0")}}, {3, {o, n(0), blank}}},
       3},
      // 1 to 5 March 2021 is Monday to Friday, each with the special prize 12300.
      {"de tuan",
       [&] { WriteDeTable(session, at, "tuan", Now); },
       kDeArea,
       {{2, {Text(terms::kWeekTelex), Text("Thuws Hai")}},
        {3, {Day(1), o, o, o, o, o, blank, blank}},
        {4, {blank}},
        {5, Texts({"Số", "đầu", "đuôi", "tổng"})},
        {6, {n(0), n(5), n(5), n(5)}}},
       15},
      {"de nam",
       [&] { WriteDeTable(session, at, "nam", Now); },
       kDeArea,
       {{2, {n(2021)}},
        {3, {Text(terms::kDayTelex), t("T1")}},
        {4, {n(1), blank, blank, o, blank}},
        {36, {Text("Soos"), Text("ddaafu")}},
        {37, {n(0), n(5), n(5), n(5)}}},
       46},
  };
  for (const Case& c : cases) {
    const int32_t bottom = at.row + c.area.rows - 1, right = at.column + c.area.columns - 1;
    tables->Set(bottom, right, t("old corner"));
    tables->Set(bottom + 1, at.column, t("below"));
    tables->Set(at.row, right + 1, t("beside"));
    book->ResetCalls();
    c.call();
    EXPECT_EQ(tables->Get(at.row, at.column), caption) << c.name;
    for (const auto& [row, cells] : c.rows)
      EXPECT_EQ(Row(*tables, at.row + row - 1, at.column, static_cast<int32_t>(cells.size())), cells)
          << c.name << " row " << row;
    EXPECT_FALSE(tables->Get(at.row + c.last - 1, at.column).IsEmpty()) << c.name;
    EXPECT_TRUE(c.last == c.area.rows || tables->Get(at.row + c.last, at.column).IsEmpty()) << c.name;
    EXPECT_NE(tables->Get(bottom, right), t("old corner")) << c.name;
    EXPECT_EQ(tables->Get(bottom + 1, at.column), t("below")) << c.name;
    EXPECT_EQ(tables->Get(at.row, right + 1), t("beside")) << c.name;
    EXPECT_EQ(book->calls("ClearContents") * 10 + book->calls("Value.set"), 11) << c.name;
  }
}

// Two draws 21 years apart: the week grid keeps its headings and the
// latest 999 weeks, the year grid the latest whole years within 1000 rows.
TEST_F(FollowerTablesTest, ALongDeGridKeepsItsLatestRowsAndSaysHowManyItLeftOut) {
  results->Clear(*ParseAddress("A5:FF100"));
  PutDay({2005, 1, 3}, {{3, Value::Text("11")}});
  PutDay({2026, 3, 2}, {{3, Value::Text("12345")}});
  Request({1990, 1, 1}, {2026, 3, 2}, "Mieefn Bawsc", "Full", "Taast car", "2 Con");
  WriteDeTable(session, {"Sheet4", 1, 1}, "tuan", Now);
  EXPECT_EQ(tables->Get(1, 2), Text("Bor qua 106 tuaafn ddaafu"));
  EXPECT_EQ(tables->Get(2, 1), Text(terms::kWeekTelex));
  EXPECT_EQ(tables->Get(3, 1), Value::Date(SerialFromCivil({2005, 1, 3}) + 7 * 106));
  EXPECT_EQ(Row(*tables, 1001, 1, 2),
            (std::vector<Value>{Value::Date(SerialFromCivil({2026, 3, 2})), Value::Text("45")}));
  // Đầu, đuôi and tổng of the whole period: 11 and 45.
  const auto counts = [](double d, double head, double tail, double sum) {
    return std::vector<Value>{Value::Number(d), Value::Number(head), Value::Number(tail), Value::Number(sum)};
  };
  EXPECT_EQ(Row(*tables, 1009, 1, 4), counts(5, 0, 1, 0));
  EXPECT_EQ(Row(*tables, 1013, 1, 4), counts(9, 0, 0, 1));
  // 1990 to 2026, 37 years of 33 rows: the first 7 are left out.
  results->Clear(*ParseAddress("A5:FF100"));
  PutDay({1990, 1, 1}, {{3, Value::Text("7")}});
  PutDay({2026, 3, 2}, {{3, Value::Text("12345")}});
  WriteDeTable(session, {"Sheet4", 1, 1}, "nam", Now);
  EXPECT_EQ(tables->Get(1, 2), Text("Bor qua 7 nawm ddaafu"));
  EXPECT_EQ(tables->Get(2, 1), Value::Number(1997));
  EXPECT_EQ(tables->Get(2 + 29 * 33, 1), Value::Number(2026));
}

}  // namespace
}  // namespace pradima
