#include "base/date.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace pradima {
namespace {

TEST(Date, SerialsMatchTheAutomationCalendar) {
  for (const std::vector<std::string>& c : testing::DataTable("serial-days.tsv")) {
    const CivilDate date{std::stoi(c[0]), std::stoi(c[1]), std::stoi(c[2])};
    EXPECT_EQ(SerialFromCivil(date), std::stod(c[3])) << c[3];
    EXPECT_EQ(CivilFromSerial(std::stod(c[3])), date) << c[3];
    EXPECT_EQ(WeekdayOf(std::stod(c[3])), std::stoi(c[4])) << c[3];
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
