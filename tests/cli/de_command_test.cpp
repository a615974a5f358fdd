// pradima de on the bundled North results, checked against the published file read here on its own, and on a
// small South workbook with its stations.
#include <tuple>

#include "support/cli_fixture.h"
#include "support/published_results.h"
#include "support/station_book.h"

namespace pradima::cli {
namespace {

TEST_F(CliTest, DeOfTheNorthMatchesThePublishedSpecialPrizes) {
  const std::string book = Example().string();
  for (const auto& [from, to] : {std::pair{"2026-02-01", "2026-02-28"}, {"2005-12-25", "2006-01-05"}}) {
    std::string csv = "date,station,special,de,dau,duoi,tong\n", dau = "\n \"dau\": [";
    int heads[10] = {};
    for (const testing::PublishedDay& day : testing::PublishedDays(from, to)) {
      const std::string& special = day.prizes.front();
      const int head = special[special.size() - 2] - '0', tail = special.back() - '0';
      ++heads[head];
      csv += day.date + ",," + special + "," + special.substr(special.size() - 2) + "," + std::to_string(head) + "," +
             std::to_string(tail) + "," + std::to_string((head + tail) % 10) + "\n";
    }
    for (int d = 0; d < 10; ++d) dau += (d ? ", " : "") + std::to_string(heads[d]);
    const Outcome r = Run({"de", book, "--from", from, "--to", to, "--region", "Miền Bắc", "--format", "csv"});
    EXPECT_EQ(r.out, csv) << r.err;
    EXPECT_NE(Run({"de", book, "--from", from, "--to", to, "--format", "json"}).out.find(dau + "],\n"),
              std::string::npos);
  }
}

// Three South stations each Monday, two on a Tuesday: a day shows its stations' đề in block order, --station
// keeps one of them, and what de cannot do is bad usage that says why.
TEST_F(CliTest, DeLaysOutTheStationsOfASouthWorkbookAndKeepsOneOnRequest) {
  const fs::path book = Created();
  testing::AppendStationDays(
      book.string(), {{{2026, 2, 2}, {{4, "TP. HCM", "123456"}, {5, "Đồng Tháp", "654321"}, {6, "Cà Mau", "000017"}}},
                      {{2026, 2, 3}, {{4, "Bến Tre", "111190"}, {5, "Vũng Tàu", "222208"}}},
                      {{2026, 2, 9}, {{4, "TP. HCM", "555503"}, {5, "Đồng Tháp", "4x"}, {6, "Cà Mau", "987650"}}}});
  // The options, the exit code, and a part of standard output with exit code 0, else of standard error.
  const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
      {{"--format", "csv", "--station", "Cà Mau"},
       0,
       "date,station,special,de,dau,duoi,tong\n2026-02-02,Cà Mau,000017,17,1,7,8\n2026-02-09,Cà Mau,987650,50,5,0,5\n"},
      {{"--format", "csv"}, 0, "\n2026-02-03,Vũng Tàu,222208,08,0,8,8\n2026-02-09,TP. HCM,555503,03,0,3,3\n"},
      {{}, 0, "\n02/02/2026  56 21 17  90 08\n09/02/2026  03 50\n"},
      {{"--by", "year"}, 0, "\n2026\nday  T1  T2        T3"},
      {{"--by", "year"}, 0, "\n3        90 08\n"},
      {{"--station", "Cà Mau", "--format", "json"},
       0,
       "\"station\": \"Cà Mau\", \"by\": \"week\"},\n \"draw_days\": 2,"},
      {{"--by", "month"}, 2, "pradima: --by month: it must be week or year\n"},
      {{"--station", "Huế"}, 2, "\"Huế\"; it has TP. HCM, Đồng Tháp, Cà Mau, Bến Tre, Vũng Tàu\n"},
  };
  for (const auto& [options, code, said] : cases) {
    std::vector<std::string> args = {"de", book.string(), "--region", "Miền Nam", "--weekday", "Tất cả"};
    args.insert(args.end(), options.begin(), options.end());
    const Outcome r = Run(args);
    EXPECT_EQ(r.code, code) << said << r.err;
    EXPECT_NE((code ? r.err : r.out).find(said), std::string::npos) << r.out << r.err;
  }
}

}  // namespace
}  // namespace pradima::cli
