#include "stats/run_statistics.h"

#include <gtest/gtest.h>

#include "support/stats_fixture.h"

namespace pradima {
namespace {

using testing::StatsTest;
using testing::Texts;

const std::string kCaption = " * Tổng số ngày thống kê: ";

class RunStatisticsTest : public StatsTest {
 protected:
  void SetUp() override {
    StatsTest::SetUp();
    for (int d = 1; d <= 10; ++d) PutDay({2021, 3, d}, {{3, Value::Text("12307")}, {4, Value::Text("000")}});
    Request({2021, 3, 1}, {2021, 3, 10}, "Mieefn Bawsc", "Full", "Taast car", "2 Con");
  }
  void Run(CivilDate today = {2021, 3, 31}) {
    book->ResetCalls();
    RunStatistics(session, messages, [today] { return LocalDateTime{today, 12, 0, 0}; });
  }
};

// 07 and the number 7 select row 7, 00 row 0; 55 never appeared; a blank
// entry, or what is no whole number from 0 to 999, gets blank counts.
TEST_F(RunStatisticsTest, WritesCountsBesideEachListedNumberWithBlockAccessOnly) {
  ListNumbers({Value::Text("07"), Value::Text("00"), Value::Text("55"), Value::Number(7), Value(), Value::Text("7a"),
               Value::Number(1000), Value::Number(-1), Value::Number(2.5), Value::Text(" 07 ")});
  control->Set(3, 9, Value::Text("old I"));
  control->Set(1002, 10, Value::Text("old J"));
  Run();
  const Value ten = Value::Number(10), all = Value::Number(260), blank;
  EXPECT_EQ(Column(*control, 7, 3, 12),
            (std::vector<Value>{ten, ten, blank, ten, blank, blank, blank, blank, blank, ten}));
  EXPECT_EQ(Column(*control, 8, 3, 8), (std::vector<Value>{ten, all, blank, ten, blank, blank}));
  EXPECT_EQ(control->Get(3, 6), Value::Text("07"));
  EXPECT_TRUE(control->Get(3, 9).IsEmpty());
  EXPECT_TRUE(control->Get(1002, 10).IsEmpty());
  EXPECT_EQ(control->Get(1, 6), Value::Text(kCaption + "10"));
  EXPECT_EQ(app->screenUpdatingHistory(), (std::vector<bool>{false, true}));
  // B1 to B6 and the last date one cell each; the results' dates and the
  // period's cells, the region table and the list, each one block
  EXPECT_EQ(book->calls("Value.set"), 2) << "the table and F1";
  EXPECT_EQ(book->calls("ClearContents"), 2) << "G3:H10002 and F3:J1002";
  EXPECT_LE(book->calls("Value.get"), 10);
  // An empty list: the old table is cleared and only F1 is written.
  ListNumbers({});
  control->Set(3, 7, Value::Number(99));
  Run();
  EXPECT_TRUE(control->Get(3, 7).IsEmpty());
  EXPECT_EQ(control->Get(1, 6), Value::Text(kCaption + "10"));
  EXPECT_EQ(book->calls("Value.set"), 1);
}

TEST_F(RunStatisticsTest, EndDatePastTodayEndsAtTheLastStoredDraw) {
  ListNumbers(Texts({"07"}));
  struct Case {
    DateSerial end;
    CivilDate today;
    const char* caption;
  };
  const DateSerial march5 = SerialFromCivil({2021, 3, 5});
  const Case cases[] = {
      {march5, {2021, 3, 5}, "5"},         // today, no time of day: stays
      {march5 + 0.5, {2021, 3, 5}, "10"},  // today with a time of day counts as later
      {march5 + 30, {2021, 3, 20}, "10"},  // in the future
      {0, {2021, 3, 20}, "0"},             // empty B2: 30 December 1899
  };
  for (const Case& c : cases) {
    control->Set(2, 2, c.end ? Value::Date(c.end) : Value());
    Run(c.today);
    EXPECT_EQ(control->Get(1, 6), Value::Text(kCaption + c.caption)) << c.end;
  }
}

TEST_F(RunStatisticsTest, FailuresTurnScreenUpdatingBackOnAndUnknownRegionsChangeNothing) {
  ListNumbers(Texts({"07"}));
  control->Set(3, 7, Value::Number(99));
  control->Set(3, 2, Value::Text("Miền Tây"));
  testing::ExpectError([&] { Run(); }, 5, "\"Miền Tây\"");
  EXPECT_EQ(app->screenUpdatingHistory(), (std::vector<bool>{false, true}));
  EXPECT_EQ(book->calls("ClearContents") + book->calls("Value.set"), 0);
  EXPECT_EQ(control->Get(3, 7), Value::Number(99));

  control->Set(3, 2, Value::Text(TelexToUnicode("Mieefn Bawsc")));
  control->Set(1, 2, Value::Text("not a date"));
  EXPECT_THROW(Run(), Error);
  EXPECT_TRUE(app->screenUpdating());
}

}  // namespace
}  // namespace pradima
