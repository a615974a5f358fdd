// roi and bacnho against counts worked out here from the published North
// results the example workbook was made from, not by the code under test.
#include <chrono>
#include <set>

#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

struct PublishedDay {
  std::string date;
  std::set<int32_t> lo;  // the last two digits of every prize
};

// The published days from `from` to `to` (ISO dates) that fall on `weekday` (0 Sunday; 7 every day), oldest first.
std::vector<PublishedDay> Published(const std::string& from, const std::string& to, unsigned weekday = 7) {
  std::ifstream in(fs::path(PRADIMA_EXAMPLE_BOOK).parent_path() / "north-results-2005-2026.csv");
  std::vector<PublishedDay> days;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    PublishedDay day;
    std::getline(fields, day.date, ',');
    const std::chrono::year_month_day ymd{std::chrono::year(std::stoi(day.date.substr(0, 4))),
                                          std::chrono::month(std::stoul(day.date.substr(5, 2))),
                                          std::chrono::day(std::stoul(day.date.substr(8, 2)))};
    if (day.date < from || day.date > to) continue;
    if (weekday != 7 && std::chrono::weekday(std::chrono::sys_days(ymd)).c_encoding() != weekday) continue;
    for (std::string prize; std::getline(fields, prize, ',');)
      if (!prize.empty()) day.lo.insert(std::stoi(prize) % 100);
    days.push_back(day);
  }
  std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
  return days;
}

// The CSV rows of a report, each split at its commas, the header first.
std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::istringstream fields(line + ",");
    for (std::string field; std::getline(fields, field, ',');) rows.back().push_back(field);
  }
  return rows;
}

std::string Two(int32_t number) { return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)}; }

const std::vector<std::string> kNorth = {"--region", "Miền Bắc"};

TEST_F(CliTest, RoiAgreesWithAnIndependentCountOfThePublishedResults) {
  struct Case {
    const char *from, *to, *weekday;
    unsigned weekdayCode;
  };
  const Case cases[] = {{"2026-03-01", "2026-03-31", "Tất cả", 7}, {"2025-01-01", "2025-12-31", "Chủ Nhật", 0}};
  const std::string book = Example().string();
  for (const Case& c : cases) {
    const std::vector<PublishedDay> days = Published(c.from, c.to, c.weekdayCode);
    const Outcome r = Run({"roi", book, "--from", c.from, "--to", c.to, kNorth[0], kNorth[1], "--weekday", c.weekday,
                           "--format", "csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), 101u) << r.out;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"number", "days", "roi", "streak", "longest_streak"}));
    for (int32_t n = 0; n < 100; ++n) {
      int32_t came = 0, again = 0, run = 0, longest = 0;
      for (size_t i = 0; i < days.size(); ++i) {
        if (!days[i].lo.count(n)) {
          run = 0;
          continue;
        }
        ++came;
        again += i > 0 && days[i - 1].lo.count(n) ? 1 : 0;
        longest = std::max(longest, ++run);
      }
      const std::vector<std::string> expected = {Two(n), std::to_string(came), std::to_string(again),
                                                 std::to_string(run), std::to_string(longest)};
      EXPECT_EQ(rows[static_cast<size_t>(n) + 1], expected) << c.from << " " << c.weekday;
    }
  }
}

TEST_F(CliTest, RoiTablePutsTheLongestCurrentStreakFirst) {
  const std::vector<std::string> line = {"roi", Example().string(), "--from", "2026-03-01", "--to", "2026-03-31",
                                         kNorth[0], kNorth[1]};
  std::vector<std::string> asCsv = line;
  asCsv.insert(asCsv.end(), {"--format", "csv"});
  const Outcome csv = Run(asCsv), table = Run(line);
  ASSERT_EQ(table.code, 0) << table.err;
  auto rows = CsvRows(csv.out);
  // The first by streak, longest streak, then number.
  const auto first = std::min_element(rows.begin() + 1, rows.end(), [](const auto& a, const auto& b) {
    return std::make_tuple(-std::stoi(a[3]), -std::stoi(a[4]), a[0]) <
           std::make_tuple(-std::stoi(b[3]), -std::stoi(b[4]), b[0]);
  });
  const std::string heading = "number   days    roi  streak  longest streak\n";
  const size_t at = table.out.find(heading);
  ASSERT_NE(at, std::string::npos) << table.out;
  EXPECT_EQ(table.out.substr(at + heading.size(), 2), (*first)[0]) << table.out;
  EXPECT_NE(table.out.find("31 draw days\n"), std::string::npos) << table.out;
}

TEST_F(CliTest, BacnhoAgreesWithAnIndependentCountOfThePublishedResults) {
  const std::vector<PublishedDay> days = Published("2025-01-01", "2025-12-31");
  const std::string book = Example().string();
  for (const std::vector<int32_t>& after : std::vector<std::vector<int32_t>>{{27}, {27, 72}}) {
    const std::string list = after.size() == 1 ? "27" : "27,72";
    const Outcome r = Run({"bacnho", book, "--from", "2025-01-01", "--to", "2025-12-31", kNorth[0], kNorth[1],
                           "--after", list, "--top", "100", "--format", "csv"});
    ASSERT_EQ(r.code, 0) << r.err;
    int32_t triggers = 0;
    std::vector<int32_t> next(100);
    for (size_t i = 0; i + 1 < days.size(); ++i) {
      if (!std::all_of(after.begin(), after.end(), [&](int32_t n) { return days[i].lo.count(n) > 0; })) continue;
      ++triggers;
      for (const int32_t n : days[i + 1].lo) ++next[static_cast<size_t>(n)];
    }
    ASSERT_GT(triggers, 0) << list;
    const auto rows = CsvRows(r.out);
    ASSERT_EQ(rows.size(), 101u) << r.out;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"number", "next_days", "triggers", "share"}));
    for (size_t i = 1; i < rows.size(); ++i) {
      const int32_t n = std::stoi(rows[i][0]);
      EXPECT_EQ(std::stoi(rows[i][1]), next[static_cast<size_t>(n)]) << list << " " << rows[i][0];
      EXPECT_EQ(std::stoi(rows[i][2]), triggers) << list;
      EXPECT_NEAR(std::stod(rows[i][3]), static_cast<double>(next[static_cast<size_t>(n)]) / triggers, 0.0005);
      // Most first, ties by number.
      if (i > 1) {
        EXPECT_TRUE(std::stoi(rows[i - 1][1]) > std::stoi(rows[i][1]) ||
                    (rows[i - 1][1] == rows[i][1] && rows[i - 1][0] < rows[i][0]))
            << list << " " << rows[i][0];
      }
    }
  }
}

TEST_F(CliTest, BacnhoWithoutATriggerDayHasNoShare) {
  // One draw day: it is the last, so no day triggers.
  const std::vector<std::string> line = {"bacnho", Example().string(), "--from", "2025-06-01", "--to", "2025-06-01",
                                         kNorth[0], kNorth[1], "--after", "27", "--format"};
  const auto run = [&](const char* format) {
    std::vector<std::string> args = line;
    args.push_back(format);
    return Run(args);
  };
  const Outcome csv = run("csv"), json = run("json"), table = run("table");
  EXPECT_EQ(CsvRows(csv.out).size(), 21u) << csv.out;
  EXPECT_EQ(CsvRows(csv.out)[1], (std::vector<std::string>{"00", "0", "0", ""}));
  EXPECT_NE(json.out.find("\"triggers\": 0,\n \"rows\": [\n  {\"number\": \"00\", \"next_days\": 0, \"triggers\": 0, "
                          "\"share\": null}"),
            std::string::npos)
      << json.out;
  EXPECT_NE(table.out.find("1 draw days, 0 trigger days"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("nothing to follow"), std::string::npos) << table.out;
}

TEST_F(CliTest, BacnhoRefusesAMissingOrWrongAfterNamingIt) {
  struct Case {
    std::vector<std::string> options;
    const char* message;
  };
  const Case cases[] = {
      {{}, "bacnho needs --after"},
      {{"--after", "7"}, "--after 7: \"7\" is not a two-digit number"},
      {{"--after", "27,x2"}, "\"x2\" is not a two-digit number"},
      {{"--after", "27,,72"}, "\"\" is not a two-digit number"},
      {{"--after", "100"}, "\"100\" is not"},
      {{"--after", "27", "--type", "3 Con"}, "unknown option --type"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"bacnho", (directory / "absent.xlsx").string()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = Run(args);
    EXPECT_EQ(r.code, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace pradima::cli
