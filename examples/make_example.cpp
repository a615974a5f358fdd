// Builds the bundled example: a workbook made as `pradima init` makes it,
// its results sheet filled with the published North results in the results
// row format (one row per calendar day; a day without a North draw keeps
// empty prize cells; Central and South prize cells empty).
//   make_example north-results.csv example.xlsx
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "cli/commands.h"
#include "terms/station_schedule.h"
#include "xlsx/xlsx_workbook.h"

using namespace pradima;

namespace {

// The weekday as the results sheet shows it: "CN" for Sunday, "T2" to "T7".
std::string WeekdayLabel(int weekday) {
  if (weekday == 1) return "CN";
  std::string label = "T";
  label += std::to_string(weekday);
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_example RESULTS.csv BOOK.xlsx\n";
    return 2;
  }
  std::ifstream csv(argv[1]);
  std::string line;
  std::getline(csv, line);
  std::map<int64_t, std::vector<std::string>> draws;
  while (std::getline(csv, line)) {
    std::stringstream fields(line);
    std::string date, prize;
    std::getline(fields, date, ',');
    const CivilDate day{std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)), std::stoi(date.substr(8, 2))};
    std::vector<std::string> prizes;
    while (std::getline(fields, prize, ',')) prizes.push_back(prize);
    draws[DaysFromCivil(day)] = prizes;
  }
  if (draws.empty()) return 1;
  const CivilDate last = CivilFromDays(draws.rbegin()->first);
  const Clock lastDay = [last] { return LocalDateTime{last, 12, 0, 0}; };
  if (cli::RunCommand({"init", argv[2]}, "", lastDay, std::cout, std::cerr, false) != 0) return 1;
  xlsx::XlsxWorkbook workbook = xlsx::XlsxWorkbook::Open(argv[2]);
  auto results = workbook.book()->SheetByCodeName("Sheet1");
  const auto control = workbook.book()->SheetByCodeName("Sheet3");
  control->Set(1, 2, Value::Date(SerialFromCivil({last.year, 1, 1})));
  int32_t row = 5;
  for (int64_t d = draws.begin()->first; d <= draws.rbegin()->first; ++d, ++row) {
    const DateSerial serial = SerialFromCivil(CivilFromDays(d));
    const int weekday = WeekdayOf(serial);
    results->Set(row, 1, Value::Date(serial));
    results->Set(row, 2, Value::Text(WeekdayLabel(weekday)));
    for (int b = 1; b <= 7; ++b) {
      const std::string station = terms::StationName(weekday, b);
      if (!station.empty()) results->Set(row, 30 + 19 * (b - 1), Value::Text(station));
    }
    if (const auto it = draws.find(d); it != draws.end()) {
      for (size_t k = 0; k < it->second.size() && k < 27; ++k)
        if (!it->second[k].empty()) results->Set(row, 3 + static_cast<int32_t>(k), Value::Text(it->second[k]));
    }
  }
  workbook.Save();
  std::cerr << "wrote " << argv[2] << " with " << row - 5 << " days\n";
  return 0;
}
