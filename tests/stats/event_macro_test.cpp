// Event macros run inside the engine's own calls into the spreadsheet: a
// change event after every cell write or clear, other macros after property
// puts. Such a macro may rebind the shared session (a nested Sup) or end it
// (an instance dropped). A call in progress finishes on the objects it
// started with, and its output is whole.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "selection/number_type.h"
#include "stats/run_statistics.h"
#include "support/stats_fixture.h"

namespace pradima {
namespace {

using testing::StatsTest;
using testing::Texts;

const Clock kMarch31 = [] { return LocalDateTime{{2021, 3, 31}, 12, 0, 0}; };

class EventMacroTest : public StatsTest {
 protected:
  void SetUp() override {
    StatsTest::SetUp();
    book->setOnCellChange([this] { FireOnce(); });
    for (int d = 1; d <= 4; ++d) PutDay({2021, 3, d}, {{3, Value::Text("12307")}, {4, Value::Text("45600")}});
    Request({2021, 3, 1}, {2021, 3, 10}, "Mieefn Bawsc", "Full", "Taast car", "2 Con");
  }

  // Binds the workbook anew, with an application the session alone owns, as
  // the COM session owns it.
  void Bind() {
    auto application = std::make_shared<MemoryApplication>();
    application->setOnPropertyPut([this](std::string_view property) {
      if (property == "ScreenUpdating") FireOnce();
    });
    session.SetApplication(std::move(application));
    session.SetWorkbook(book);
    session.BindSheets();
  }

  void FireOnce() {
    if (!macro) return;
    const auto run = std::exchange(macro, nullptr);
    run();
  }

  // What a nested Sup does to the shared session: binds another workbook.
  void Rebind() {
    session.SetApplication(std::make_shared<MemoryApplication>());
    session.SetWorkbook(other);
    session.BindSheets();
  }

  // The two things an event macro may do to the shared session.
  std::vector<std::pair<const char*, std::function<void()>>> Macros() {
    return {{"nested Sup", [this] { Rebind(); }}, {"instance dropped", [this] { session.ReleaseSession(); }}};
  }

  std::shared_ptr<MemoryWorkbook> other = NewStandardWorkbook({2021, 3, 31});
  std::function<void()> macro;
};

TEST_F(EventMacroTest, AStatisticsRunFinishesOnTheWorkbookItStartedWith) {
  for (const auto& [name, what] : Macros()) {
    Bind();
    ListNumbers(Texts({"00", "07", "55"}));
    macro = what;
    RunStatistics(session, messages, kMarch31);
    EXPECT_FALSE(macro) << name << ": the macro ran";
    EXPECT_EQ(control->Get(1, 6), Value::Text(" * Tổng số ngày thống kê: 4")) << name;
    EXPECT_EQ(Column(*control, 7, 3, 5), (std::vector<Value>{Value::Number(4), Value::Number(4), Value()})) << name;
    // the 25 empty prize cells of each day count as 00, as every run counts them
    EXPECT_EQ(Column(*control, 8, 3, 5), (std::vector<Value>{Value::Number(104), Value::Number(4), Value()})) << name;
    EXPECT_TRUE(other->SheetByCodeName("Sheet3")->Get(1, 6).IsEmpty())
        << name << ": nothing went to the other workbook";
  }
  EXPECT_FALSE(session.HasApplication()) << "the dropped instance ended the session for later calls";
}

TEST_F(EventMacroTest, ANumberListIsLaidOutWholeWhateverAChangeEventDoes) {
  for (const auto& [name, what] : Macros()) {
    Bind();
    control->Set(4, 2, Value::Text(TelexToUnicode("Soos Kesp")));
    macro = what;
    ApplyNumberType(session, "3 Con");
    EXPECT_FALSE(macro) << name << ": the macro ran";
    EXPECT_EQ(Column(*control, 6, 3, 5), Texts({"000", "111", "222"})) << name;
    EXPECT_EQ(control->Get(12, 6), Value::Text("999")) << name;
  }
  Rebind();
  ApplyNumberType(session, "2 Con");
  EXPECT_EQ(other->SheetByCodeName("Sheet3")->Get(3, 6), Value::Text("00")) << "later calls use the new binding";
}

}  // namespace
}  // namespace pradima
