#pragma once
// The published North results the example workbook was made from, read here
// on their own so that tests count from them without the code under test.
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace pradima::testing {

struct PublishedDay {
  std::string date;                 // YYYY-MM-DD
  unsigned weekday;                 // 0 Sunday
  std::vector<std::string> prizes;  // the special prize first
  std::set<int> lo;                 // the prizes' last two digits
};

// The published days from `from` to `to` (ISO dates, both kept) on `weekday` (0 Sunday, 7 every day), in order.
inline std::vector<PublishedDay> PublishedDays(const std::string& from, const std::string& to, unsigned weekday = 7) {
  std::ifstream in(PRADIMA_PUBLISHED_RESULTS);
  std::vector<PublishedDay> days;
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, 10, from) < 0 || line.compare(0, 10, to) > 0) continue;  // the header is after any date
    const std::chrono::year_month_day date{std::chrono::year(std::stoi(line.substr(0, 4))),
                                           std::chrono::month(std::stoul(line.substr(5, 2))),
                                           std::chrono::day(std::stoul(line.substr(8, 2)))};
    PublishedDay day{line.substr(0, 10), std::chrono::weekday(std::chrono::sys_days(date)).c_encoding(), {}, {}};
    if (weekday != 7 && day.weekday != weekday) continue;
    std::istringstream fields(line.substr(11));
    for (std::string prize; std::getline(fields, prize, ',');) {
      if (prize.empty()) continue;
      day.prizes.push_back(prize);
      day.lo.insert(std::stoi(prize) % 100);
    }
    days.push_back(day);
  }
  return days;
}

inline std::string TwoDigits(int number) { return std::to_string(100 + number).substr(1); }

}  // namespace pradima::testing
