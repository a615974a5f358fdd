#include "stats/follower_tables.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/error.h"
#include "terms/lottery.h"
#include "support/stats_fixture.h"

namespace pradima {
namespace {

using testing::StatsTest;

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
  // Runs the call, which must fail with `number` and a description holding `said`, changing no cell.
  template <typename Call>
  void ExpectRefused(Call call, int number, const std::string& said) {
    const auto before = Cells();
    try {
      call();
      ADD_FAILURE() << "no error; expected one saying " << said;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), number) << e.what();
      EXPECT_NE(std::string(e.what()).find(said), std::string::npos) << e.what();
    }
    EXPECT_TRUE(Cells() == before) << said;
    EXPECT_TRUE(app->screenUpdating()) << said;
  }
  std::vector<Value> Row(MemorySheet& sheet, int32_t row, int32_t fromColumn, int32_t columns) {
    std::vector<Value> values;
    for (int32_t c = fromColumn; c < fromColumn + columns; ++c) values.push_back(sheet.Get(row, c));
    return values;
  }

  std::shared_ptr<MemorySheet> tables;
};

TEST_F(FollowerTablesTest, LoGanWritesTheLongestAwayFirstUnderItsHeadings) {
  tables->Set(2 + 150, 1, Value::Text("old row"));
  tables->Set(2 + 1001, 5, Value::Text("old corner"));
  tables->Set(2 + 1002, 1, Value::Text("below"));
  tables->Set(2, 6, Value::Text("beside"));
  Gan({"Sheet4", 2, 1}, 100);
  EXPECT_EQ(tables->Get(2, 1), Value::Text(TelexToUnicode(" * Toorng soos ngafy thoosng kee: ") + "5"));
  EXPECT_EQ(Row(*tables, 3, 1, 5), (std::vector<Value>{Text("Soos"), Text("Veef gaafn nhaast"),
                                                       Text("Gan hieejn taji"), Text("Gan cuwjc ddaji"),
                                                       Text("Ngafy keest thusc")}));
  // 97 numbers never drawn, by number; then 07 away 2 days, a gap still
  // running; then 00 and 15, drawn on the last day.
  const Value blank;
  EXPECT_EQ(Row(*tables, 4, 1, 5), (std::vector<Value>{Value::Text("01"), blank, Value::Number(5), blank, blank}));
  EXPECT_EQ(tables->Get(4 + 96, 1), Value::Text("99"));
  EXPECT_EQ(Row(*tables, 4 + 97, 1, 5), (std::vector<Value>{Value::Text("07"), Day(3), Value::Number(2),
                                                            Value::Number(2), Text("ddang gan")}));
  EXPECT_EQ(tables->Get(4 + 98, 1), Value::Text("00"));
  EXPECT_EQ(Row(*tables, 4 + 99, 1, 5), (std::vector<Value>{Value::Text("15"), Day(5), Value::Number(0),
                                                            Value::Number(2), Day(5)}));
  // The largest table's area is cleared, and nothing beyond it.
  EXPECT_TRUE(tables->Get(2 + 150, 1).IsEmpty());
  EXPECT_TRUE(tables->Get(2 + 1001, 5).IsEmpty());
  EXPECT_EQ(tables->Get(2 + 1002, 1), Value::Text("below"));
  EXPECT_EQ(tables->Get(2, 6), Value::Text("beside"));
  EXPECT_EQ(book->calls("ClearContents"), 1);
  EXPECT_EQ(book->calls("Value.set"), 1);
  EXPECT_EQ(app->screenUpdatingHistory(), (std::vector<bool>{false, true}));
}

TEST_F(FollowerTablesTest, LoGanShowsSoDongRowsOfTheNumberTypeInB6) {
  struct Case {
    const char* type;
    int32_t rows;
    int32_t written;  // data rows
    const char* first;
  };
  for (const Case& c : {Case{"2 Con", 1, 1, "01"}, Case{"2 Con", 1000, 100, "01"}, Case{"3 Con", 3, 3, "001"},
                        Case{"3 Con", 1000, 1000, "001"}}) {
    control->Set(6, 2, Value::Text(c.type));
    Gan({"Sheet3", 8, 9}, c.rows);
    EXPECT_FALSE(tables->modified());
    EXPECT_EQ(control->Get(10, 9), Value::Text(c.first)) << c.type << c.rows;
    EXPECT_FALSE(control->Get(9 + c.written, 9).IsEmpty()) << c.type << c.rows;
    EXPECT_TRUE(control->Get(10 + c.written, 9).IsEmpty()) << c.type << c.rows;
  }
}

TEST_F(FollowerTablesTest, TargetsOnTheEnginesCellsAndBadArgumentsAreRefusedWithNothingWritten) {
  struct Case {
    TableTarget target;
    int32_t rows;
    int number;
    const char* said;
  };
  const Case cases[] = {
      {{"Sheet1", 5000, 200}, 20, 5, "the results sheet (Sheet1)"},
      {{"Sheet2", 1, 40}, 20, 5, "the settings sheet (Sheet2)"},
      {{"Sheet3", 1, 1}, 20, 5, "would cover A1:E1002, which touches the request cells B1:B6"},
      {{"Sheet3", 6, 2}, 20, 5, "the request cells B1:B6"},
      {{"Sheet3", 5000, 2}, 20, 5, "the list columns F:H"},
      {{"Sheet3", 1, 8}, 20, 5, "the list columns F:H"},
      {{"Sheet4", kMaxRows - 1000, 1}, 20, 5, "needs 1002 rows and 5 columns"},
      {{"Sheet4", 1, kMaxColumns - 3}, 20, 5, "needs 1002 rows and 5 columns"},
      {{"Sheet4", 0, 1}, 20, 5, "row 0 column 1, is off the sheet"},
      {{"Sheet9", 1, 1}, 20, 9, "no worksheet of the workbook has the code name Sheet9"},
      {{"Sheet4", 2, 1}, 0, 5, "SoDong must be from 1 to 1000; it is 0"},
      {{"Sheet4", 2, 1}, 1001, 5, "SoDong must be from 1 to 1000; it is 1001"},
  };
  for (const Case& c : cases) ExpectRefused([&] { Gan(c.target, c.rows); }, c.number, c.said);
  // A bad argument is refused before the host is called at all.
  book->ResetCalls();
  const size_t switched = app->screenUpdatingHistory().size();
  ExpectRefused([&] { Gan({"Sheet4", 2, 1}, -1); }, 5, "SoDong");
  EXPECT_EQ(book->totalCalls(), 0);
  EXPECT_EQ(app->screenUpdatingHistory().size(), switched);
}

TEST_F(FollowerTablesTest, ABadRequestFailsWithScreenUpdatingBackOn) {
  const struct {
    int32_t row;
    Value value;
    const char* said;
  } cases[] = {{6, Value::Text("4 Con"), "\"4 Con\" in B6"}, {3, Value::Text("Miền Tây"), "\"Miền Tây\""}};
  tables->Set(3, 1, Value::Text("the old table stays"));
  for (const auto& c : cases) {
    const Value kept = control->Get(c.row, 2);
    control->Set(c.row, 2, c.value);
    app = std::make_shared<MemoryApplication>();
    session.SetApplication(app);
    ExpectRefused([&] { Gan({"Sheet4", 2, 1}, 20); }, 5, c.said);
    EXPECT_EQ(app->screenUpdatingHistory(), (std::vector<bool>{false, true}));
    control->Set(c.row, 2, kept);
  }
}

// Each table at its place on Sheet4: its caption, headings and first rows
// as counted by hand from the five days; the largest table's area cleared
// and nothing beyond it; one clearing and one block write.
TEST_F(FollowerTablesTest, EachTableIsWrittenWithItsHeadingsOverTheClearedAreaOfItsLargest) {
  using Call = std::function<void(const TableTarget&)>;
  const Value blank;
  const auto n = [](double v) { return Value::Number(v); };
  const auto t = [](const char* text) { return Value::Text(text); };
  struct Case {
    const char* name;
    Call call;
    TableArea area;
    std::vector<const char*> headings;
    std::vector<std::vector<Value>> rows;  // the first data rows
    int32_t dataRows;
    Value captionSecond;
  };
  const Case cases[] = {
      {"roi", [&](const TableTarget& at) { WriteLoRoiTable(session, at, Now); }, kLoRoiArea,
       {"Soos", "Soos ngafy veef", "Rowi", "Chuooix hieejn taji", "Chuooix dafi nhaast"},
       {{t("00"), n(5), n(4), n(5), n(5)}, {t("15"), n(3), n(1), n(1), n(2)}, {t("07"), n(2), n(0), n(0), n(1)},
        {t("01"), n(0), n(0), n(0), n(0)}},
       100, blank},
      {"xien 2", [&](const TableTarget& at) { WriteLoXienTable(session, at, 2, 20, Now); }, kLoXienArea,
       {"Booj soos", "Soos ngafy cufng veef", "Laafn cuoosi"},
       {{t("00-15"), n(3), Day(5)}, {t("00-07"), n(2), Day(3)}, {t("07-15"), n(1), Day(1)}}, 3, blank},
      {"xien 3", [&](const TableTarget& at) { WriteLoXienTable(session, at, 3, 20, Now); }, kLoXienArea,
       {"Booj soos", "Soos ngafy cufng veef", "Laafn cuoosi"}, {{t("00-07-15"), n(1), Day(1)}}, 1, blank},
      {"bac nho 07", [&](const TableTarget& at) { WriteBacNhoTable(session, at, "07", 20, Now); }, kBacNhoArea,
       {"Soos", "Soos ngafy veef sau", "Tyr leej"},
       {{t("00"), n(2), n(1)}, {t("15"), n(1), n(0.5)}, {t("01"), n(0), n(0)}}, 20, Text("Ngafy cos 07: 2")},
      {"bac nho 07,15", [&](const TableTarget& at) { WriteBacNhoTable(session, at, " 07 ,15", 100, Now); },
       kBacNhoArea, {"Soos", "Soos ngafy veef sau", "Tyr leej"}, {{t("00"), n(1), n(1)}, {t("15"), n(1), n(1)}},
       100, Text("Ngafy cos 07,15: 1")},
      {"bac nho 99", [&](const TableTarget& at) { WriteBacNhoTable(session, at, "99", 1, Now); }, kBacNhoArea,
       {"Soos", "Soos ngafy veef sau", "Tyr leej"}, {{t("00"), n(0), blank}}, 1, Text("Ngafy cos 99: 0")},
  };
  for (const Case& c : cases) {
    const TableTarget at{"Sheet4", 2, 3};
    const int32_t bottom = at.row + c.area.rows - 1, right = at.column + c.area.columns - 1;
    tables->Set(bottom, right, t("old corner"));
    tables->Set(bottom + 1, at.column, t("below"));
    tables->Set(at.row, right + 1, t("beside"));
    book->ResetCalls();
    c.call(at);
    EXPECT_EQ(tables->Get(2, 3), Value::Text(TelexToUnicode(" * Toorng soos ngafy thoosng kee: ") + "5")) << c.name;
    EXPECT_EQ(tables->Get(2, 4), c.captionSecond) << c.name;
    std::vector<Value> headings;
    for (const char* telex : c.headings) headings.push_back(Text(telex));
    EXPECT_EQ(Row(*tables, 3, 3, c.area.columns), headings) << c.name;
    for (size_t r = 0; r < c.rows.size(); ++r)
      EXPECT_EQ(Row(*tables, 4 + static_cast<int32_t>(r), 3, c.area.columns), c.rows[r]) << c.name << " row " << r;
    EXPECT_FALSE(tables->Get(3 + c.dataRows, 3).IsEmpty()) << c.name;
    EXPECT_TRUE(4 + c.dataRows > bottom || tables->Get(4 + c.dataRows, 3).IsEmpty()) << c.name;
    EXPECT_NE(tables->Get(bottom, right), t("old corner")) << c.name;
    EXPECT_EQ(tables->Get(bottom + 1, at.column), t("below")) << c.name;
    EXPECT_EQ(tables->Get(at.row, right + 1), t("beside")) << c.name;
    EXPECT_EQ(book->calls("ClearContents") * 10 + book->calls("Value.set"), 11) << c.name;
  }
}

TEST_F(FollowerTablesTest, ArgumentsOutOfRangeAreRefusedNamingThemBeforeTheHostIsCalled) {
  const TableTarget at{"Sheet4", 2, 1};
  const struct {
    std::function<void()> call;
    const char* said;
  } cases[] = {
      {[&] { WriteLoXienTable(session, at, 4, 20, Now); }, "Co must be 2 or 3; it is 4"},
      {[&] { WriteLoXienTable(session, at, 2, 1001, Now); }, "SoDong must be from 1 to 1000; it is 1001"},
      {[&] { WriteBacNhoTable(session, at, "7", 20, Now); }, "Sau must list two-digit numbers"},
      {[&] { WriteBacNhoTable(session, at, "abc", 20, Now); }, "; it is \"abc\""},
      {[&] { WriteBacNhoTable(session, at, "27,", 20, Now); }, "Sau must"},
      {[&] { WriteBacNhoTable(session, at, "", 20, Now); }, "Sau must"},
      {[&] { WriteBacNhoTable(session, at, "27 72", 20, Now); }, "Sau must"},
      {[&] { WriteBacNhoTable(session, at, "27", 0, Now); }, "SoDong"},
  };
  for (const auto& c : cases) {
    book->ResetCalls();
    ExpectRefused(c.call, 5, c.said);
    EXPECT_EQ(book->totalCalls(), 0) << c.said;
  }
  EXPECT_TRUE(app->screenUpdatingHistory().empty());
}

// 1 to 5 March 2021 is Monday to Friday, each with the special prize 12300.
TEST_F(FollowerTablesTest, DeLaysOutTheWeekOrTheYearThenTheDigitCounts) {
  const Value blank, o = Value::Text("00");
  const auto n = [](double v) { return Value::Number(v); };
  const struct {
    const char* kind;
    std::vector<std::pair<int32_t, std::vector<Value>>> rows;  // sheet row from A, expected cells
  } cases[] = {
      {"tuan",
       {{2, {Text(terms::kWeekTelex), Text("Thuws Hai")}},
        {3, {Day(1), o, o, o, o, o, blank, blank}},
        {4, {blank}},
        {5, {Text("Soos"), Text("ddaafu"), Text("dduooi"), Text("toorng")}},
        {6, {n(0), n(5), n(5), n(5)}},
        {7, {n(1), n(0), n(0), n(0)}}}},
      {"nam",
       {{2, {n(2021)}},
        {3, {Text(terms::kDayTelex), Value::Text("T1")}},
        {4, {n(1), blank, blank, o, blank}},
        {8, {n(5), blank, blank, o}},
        {9, {n(6), blank, blank, blank}},
        {35, {blank}},
        {36, {Text("Soos"), Text("ddaafu")}},
        {37, {n(0), n(5), n(5), n(5)}}}},
  };
  for (const auto& c : cases) {
    tables->Set(2 + kDeArea.rows - 1, 1 + kDeArea.columns - 1, Value::Text("old corner"));
    WriteDeTable(session, {"Sheet4", 2, 1}, c.kind, Now);
    EXPECT_EQ(tables->Get(2, 1), Value::Text(TelexToUnicode(" * Toorng soos ngafy thoosng kee: ") + "5")) << c.kind;
    for (const auto& [row, cells] : c.rows)
      EXPECT_EQ(Row(*tables, row + 1, 1, static_cast<int32_t>(cells.size())), cells) << c.kind << " row " << row;
    EXPECT_TRUE(tables->Get(2 + kDeArea.rows - 1, 1 + kDeArea.columns - 1).IsEmpty()) << c.kind;
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
  EXPECT_EQ(Row(*tables, 1001, 1, 2), (std::vector<Value>{Value::Date(SerialFromCivil({2026, 3, 2})), Value::Text("45")}));
  EXPECT_TRUE(tables->Get(1002, 1).IsEmpty());
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
