#include "stats/custom_list.h"

#include <gtest/gtest.h>

#include "support/stats_fixture.h"

namespace pradima {
namespace {

using testing::StatsTest;
using testing::Texts;

const std::string kCustom = TelexToUnicode("Tufy Chojn");
const std::string kNeedOne = "Phải ít nhất 1 số tùy chọn";
const std::string kMessageA = "Số nhập vào ít nhất phải là số có 2 chữ số.\r\nSố bị lỗi: ";
const std::string kMessageB = "Tổng số nhập vào phải là số chẵn.\r\nSố bị lỗi: ";

class CustomListTest : public StatsTest {
 protected:
  CustomListOutcome Clean(const std::vector<Value>& entries, const std::string& type = "2 Con",
                          const std::string& set = kCustom) {
    ListNumbers(entries);
    control->Set(3, 7, Value::Number(42));  // an old count
    settings->Set(2, 16, Value::Text("old P"));
    settings->Set(2, 30, Value::Text("old AD"));
    book->ResetCalls();
    return CleanCustomList(session, messages, set, type);
  }
};

// Two-digit lists are split and deduplicated, three-digit ones copied as typed; each saved in its own column.
TEST_F(CustomListTest, EachModeCleansAndSavesTheListInItsColumn) {
  struct Case {
    std::vector<Value> entries;
    std::vector<Value> clean;
    std::string type = "2 Con";
  };
  const std::vector<Value> asTyped = {Value::Number(5), Value::Text("abc"), Value::Text("1234")};
  std::vector<Value> hundredAndOne;  // the 101st distinct number is kept
  for (int i = 0; i < 100; ++i) hundredAndOne.push_back(Value::Text(std::to_string(100 + i).substr(1)));
  hundredAndOne.push_back(Value::Number(12));
  const Case cases[] = {
      {hundredAndOne, hundredAndOne},
      {Texts({"07", "12", "07"}), Texts({"07", "12"})},
      {Texts({"123"}), Texts({"12", "23"})},
      {Texts({"1234", "3412"}), Texts({"12", "34"})},
      {Texts({"12", "abc", "34"}), Texts({"12", "34"})},
      {Texts({"123456"}), Texts({"12", "34", "56"})},
      {{Value::Number(12), Value::Text("312")}, {Value::Number(12), Value::Text("31"), Value::Text("12")}},
      {asTyped, asTyped, "3 Con"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Clean(c.entries, c.type), CustomListOutcome::Saved);
    const int32_t n = static_cast<int32_t>(c.clean.size()), saved = c.type == "2 Con" ? 16 : 30;
    EXPECT_EQ(Column(*control, 6, 3, 2 + n), c.clean);
    EXPECT_EQ(Column(*settings, saved, 2, 1 + n), c.clean);
    EXPECT_TRUE(control->Get(3 + n, 6).IsEmpty());
    EXPECT_TRUE(settings->Get(2 + n, saved).IsEmpty());
    EXPECT_EQ(settings->Get(2, 46 - saved), Value::Text(saved == 16 ? "old AD" : "old P")) << "the other mode's list";
    EXPECT_TRUE(control->Get(3, 7).IsEmpty()) << "counts cleared";
    EXPECT_TRUE(messages.prompts.empty());
    EXPECT_EQ(book->calls("Value.get"), 1);
  }
}

TEST_F(CustomListTest, MalformedEntriesAreReportedAndChangeNothing) {
  struct Case {
    std::vector<Value> entries;
    std::string prompt;
  };
  const Case cases[] = {
      {Texts({"12", "5", "34"}), kMessageA + "5"},
      {Texts({"12", "12345"}), kMessageB + "12345"},
      {{Value::Text("12"), Value(), Value::Text("34")}, kMessageB},
      {Texts({"abc", "x"}), kNeedOne},
      {{}, kNeedOne},
  };
  for (const Case& c : cases) {
    messages.prompts.clear();
    EXPECT_EQ(Clean(c.entries), CustomListOutcome::Rejected);
    ASSERT_EQ(messages.prompts.size(), 1u);
    EXPECT_EQ(messages.prompts[0], c.prompt);
    EXPECT_EQ(messages.titles[0], "Thông Báo");
    EXPECT_EQ(messages.styles[0], 64 + 4096);
    EXPECT_EQ(book->calls("ClearContents") + book->calls("Value.set"), 0);
    EXPECT_EQ(control->Get(3, 7), Value::Number(42)) << "G and H are not cleared";
    EXPECT_EQ(settings->Get(2, 16), Value::Text("old P"));
  }
}

TEST_F(CustomListTest, OtherSetsOrTypesOnlyClearTheCounts) {
  for (const auto& [set, type] :
       {std::pair<std::string, std::string>{"Full", "2 Con"}, {kCustom, "4 Con"}, {"tùy chọn", "2 Con"}}) {
    EXPECT_EQ(Clean(Texts({"5"}), type, set), CustomListOutcome::NotCustom);
    EXPECT_EQ(control->Get(3, 6), Value::Text("5"));
    EXPECT_TRUE(control->Get(3, 7).IsEmpty());
    EXPECT_EQ(book->calls("ClearContents"), 1);
    EXPECT_TRUE(messages.prompts.empty());
  }
}

}  // namespace
}  // namespace pradima
