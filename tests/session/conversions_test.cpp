#include "session/conversions.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/conversion_cases.h"

namespace pradima {
namespace {

TEST(PortableConversions, FollowTheSharedTable) {
  for (const auto& c : testing::kConversionCases) {
    EXPECT_EQ(portable::IsNumeric(c.input), c.numeric) << ::testing::PrintToString(c.text);
    if (c.text) {
      EXPECT_EQ(portable::ToText(c.input), *c.text);
    }
    if (c.whole) {
      EXPECT_EQ(portable::ToLong(c.input), *c.whole) << *c.text;
    } else {
      EXPECT_THROW(portable::ToLong(c.input), Error) << *c.text;
    }
  }
}

TEST(PortableConversions, WholeNumberErrorsAreOverflowOrTypeMismatch) {
  const std::pair<Value, int> cases[] = {{Value::Number(3e9), 6}, {Value::Text("abc"), 13}};
  for (const auto& [input, number] : cases) {
    try {
      portable::ToLong(input);
      ADD_FAILURE() << number;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), number);
    }
  }
}

TEST(PortableConversions, DatesFromValuesAndText) {
  const std::pair<Value, double> cases[] = {
      {Value(), 0},
      {Value::Date(44262), 44262},
      {Value::Number(44262.5), 44262.5},
      {Value::Text("07/03/2021"), 44262},
      {Value::Text("7/3/2021"), 44262},
      {Value::Text("2021-03-07"), 44262},
      {Value::Text("2021-03-07 18:00"), 44262.75},
  };
  for (const auto& [input, serial] : cases) EXPECT_DOUBLE_EQ(portable::ToDate(input), serial) << input.text();
  for (const char* bad : {"31/02/2021", "hello", "2021-03", "07/03/2021 25:00", ""}) {
    EXPECT_THROW(portable::ToDate(Value::Text(bad)), Error) << bad;
  }
  EXPECT_EQ(portable::ToText(Value::Date(44262)), "07/03/2021");
}

}  // namespace
}  // namespace pradima
