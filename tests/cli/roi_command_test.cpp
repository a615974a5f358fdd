// roi and bacnho against counts worked out here from the published North
// results the example workbook was made from, not by the code under test.
#include <chrono>
#include <iomanip>
#include <set>
#include <tuple>

#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

// The two-digit lô of each published day from `from` to `to` (ISO dates) on `weekday` (0 Sunday, 7 every day).
std::vector<std::set<int32_t>> Published(const std::string& from, const std::string& to, unsigned weekday = 7) {
  std::ifstream in(fs::path(PRADIMA_EXAMPLE_BOOK).parent_path() / "north-results-2005-2026.csv");
  std::map<std::string, std::set<int32_t>> days;
  std::string line, date;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::getline(fields, date, ',');
    const std::chrono::sys_days day = std::chrono::year_month_day{
        std::chrono::year(std::stoi(date.substr(0, 4))), std::chrono::month(std::stoul(date.substr(5, 2))),
        std::chrono::day(std::stoul(date.substr(8, 2)))};
    if (date < from || date > to || (weekday != 7 && std::chrono::weekday(day).c_encoding() != weekday)) continue;
    for (std::string prize; std::getline(fields, prize, ',');)
      if (!prize.empty()) days[date].insert(std::stoi(prize) % 100);
  }
  std::vector<std::set<int32_t>> inOrder;
  for (const auto& [_, lo] : days) inOrder.push_back(lo);
  return inOrder;
}

std::string Two(int32_t number) { return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)}; }

TEST_F(CliTest, RoiAgreesWithAnIndependentCountOfThePublishedResults) {
  struct Case {
    const char *from, *to, *weekday;
    unsigned weekdayCode;
  };
  const Case cases[] = {{"2026-03-01", "2026-03-31", "Tất cả", 7}, {"2025-01-01", "2025-12-31", "Chủ Nhật", 0}};
  const std::string book = Example().string();
  for (const Case& c : cases) {
    const std::vector<std::set<int32_t>> days = Published(c.from, c.to, c.weekdayCode);
    std::ostringstream expected;
    expected << "number,days,roi,streak,longest_streak\n";
    std::tuple<int32_t, int32_t, int32_t> first{0, 0, 0};  // the table's first row: -streak, -longest, number
    for (int32_t n = 0; n < 100; ++n) {
      int32_t came = 0, again = 0, run = 0, longest = 0;
      for (size_t i = 0; i < days.size(); ++i) {
        run = days[i].count(n) ? run + 1 : 0;
        came += days[i].count(n) ? 1 : 0;
        again += run > 1 ? 1 : 0;
        longest = std::max(longest, run);
      }
      expected << Two(n) << "," << came << "," << again << "," << run << "," << longest << "\n";
      first = std::min(first, std::make_tuple(-run, -longest, n));
    }
    const std::vector<std::string> line = {"roi",     book,      "--from",  c.from, "--to",
                                           c.to,      "--region", "Miền Bắc", "--weekday", c.weekday};
    std::vector<std::string> csv = line;
    csv.insert(csv.end(), {"--format", "csv"});
    EXPECT_EQ(Run(csv).out, expected.str()) << c.from << " " << c.weekday;
    const Outcome table = Run(line);
    const std::string heading = std::to_string(days.size()) + " draw days\nnumber   days    roi  streak  longest streak\n";
    const size_t at = table.out.find(heading);
    ASSERT_NE(at, std::string::npos) << table.out;
    EXPECT_EQ(table.out.substr(at + heading.size(), 2), Two(std::get<2>(first))) << table.out;
  }
}

TEST_F(CliTest, BacnhoAgreesWithAnIndependentCountOfThePublishedResults) {
  const std::vector<std::set<int32_t>> days = Published("2025-01-01", "2025-12-31");
  const std::string book = Example().string();
  for (const std::vector<int32_t>& after : std::vector<std::vector<int32_t>>{{27}, {27, 72}}) {
    const std::string list = after.size() == 1 ? "27" : "27,72";
    int32_t triggers = 0;
    std::vector<std::pair<int32_t, int32_t>> next(100);  // -next days, number: the order of the rows
    for (int32_t n = 0; n < 100; ++n) next[static_cast<size_t>(n)].second = n;
    for (size_t i = 0; i + 1 < days.size(); ++i) {
      if (!std::all_of(after.begin(), after.end(), [&](int32_t n) { return days[i].count(n) > 0; })) continue;
      ++triggers;
      for (const int32_t n : days[i + 1]) --next[static_cast<size_t>(n)].first;
    }
    std::sort(next.begin(), next.end());
    std::ostringstream expected;
    expected << "number,next_days,triggers,share\n" << std::fixed << std::setprecision(3);
    for (const auto& [minus, n] : next)
      expected << Two(n) << "," << -minus << "," << triggers << "," << static_cast<double>(-minus) / triggers << "\n";
    const Outcome r = Run({"bacnho", book, "--from", "2025-01-01", "--to", "2025-12-31", "--region", "Miền Bắc",
                           "--after", list, "--top", "100", "--format", "csv"});
    ASSERT_GT(triggers, 0) << list;
    EXPECT_EQ(r.out, expected.str()) << list;
  }
}

TEST_F(CliTest, BacnhoWithoutATriggerDayHasNoShare) {
  // One draw day: it is the last, so no day triggers.
  std::vector<std::string> line = {"bacnho",   Example().string(), "--from", "2025-06-01", "--to",  "2025-06-01",
                                   "--region", "Miền Bắc",         "--after", "27",        "--format"};
  const auto run = [&](const char* format) {
    line.push_back(format);
    const Outcome r = Run(line);
    line.pop_back();
    return r.out;
  };
  EXPECT_TRUE(run("csv").starts_with("number,next_days,triggers,share\n00,0,0,\n01,0,0,\n"));
  EXPECT_NE(run("json").find("\"triggers\": 0,\n \"rows\": [\n  {\"number\": \"00\", \"next_days\": 0, "
                             "\"triggers\": 0, \"share\": null}"),
            std::string::npos);
  EXPECT_NE(run("table").find("1 draw days, 0 trigger days"), std::string::npos);
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
