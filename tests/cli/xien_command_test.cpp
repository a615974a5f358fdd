// xien on the bundled North history, against a count made here from the
// published results themselves, and what xien and bacnho report.
#include <tuple>

#include "support/cli_fixture.h"
#include "support/published_results.h"

namespace pradima::cli {
namespace {

// A CSV row of xien ("07-12,5,2025-12-30") as the published days make it:
// its numbers, the days they all came and the last of those days.
std::string AsPublished(const std::vector<testing::PublishedDay>& days, const std::string& row) {
  const std::string numbers = row.substr(0, row.find(','));
  int count = 0;
  std::string last;
  for (const testing::PublishedDay& day : days) {
    bool all = true;
    for (size_t at = 0; at < numbers.size(); at += 3) all = all && day.lo.contains(std::stoi(numbers.substr(at, 2)));
    if (all) ++count, last = day.date;
  }
  return numbers + "," + std::to_string(count) + "," + last;
}

TEST_F(CliTest, XienCountsWhatThePublishedResultsShow) {
  const std::vector<testing::PublishedDay> year = testing::PublishedDays("2025-01-01", "2025-12-31");
  ASSERT_GT(year.size(), 360u);
  std::string mostPair = "00-00,0,";  // the first pair that came together the most: the first row
  for (int a = 0; a < 100; ++a)
    for (int b = a + 1; b < 100; ++b) {
      const std::string pair = AsPublished(year, testing::TwoDigits(a) + "-" + testing::TwoDigits(b));
      if (std::stoi(pair.substr(6)) > std::stoi(mostPair.substr(6))) mostPair = pair;
    }
  // The options, the rows and the width of their numbers, whether they are pairs of a number and its reverse.
  const std::tuple<std::vector<std::string>, size_t, size_t, bool> cases[] = {
      {{}, 20, 5, false}, {{"--size", "3", "--top", "30"}, 30, 8, false}, {{"--reverse", "--top", "45"}, 45, 5, true}};
  const std::string book = Example().string();
  const auto days = [](const std::string& row) { return -std::stoi(row.substr(row.find(',') + 1)); };
  for (const auto& [options, rows, width, reverse] : cases) {
    std::vector<std::string> args = {"xien",     book,       "--from",    "2025-01-01", "--to",     "2025-12-31",
                                     "--region", "Miền Bắc", "--weekday", "Tất cả",     "--format", "csv"};
    args.insert(args.begin() + 2, options.begin(), options.end());
    const Outcome r = Run(args);
    std::stringstream lines(r.out);
    std::string line, before = "-,99999";
    ASSERT_TRUE(std::getline(lines, line) && line == "numbers,days,last_date") << r.out << r.err;
    size_t count = 0;
    for (; std::getline(lines, line); before = line, ++count) {
      EXPECT_EQ(line, AsPublished(year, line)) << r.out;
      EXPECT_EQ(line.find(','), width) << line;
      EXPECT_LT(std::make_pair(days(before), before), std::make_pair(days(line), line)) << "out of order:\n" << r.out;
      EXPECT_TRUE(!reverse || (line[0] == line[4] && line[1] == line[3] && line[0] != line[1])) << line;
    }
    EXPECT_EQ(count, rows) << r.out;
    EXPECT_TRUE(!options.empty() || r.out.find("\n" + mostPair + "\n") == 22) << mostPair << "\n" << r.out;
  }
}

// The table says what was asked, then the rows; JSON the same. A period without draws has no sets, and one of
// a single draw day no trigger day (the last day triggers nothing), so no share.
TEST_F(CliTest, XienAndBacnhoReportTheRequestAndTheRows) {
  const std::string book = Example().string();
  const std::vector<std::string> lastDays = {"--from", "2025-12-30", "--to", "2025-12-31"},
                                 none = {"--from", "2026-08-23", "--to", "2026-08-30"},
                                 oneDay = {"--from", "2025-06-01", "--to", "2025-06-01"};
  // The period, the command and its options, and a part of what it prints.
  const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string> cases[] = {
      {lastDays,
       {"xien", "--size", "3", "--top", "1"},
       "period   30/12/2025 to 31/12/2025\nregion   Miền Bắc\nweekday  Tất cả\n2 draw days\n"
       "sets of 3 numbers that came on the same draw day\nnumbers    days  last together\n"
       "22-27-41      2  31/12/2025\n"},
      {lastDays,
       {"xien", "--reverse", "--format", "json"},
       "\"size\": 2, \"reverse\": true, \"top\": 20},\n \"draw_days\": 2,\n"},
      {none,
       {"xien"},
       "0 draw days\nsets of 2 numbers that came on the same draw day\nnumbers   days  last together\n"
       "No numbers came together in the period.\n"},
      {oneDay, {"bacnho", "--after", "27", "--format", "csv"}, "number,next_days,triggers,share\n00,0,0,\n01,0,0,\n"},
      {oneDay,
       {"bacnho", "--after", "27", "--format", "json"},
       "\"triggers\": 0,\n \"rows\": [\n  {\"number\": \"00\", \"next_days\": 0, \"triggers\": 0, \"share\": null}"},
      {oneDay,
       {"bacnho", "--after", "27"},
       "1 draw days, 0 trigger days (with every number of --after, the last draw day excluded)\nNo draw day before "
       "the last had every number of --after: nothing to follow.\n"},
  };
  for (const auto& [period, options, said] : cases) {
    std::vector<std::string> args = {options.front(), book, "--region", "Miền Bắc", "--weekday", "Tất cả"};
    args.insert(args.end(), period.begin(), period.end());
    args.insert(args.end(), options.begin() + 1, options.end());
    const Outcome r = Run(args);
    EXPECT_NE(r.out.find(said), std::string::npos) << r.out << r.err;
  }
}

}  // namespace
}  // namespace pradima::cli
