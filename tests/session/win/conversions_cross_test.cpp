// The platform's conversions give what the shared table says, as the
// portable ones do.
#include <gtest/gtest.h>

#include "base/error.h"
#include "session/win/oleaut_conversions.h"
#include "support/conversion_cases.h"

namespace pradima {
namespace {

template <typename F>
std::optional<decltype(std::declval<F>()())> Attempt(F f) {
  try {
    return f();
  } catch (const Error&) {
    return std::nullopt;
  }
}

TEST(ConversionsCross, ThePlatformFollowsTheSharedTable) {
  for (const auto& c : testing::kConversionCases) {
    const std::string label = c.text.value_or("?");
    EXPECT_EQ(win::oleaut::IsNumeric(c.input), c.numeric) << label;
    EXPECT_EQ(Attempt([&] { return win::oleaut::ToText(c.input); }), c.text) << label;
    EXPECT_EQ(Attempt([&] { return win::oleaut::ToLong(c.input); }), c.whole) << label;
  }
  const std::pair<Value, std::optional<DateSerial>> dates[] = {
      {Value::Text("2021-03-07"), 44262},
      {Value::Text("2005-01-01"), 38353},
      {Value::Text("hello"), std::nullopt},
      {Value(), 0},
  };
  for (const auto& [input, serial] : dates)
    EXPECT_EQ(Attempt([&] { return win::oleaut::ToDate(input); }), serial) << input.text();
}

}  // namespace
}  // namespace pradima
