// Values filled into a text by number, as translations reorder them.
#include <gtest/gtest.h>

#include "base/fill_in.h"

namespace pradima {
namespace {

TEST(FillInTest, EachNumberTakesItsValueAndAnyOtherBraceStays) {
  struct Case {
    const char* pattern;
    std::initializer_list<std::string_view> values;
    const char* text;
  };
  const Case cases[] = {
      {"{1} to {2}", {"01/01/2026", "31/03/2026"}, "01/01/2026 to 31/03/2026"},
      {"{2}, then {1}", {"a", "b"}, "b, then a"},
      {"\"{1}\" or \"{1}\"", {"3 Con"}, "\"3 Con\" or \"3 Con\""},
      {"{9}{1}", {"x", "", "", "", "", "", "", "", "y"}, "yx"},
      // A value is not filled in again, whatever braces it holds.
      {"{1}{2}", {"{2}", "b"}, "{2}b"},
      // No such value, no number, not closed, or no braces at all.
      {"{3} of {1}", {"a", "b"}, "{3} of a"},
      {"{0} {x} {} {10} {1", {"a"}, "{0} {x} {} {10} {1"},
      {"ends in {", {}, "ends in {"},
      {"số {1} về", {"07"}, "số 07 về"},
      {"", {"a"}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FillIn(c.pattern, c.values), c.text) << c.pattern;
}

}  // namespace
}  // namespace pradima
