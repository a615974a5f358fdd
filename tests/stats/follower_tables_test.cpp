#include "stats/follower_tables.h"

#include <gtest/gtest.h>

#include "base/error.h"
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
  void Gan(const TableTarget& target, int32_t rows) {
    WriteLoGanTable(session, target, rows, [] { return LocalDateTime{{2021, 3, 31}, 12, 0, 0}; });
  }
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

}  // namespace
}  // namespace pradima
