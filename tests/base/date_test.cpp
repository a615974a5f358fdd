#include "base/date.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

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

TEST(Date, ParsesACalendarDayInEitherWrittenForm) {
  for (const std::vector<std::string>& c : testing::DataTable("written-days.tsv")) {
    const std::optional<CivilDate> day =
        c.size() > 1 ? std::optional(CivilDate{std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3])}) : std::nullopt;
    EXPECT_EQ(ParseCivilDate(c[0]), day) << '"' << c[0] << '"';
  }
}

}  // namespace
}  // namespace pradima
