// xien on the bundled North history, against a count made here from the
// published results themselves.
#include <fstream>
#include <set>

#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

using DayNumbers = std::map<std::string, std::set<int>>;  // date (YYYY-MM-DD) to the two-digit endings drawn

// Every prize of each day of the year in the published results, by its last two digits.
DayNumbers PublishedYear(const std::string& year) {
  std::ifstream in(fs::path(PRADIMA_EXAMPLE_BOOK).parent_path() / "north-results-2005-2026.csv");
  DayNumbers days;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.starts_with(year + "-")) continue;
    std::stringstream fields(line);
    std::string date, prize;
    std::getline(fields, date, ',');
    while (std::getline(fields, prize, ','))
      if (!prize.empty() && prize != "\r") days[date].insert(std::stoi(prize) % 100);
  }
  return days;
}

struct Row {
  std::vector<int> numbers;
  int days;
  std::string lastDate;
};

std::vector<Row> CsvRows(const std::string& csv) {
  std::stringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "numbers,days,last_date");
  std::vector<Row> rows;
  while (std::getline(lines, line)) {
    Row row{{}, 0, line.substr(line.rfind(',') + 1)};
    std::stringstream numbers(line.substr(0, line.find(',')));
    for (std::string n; std::getline(numbers, n, '-');) row.numbers.push_back(std::stoi(n));
    row.days = std::stoi(line.substr(line.find(',') + 1));
    rows.push_back(row);
  }
  return rows;
}

// The draw days holding every number of the set, and the last of them.
std::pair<int, std::string> Together(const DayNumbers& days, const std::vector<int>& numbers) {
  std::pair<int, std::string> found{0, ""};
  for (const auto& [date, drawn] : days)
    if (std::all_of(numbers.begin(), numbers.end(), [&](int n) { return drawn.contains(n); }))
      found = {found.first + 1, date};
  return found;
}

TEST_F(CliTest, XienCountsWhatThePublishedResultsShow) {
  const DayNumbers year = PublishedYear("2025");
  ASSERT_GT(year.size(), 360u);
  // The most any pair came together in the year: the first row must reach it.
  int mostPair = 0;
  for (int a = 0; a < 100; ++a)
    for (int b = a + 1; b < 100; ++b) mostPair = std::max(mostPair, Together(year, {a, b}).first);
  struct Case {
    std::vector<std::string> options;
    size_t size;
    bool reverse;
  };
  const Case cases[] = {
      {{}, 2, false},
      {{"--size", "3", "--top", "30"}, 3, false},
      {{"--reverse", "--top", "45"}, 2, true},
  };
  const std::string book = Example().string();
  for (const Case& c : cases) {
    std::vector<std::string> args = {"xien",     book,       "--from",    "2025-01-01", "--to",     "2025-12-31",
                                     "--region", "Miền Bắc", "--weekday", "Tất cả",     "--format", "csv"};
    args.insert(args.begin() + 2, c.options.begin(), c.options.end());
    const Outcome r = Run(args);
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<Row> rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), c.reverse ? 45u : c.size == 3 ? 30u : 20u) << r.out;
    if (c.size == 2 && !c.reverse) {
      EXPECT_EQ(rows.front().days, mostPair);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
      const Row& row = rows[i];
      ASSERT_EQ(row.numbers.size(), c.size) << r.out;
      EXPECT_TRUE(std::is_sorted(row.numbers.begin(), row.numbers.end())) << r.out;
      if (c.reverse) {
        EXPECT_EQ(row.numbers[1], row.numbers[0] % 10 * 10 + row.numbers[0] / 10) << r.out;
      }
      EXPECT_EQ(Together(year, row.numbers), std::make_pair(row.days, row.lastDate)) << "row " << i << "\n" << r.out;
      if (i > 0) {  // the most days first, ties by the numbers
        EXPECT_LT(std::make_pair(-rows[i - 1].days, rows[i - 1].numbers), std::make_pair(-row.days, row.numbers))
            << "row " << i << "\n"
            << r.out;
      }
    }
  }
}

// The table and JSON say what was asked; a period without draws has no sets.
TEST_F(CliTest, XienReportsTheRequestAndTheSets) {
  const std::string book = Example().string();
  const std::vector<std::string> period = {"--from",   "2025-12-30", "--to",      "2025-12-31",
                                           "--region", "Miền Bắc",   "--weekday", "Tất cả"};
  const auto run = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"xien", book};
    args.insert(args.end(), period.begin(), period.end());
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome r = Run(args);
    EXPECT_EQ(r.code, 0) << r.err;
    return r.out;
  };
  const std::string table = run({"--size", "3", "--top", "1"});
  EXPECT_NE(table.find("period: 30/12/2025 to 31/12/2025\nregion: Miền Bắc\nweekday: Tất cả\n2 draw days\n"
                       "sets of 3 numbers that came on the same draw day\nnumbers    days  last together\n"
                       "22-27-41      2  31/12/2025\n"),
            std::string::npos)
      << table;
  const std::string json = run({"--reverse", "--format", "json", "--top", "1"});
  EXPECT_NE(
      json.find("\"size\": 2, \"reverse\": true, \"top\": 1},\n \"draw_days\": 2,\n \"rows\": [\n  {\"numbers\": \""),
      std::string::npos)
      << json;
  const Outcome none = Run({"xien", book, "--from", "2026-08-23", "--to", "2026-08-30", "--region", "Miền Bắc"});
  EXPECT_NE(none.out.find("0 draw days"), std::string::npos) << none.out << none.err;
  EXPECT_NE(none.out.find("No numbers came together in the period."), std::string::npos) << none.out;
}

}  // namespace
}  // namespace pradima::cli
