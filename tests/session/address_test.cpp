#include "session/address.h"

#include <gtest/gtest.h>

namespace pradima {
namespace {

TEST(Address, ParsesCellsAndRanges) {
  struct Case {
    const char* text;
    RangeRef expected;
  };
  const Case cases[] = {
      {"A1", {{1, 1}, {1, 1}}},
      {"F3", {{3, 6}, {3, 6}}},
      {"$B$7", {{7, 2}, {7, 2}}},
      {"A5:FF812", {{5, 1}, {812, 162}}},
      {"H10:F3", {{3, 6}, {10, 8}}},
      {"f3:h4", {{3, 6}, {4, 8}}},
      {"XFD1048576", {{1048576, 16384}, {1048576, 16384}}},
      {"A1000000", {{1000000, 1}, {1000000, 1}}},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseAddress(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_EQ(*parsed, c.expected) << c.text;
  }
}

TEST(Address, RejectsWhatIsNotAnAddress) {
  for (const char* text :
       {"", "A", "1", "A0", "XFE1", "A1048577", "BangDai", "A1:", ":A1", "A 1", "A1B", "10000", "A99999999999"}) {
    EXPECT_FALSE(ParseAddress(text)) << text;
  }
}

TEST(Address, ColumnLettersRoundTrip) {
  const std::pair<int32_t, const char*> cases[] = {{1, "A"},    {26, "Z"},   {27, "AA"},   {30, "AD"},
                                                   {162, "FF"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (const auto& [number, letters] : cases) {
    EXPECT_EQ(ColumnLetters(number), letters);
    EXPECT_EQ(ColumnNumber(letters), number);
  }
  EXPECT_EQ(FormatAddress({{5, 1}, {812, 162}}), "A5:FF812");
}

}  // namespace
}  // namespace pradima
