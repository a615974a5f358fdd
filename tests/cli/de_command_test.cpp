// pradima de on the bundled North results, checked against the published file read here on its own, and on a
// small South workbook with its stations.
#include <fstream>

#include "support/cli_fixture.h"

namespace pradima::cli {
namespace {

// The CSV de should print for the North draws of the published results from `from` to `to` (YYYY-MM-DD),
// worked out from the file itself: a row per line in the period, the special prize its second field.
std::string PublishedDe(const std::string& from, const std::string& to, std::array<int, 10>& heads) {
  std::ifstream in(PRADIMA_PUBLISHED_RESULTS);
  std::string line, expected = "date,station,special,de,dau,duoi,tong\n";
  while (std::getline(in, line)) {
    const std::string date = line.substr(0, line.find(','));
    if (date < from || date > to) continue;
    const std::string special = line.substr(date.size() + 1, line.find(',', date.size() + 1) - date.size() - 1);
    const int head = special[special.size() - 2] - '0', tail = special.back() - '0';
    ++heads[static_cast<size_t>(head)];
    expected += date + ",," + special + "," + special.substr(special.size() - 2) + "," + std::to_string(head) + "," +
                std::to_string(tail) + "," + std::to_string((head + tail) % 10) + "\n";
  }
  return expected;
}

TEST_F(CliTest, DeOfTheNorthMatchesThePublishedSpecialPrizes) {
  const std::string book = Example().string();
  for (const auto& [from, to] : {std::pair{"2026-02-01", "2026-02-28"}, {"2005-12-25", "2006-01-05"}}) {
    std::array<int, 10> heads{};
    const std::string expected = PublishedDe(from, to, heads);
    const Outcome csv = Run({"de", book, "--from", from, "--to", to, "--region", "Miền Bắc", "--weekday", "Tất cả",
                             "--format", "csv"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(csv.out, expected);
    const Outcome json = Run({"de", book, "--from", from, "--to", to, "--format", "json"});
    ASSERT_EQ(json.code, 0) << json.err;
    std::string dau = "\n \"dau\": [";
    for (size_t d = 0; d < 10; ++d) dau += (d ? ", " : "") + std::to_string(heads[d]);
    EXPECT_NE(json.out.find(dau + "],\n"), std::string::npos) << json.out;
  }
}

// Three South stations each Monday, two on a Tuesday: a day shows its stations' đề in block order, --station
// keeps one of them, and what de cannot do is bad usage that says why.
TEST_F(CliTest, DeLaysOutTheStationsOfASouthWorkbookAndKeepsOneOnRequest) {
  const fs::path book = Created();
  {
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    MemorySheet& results = *workbook.book()->SheetByCodeName("Sheet1");
    const struct {
      CivilDate date;
      std::vector<std::pair<const char*, const char*>> stations;  // from block 4 on
    } days[] = {{{2026, 2, 2}, {{"TP. HCM", "123456"}, {"Đồng Tháp", "654321"}, {"Cà Mau", "000017"}}},
                {{2026, 2, 3}, {{"Bến Tre", "111190"}, {"Vũng Tàu", "222208"}}},
                {{2026, 2, 9}, {{"TP. HCM", "555503"}, {"Đồng Tháp", "4x"}, {"Cà Mau", "987650"}}}};
    int32_t row = 5;
    for (const auto& day : days) {
      results.Set(row, 1, Value::Date(SerialFromCivil(day.date)));
      int32_t head = 87;
      for (const auto& [station, special] : day.stations) {
        results.Set(row, head, Value::Text(station));
        results.Set(row, head + 1, Value::Text(special));
        head += 19;
      }
      ++row;
    }
    workbook.Save();
  }
  const struct {
    std::vector<std::string> args;
    int code;
    std::string out, err;  // a part of each
  } cases[] = {
      {{"--format", "csv", "--station", "Cà Mau"},
       0,
       "date,station,special,de,dau,duoi,tong\n2026-02-02,Cà Mau,000017,17,1,7,8\n2026-02-09,Cà Mau,987650,50,5,0,5\n",
       ""},
      {{"--format", "csv"}, 0, "\n2026-02-03,Vũng Tàu,222208,08,0,8,8\n2026-02-09,TP. HCM,555503,03,0,3,3\n", ""},
      {{}, 0, "\n02/02/2026  56 21 17  90 08\n09/02/2026  03 50\n", ""},
      {{"--by", "year"}, 0, "\n2026\nNgày  T1  T2", ""},
      {{"--by", "year"}, 0, "\n3         90 08\n", ""},
      {{"--station", "Cà Mau", "--format", "json"}, 0, "\"station\": \"Cà Mau\", \"by\": \"week\"},\n \"draw_days\": 2,", ""},
      {{"--by", "month"}, 2, "", "pradima: --by month: it must be week or year\n"},
      {{"--station", "Huế"}, 2, "", "\"Huế\"; it has TP. HCM, Đồng Tháp, Cà Mau, Bến Tre, Vũng Tàu\n"},
      {{"--prizes", "all"}, 2, "", "unknown option --prizes"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"de", book.string(), "--region", "Miền Nam", "--weekday", "Tất cả"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome r = Run(args);
    EXPECT_EQ(r.code, c.code) << c.out << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace pradima::cli
