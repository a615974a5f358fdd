#include "selection/number_type.h"

#include <gtest/gtest.h>

#include "support/stats_fixture.h"

namespace pradima {
namespace {

using testing::StatsTest;
using testing::Texts;

class NumberTypeTest : public StatsTest {
 protected:
  std::vector<Value> Apply(const std::string& set, const std::string& type) {
    control->Set(4, 2, Value::Text(set));
    control->Set(800, 9, Value::Text("old I"));
    book->ResetCalls();
    ApplyNumberType(session, type);
    EXPECT_TRUE(control->Get(800, 9).IsEmpty());
    std::vector<Value> listed;
    for (int32_t r = 3; !control->Get(r, 6).IsEmpty() || !control->Get(r + 1, 6).IsEmpty(); ++r)
      listed.push_back(control->Get(r, 6));
    return listed;
  }
};

TEST_F(NumberTypeTest, DoublesFullAndOtherTypes) {
  const std::string doubles = TelexToUnicode("Soos Kesp");
  EXPECT_EQ(Apply(doubles, "2 Con"), Texts({"00", "11", "22", "33", "44", "55", "66", "77", "88", "99"}));
  EXPECT_EQ(Apply(doubles, "3 Con"), Texts({"000", "111", "222", "333", "444", "555", "666", "777", "888", "999"}));
  const std::vector<Value> full2 = Apply("Full", "2 Con");
  ASSERT_EQ(full2.size(), 100u);
  EXPECT_EQ(full2[7], Value::Text("07"));
  EXPECT_EQ(full2[99], Value::Text("99"));
  const std::vector<Value> full3 = Apply("Full", "3 Con");
  ASSERT_EQ(full3.size(), 1000u);
  EXPECT_EQ(full3[5], Value::Text("005"));
  EXPECT_EQ(book->calls("ClearContents"), 1);
  EXPECT_EQ(book->calls("Value.set"), 1);
  EXPECT_EQ(Apply(doubles, "2 con"), std::vector<Value>(10, Value::Text("0")));
  EXPECT_EQ(Apply("Full", "x"), Texts({"0"}));
}

TEST_F(NumberTypeTest, SavedCustomListsComeBackFormatted) {
  const std::string custom = TelexToUnicode("Tufy Chojn");
  const Value saved[] = {Value::Number(5), Value::Number(123), Value::Text("07"),
                         Value(),          Value::Number(1.5), Value::Text("ab")};
  for (int32_t i = 0; i < 6; ++i) settings->Set(2 + i, 16, saved[i]);
  EXPECT_EQ(Apply(custom, "2 Con"), (std::vector<Value>{Value::Text("05"), Value::Text("123"), Value::Text("07"),
                                                        Value(), Value::Text("1.5"), Value::Text("ab")}));
  settings->Set(2, 30, Value::Number(5));
  EXPECT_EQ(Apply(custom, "3 Con"), Texts({"005"}));
  EXPECT_EQ(book->calls("Value.get"), 2) << "B4 and the saved list";
}

TEST_F(NumberTypeTest, UnknownSetsAndMissingListsFailBeforeAnythingIsCleared) {
  ListNumbers(Texts({"42"}));
  struct Case {
    std::string set, type;
    int number;
    const char* said;
  };
  const Case cases[] = {{"full", "2 Con", 5, "the number set \"full\" in B4"},
                        {TelexToUnicode("Tufy Chojn"), "3 Con", 9, "no custom list is saved in column AD"},
                        {TelexToUnicode("Tufy Chojn"), "4 Con", 5, "\"4 Con\" has no saved custom list"}};
  for (const Case& c : cases) {
    control->Set(4, 2, Value::Text(c.set));
    book->ResetCalls();
    testing::ExpectError([&] { ApplyNumberType(session, c.type); }, c.number, c.said);
    EXPECT_EQ(book->calls("ClearContents") + book->calls("Value.set"), 0);
    EXPECT_EQ(control->Get(3, 6), Value::Text("42"));
  }
}

}  // namespace
}  // namespace pradima
