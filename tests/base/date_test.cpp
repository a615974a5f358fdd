#include "base/date.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace pradima {
namespace {

TEST(Date, SerialsMatchTheAutomationCalendar) {
  struct Case {
    CivilDate date;
    double serial;
    int weekday;
  };
  const Case cases[] = {
      {{1899, 12, 30}, 0, 7},   {{1899, 12, 31}, 1, 1},   {{1900, 3, 1}, 61, 5},     {{2005, 1, 1}, 38353, 7},
      {{2021, 3, 7}, 44262, 1}, {{2021, 3, 8}, 44263, 2}, {{2024, 2, 29}, 45351, 5}, {{1899, 12, 29}, -1, 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SerialFromCivil(c.date), c.serial) << c.serial;
    EXPECT_EQ(CivilFromSerial(c.serial), c.date) << c.serial;
    EXPECT_EQ(WeekdayOf(c.serial), c.weekday) << c.serial;
  }
  EXPECT_EQ(CivilFromSerial(44262.75), (CivilDate{2021, 3, 7}));
  EXPECT_DOUBLE_EQ(SerialFromDateTime({{2021, 3, 7}, 18, 0, 0}), 44262.75);
}

TEST(Date, ValidatesAndFormats) {
  EXPECT_TRUE(IsValidCivil({2024, 2, 29}));
  EXPECT_FALSE(IsValidCivil({2023, 2, 29}));
  EXPECT_FALSE(IsValidCivil({2023, 13, 1}));
  EXPECT_EQ(FormatShortDate({2021, 3, 7}), "07/03/2021");
}

TEST(Date, ParsesACalendarDayInEitherWrittenForm) {
  const std::pair<std::string_view, CivilDate> days[] = {{"2026-01-01", {2026, 1, 1}},  {"22/08/2026", {2026, 8, 22}},
                                                         {"2024-02-29", {2024, 2, 29}}, {"29/02/2024", {2024, 2, 29}},
                                                         {"2026-1-5", {2026, 1, 5}},    {"5/1/2026", {2026, 1, 5}},
                                                         {"31/12/9999", {9999, 12, 31}}};
  for (const auto& [text, day] : days) EXPECT_EQ(ParseCivilDate(text), day) << text;
  for (const std::string_view text :
       {"2026-01-01x", "2026-01-01 ", " 2026-01-01", "2026-01-01 18:00", "2026-02-30",  "2023-02-29", "01/13/2026",
        "31/02/2026",  "2026-13-01",  "2026-00-10",  "00/01/2026",       "2026/01/01",  "01-01-2026", "2026-01",
        "2026-001-01", "01/01/20261", "99-01-01",    "-2026-01-01",      "+2026-01-01", "2026.01.01", ""}) {
    EXPECT_FALSE(ParseCivilDate(text)) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace pradima
