// One station of the Central or South region, on the hand-made workbook:
// its counts and gaps are those of its own block on the days it drew.
#include <tuple>

#include "support/cli_fixture.h"
#include "support/station_book.h"

namespace pradima::cli {
namespace {

using Args = std::vector<std::string>;

class StationTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    fs::copy_file(Created(), book = directory / "stations.xlsx");
    testing::AppendStationDays(book.string(), testing::HandMadeStationDays());
    svg = (directory / "chart.svg").string();
  }
  // The tool on the hand-made workbook, which must come out unchanged.
  Outcome On(const char* command, Args args, const Args& more = {}) {
    const std::string before = Slurp(book);
    args.insert(args.begin(), {command, book.string()});
    args.insert(args.end(), more.begin(), more.end());
    Outcome outcome = Run(args);
    EXPECT_EQ(Slurp(book), before) << "the workbook was written";
    return outcome;
  }
  static void ExpectIn(const std::string& text, const std::string& part) {
    EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
  }
  fs::path book;
  std::string svg;
};

TEST_F(StationTest, StatsCountsTheStationsBlockOnTheDaysItDrewAndSavesNothing) {
  // The control sheet keeps 08-08 to 08-10, the period of the cases that give none.
  ASSERT_EQ(Run({"stats", book.string(), "--from", "2026-08-08", "--to", "2026-08-10", "--region", "Miền Trung"}).code,
            0);
  // Counted by hand from tests/data/tables/hand-made-stations.tsv: a prize not typed there is 4xy, xy = 19 + its place.
  const std::pair<Args, const char*> cases[] = {
      {{"--station", "Khánh Hòa", "--numbers", "17,71,06,99,23,24,37", "--from", "2026-08-01", "--to", "2026-08-31"},
       "17,1,2\n71,2,2\n06,1,2\n99,1,1\n23,1,1\n24,2,2\n37,2,2\n"},
      {{"--station", "Đà Nẵng", "--numbers", "17,71,06,99,23,21", "--from", "2026-08-01", "--to", "2026-08-31"},
       "17,2,2\n71,1,1\n06,1,1\n99,1,1\n23,3,3\n21,1,1\n"},
      {{"--station", "Đà Nẵng", "--numbers", "17,06"}, "17,,\n06,1,1\n"},
      {{"--station", "Đà Nẵng", "--numbers", "17,06", "--to", "2026-08-31"}, "17,1,1\n06,1,1\n"},
      {{"--station", "Đà Nẵng", "--numbers", "17,06", "--from", "2026-08-01"}, "17,1,1\n06,1,1\n"},
      {{"--station", "TP. HCM", "--region", "Miền Nam", "--numbers", "17,71,06,99,23,21", "--to", "2026-08-31"},
       "17,2,2\n71,1,1\n06,,\n99,,\n23,2,2\n21,1,1\n"},
      {{"--station", "Khánh Hòa", "--type", "3 Con", "--numbers", "317,517,017,071,423,506", "--from", "2026-08-01",
        "--to", "2026-08-31"},
       "317,1,1\n517,1,1\n017,,\n071,1,1\n423,1,1\n506,1,1\n"},
  };
  for (const auto& [args, csv] : cases)
    EXPECT_EQ(On("stats", args, {"--format", "csv"}).out, std::string("number,days,appearances\n") + csv)
        << args[1] << " " << args.back();
  const Args khanhHoa = {"--station", "Khánh Hòa", "--from", "2026-08-01", "--numbers", "17"};
  ExpectIn(On("stats", khanhHoa).out, "type     2 Con\nstation  Khánh Hòa\n * Tổng số ngày thống kê: 2\n");
  On("stats", khanhHoa, {"--chart", svg});
  ExpectIn(Slurp(svg), "Miền Trung · Khánh Hòa · Tất cả · 01/08/2026 – 10/08/2026 · 2 Con");
  ExpectIn(On("stats", khanhHoa, {"--format", "json"}).out, "\"station\": \"Khánh Hòa\"},\n \"draw_days\": 2,\n");
}

TEST_F(StationTest, GanCountsGapsInTheDaysTheStationDrew) {
  // The region, the station, its draw days and the rows of 50, 17, 71 and 06 in gan's order.
  const std::tuple<const char*, const char*, int, const char*> cases[] = {
      // 2026-08-05 and 08-09; on 08-12 its name stands over no prizes.
      {"Miền Trung", "Khánh Hòa", 2,
       "50,,2,,,false\n17,2026-08-05,1,1,2026-08-09,true\n06,2026-08-09,0,0,2026-08-09,true\n"
       "71,2026-08-09,0,0,2026-08-09,true\n"},
      {"Miền Trung", "Đà Nẵng", 3,  // 2026-08-05, 08-08 and 08-12
       "50,,3,,,false\n06,2026-08-08,1,1,2026-08-12,true\n17,2026-08-12,0,1,2026-08-12,false\n"
       "71,2026-08-12,0,0,2026-08-12,true\n"},
      {"Miền Nam", "TP. HCM", 2,  // 2026-08-08 and 08-10
       "06,,2,,,false\n50,,2,,,false\n71,2026-08-08,1,1,2026-08-10,true\n17,2026-08-10,0,0,2026-08-10,true\n"},
  };
  for (const auto& [region, station, drawDays, expected] : cases) {
    SCOPED_TRACE(station);
    const Args asked = {"--region", region, "--station", station, "--type", "2 Con", "--top", "100"};
    std::istringstream csv(On("gan", asked, {"--format", "csv", "--chart", svg}).out);
    std::string rows;
    for (std::string line; std::getline(csv, line);)
      for (const char* number : {"50,", "17,", "71,", "06,"}) rows += line.rfind(number, 0) == 0 ? line + "\n" : "";
    EXPECT_EQ(rows, expected);
    ExpectIn(Slurp(svg), std::string(region) + " · " + station + " · Tất cả · ");
    const std::string days = std::to_string(drawDays);
    ExpectIn(On("gan", asked, {"--format", "json"}).out,
             "\"station\": \"" + std::string(station) + "\"},\n \"draw_days\": " + days);
    ExpectIn(On("gan", asked).out, "station  " + std::string(station) + "\n" + days + " draw days\n");
  }
}

TEST_F(StationTest, AStationTheDaysDoNotHoldIsBadUsageNamingThoseTheyHold) {
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      // region, station, from, error
      {"Miền Trung", "Huế", "2026-08-01",
       "the station \"Huế\"; it has Đà Nẵng, Khánh Hòa, Quảng Ngãi, Đắk Nông, Kon Tum, Thừa Thiên Huế, Phú Yên\n"},
      // From 08-10 on, Khánh Hòa's name is there on 08-12 only, over no prizes.
      {"Miền Trung", "Khánh Hòa", "2026-08-10", "the station \"Khánh Hòa\"; it has Thừa Thiên Huế, Phú Yên, Đà Nẵng\n"},
      {"Miền Nam", "Khánh Hòa", "2026-08-01",
       "the station \"Khánh Hòa\"; it has TP. HCM, Long An, Bình Phước, Hậu Giang, Đồng Tháp, Cà Mau\n"},
      {"Miền Bắc", "TP. HCM", "2026-08-01",
       "pradima: --station chooses a station of Miền Trung or Miền Nam; the region is Miền Bắc\n"},
  };
  for (const auto& [region, station, from, error] : cases)
    for (const char* command : {"stats", "gan"}) {
      SCOPED_TRACE(std::string(command) + " " + station + " from " + from);
      const Outcome r = On(command, {"--region", region, "--station", station, "--from", from});
      EXPECT_EQ(r.code, 2);
      ExpectIn(r.err, error);
      EXPECT_EQ(r.out, "");
    }
  {
    XlsxWorkbook workbook = XlsxWorkbook::Open(book.string());
    const auto control = workbook.book()->SheetByCodeName("Sheet3");
    control->Set(1, 2, Value::Date(SerialFromCivil({2026, 8, 12})));
    control->Set(2, 2, Value::Date(SerialFromCivil({2026, 8, 5})));
    workbook.Save();
  }
  const Outcome crossed = On("stats", {"--region", "Miền Trung", "--station", "Đà Nẵng"});
  EXPECT_EQ(crossed.code, 2);
  ExpectIn(crossed.err, "pradima: the control sheet's period is crossed: 12/08/2026 in B1 is after 05/08/2026 in B2");
}

}  // namespace
}  // namespace pradima::cli
