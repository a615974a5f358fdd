#include "session/address.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace pradima {
namespace {

TEST(Address, ParsesCellsAndRangesAndRejectsWhatIsNotAnAddress) {
  for (const std::vector<std::string>& c : testing::DataTable("addresses.tsv")) {
    const std::optional<RangeRef> expected =
        c.size() > 1 ? std::optional(RangeRef{{std::stoi(c[1]), std::stoi(c[2])}, {std::stoi(c[3]), std::stoi(c[4])}})
                     : std::nullopt;
    EXPECT_EQ(ParseAddress(c[0]), expected) << c[0];
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
