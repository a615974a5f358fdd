// One station of the Central or South region, on the hand-made workbook:
// its counts and gaps are those of its own block on the days it drew.
#include <array>

#include "support/cli_fixture.h"
#include "support/station_book.h"

namespace pradima::cli {
namespace {

class StationTest : public CliTest {
 protected:
  fs::path Book() {
    const fs::path book = directory / "stations.xlsx";
    fs::copy_file(Created(), book);
    testing::AppendStationDays(book.string(), testing::HandMadeStationDays());
    return book;
  }
  // The tool on the hand-made workbook from `from` to the end of August 2026; the workbook must come out unchanged.
  Outcome RunOn(const fs::path& book, std::vector<std::string> args, const char* from = "2026-08-01") {
    const std::string before = Slurp(book);
    args.insert(args.begin() + 1, book.string());
    args.insert(args.end(), {"--from", from, "--to", "2026-08-31"});
    Outcome outcome = Run(args);
    EXPECT_EQ(Slurp(book), before) << "the workbook was written";
    return outcome;
  }
  // The lines of `text` that begin with one of `starts`, in its order.
  static std::string LinesOf(const std::string& text, const std::vector<std::string>& starts) {
    std::istringstream in(text);
    std::string kept;
    for (std::string line; std::getline(in, line);)
      for (const std::string& start : starts)
        if (line.rfind(start, 0) == 0) kept += line + "\n";
    return kept;
  }
};

TEST_F(StationTest, StatsCountsTheStationsBlockOnTheDaysItDrewAndSavesNothing) {
  struct Case {
    const char* region;
    const char* station;
    const char* type;
    const char* numbers;
    int drawDays;
    const char* csv;
  };
  // Counted by hand from the days of station_book.h: a prize not typed there is 4xy, xy = 19 + its place.
  const Case cases[] = {
      {"Miền Trung", "Khánh Hòa", "2 Con", "17,71,06,99,23,24", 2, "17,1,2\n71,2,2\n06,1,2\n99,1,1\n23,1,1\n24,2,2\n"},
      {"Miền Trung", "Đà Nẵng", "2 Con", "17,71,06,99,23,21", 3, "17,2,2\n71,1,1\n06,1,1\n99,1,1\n23,3,3\n21,1,1\n"},
      {"Miền Nam", "TP. HCM", "2 Con", "17,71,06,99,23,21", 2, "17,2,2\n71,1,1\n06,,\n99,,\n23,2,2\n21,1,1\n"},
      {"Miền Trung", "Khánh Hòa", "3 Con", "317,517,017,071,423,506", 2, "317,1,1\n517,1,1\n017,,\n071,1,1\n423,1,1\n506,1,1\n"},
  };
  const fs::path book = Book();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.station + std::string(" ") + c.type);
    const std::vector<std::string> asked = {"stats",   "--region", c.region,    "--station", c.station,
                                            "--type", c.type,     "--numbers", c.numbers};
    std::vector<std::string> csv = asked, json = asked;
    csv.insert(csv.end(), {"--format", "csv"});
    json.insert(json.end(), {"--format", "json"});
    const Outcome counted = RunOn(book, csv);
    ASSERT_EQ(counted.code, 0) << counted.err;
    EXPECT_EQ(counted.out, std::string("number,days,appearances\n") + c.csv);
    const Outcome reported = RunOn(book, json);
    EXPECT_NE(reported.out.find("\"station\": \"" + std::string(c.station) + "\"},\n \"draw_days\": " +
                                std::to_string(c.drawDays) + ",\n"),
              std::string::npos)
        << reported.out;
  }
  const Outcome table = RunOn(book, {"stats", "--region", "Miền Trung", "--station", "Khánh Hòa", "--numbers", "17"});
  EXPECT_NE(table.out.find("station  Khánh Hòa\n"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find(": 2\n"), std::string::npos) << table.out;
}

// Without --from and --to, the period is the one the control sheet keeps, as for a count of the whole region.
TEST_F(StationTest, StatsCountsThePeriodOfTheControlSheet) {
  const fs::path book = Book();
  ASSERT_EQ(Run({"stats", book.string(), "--from", "2026-08-08", "--to", "2026-08-10", "--region", "Miền Trung"}).code,
            0);
  struct Case {
    std::vector<std::string> period;
    const char* csv;
  };
  // Đà Nẵng drew on 08-05 (17), 08-08 (06) and 08-12 (17).
  const Case cases[] = {
      {{}, "17,,\n06,1,1\n"},
      {{"--to", "2026-08-31"}, "17,1,1\n06,1,1\n"},
      {{"--from", "2026-08-01"}, "17,1,1\n06,1,1\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"stats", book.string(), "--station", "Đà Nẵng", "--numbers", "17,06", "--format", "csv"};
    args.insert(args.end(), c.period.begin(), c.period.end());
    const Outcome r = Run(args);
    EXPECT_EQ(r.out, std::string("number,days,appearances\n") + c.csv) << r.err;
  }
}

TEST_F(StationTest, GanCountsGapsInTheDaysTheStationDrew) {
  struct Case {
    const char* region;
    const char* station;
    int drawDays;
    const char* rows;  // of 17, 71, 06 and 50 as gan orders them: number,last_drawn,current_gap,longest_gap,...
  };
  const Case cases[] = {
      // 2026-08-05 and 08-09; on 08-12 its name stands over no prizes.
      {"Miền Trung", "Khánh Hòa", 2,
       "50,,2,,,false\n17,2026-08-05,1,1,2026-08-09,true\n06,2026-08-09,0,0,2026-08-09,true\n"
       "71,2026-08-09,0,0,2026-08-09,true\n"},
      // 2026-08-05, 08-08 and 08-12.
      {"Miền Trung", "Đà Nẵng", 3,
       "50,,3,,,false\n06,2026-08-08,1,1,2026-08-12,true\n17,2026-08-12,0,1,2026-08-12,false\n"
       "71,2026-08-12,0,0,2026-08-12,true\n"},
      // 2026-08-08 and 08-10.
      {"Miền Nam", "TP. HCM", 2,
       "06,,2,,,false\n50,,2,,,false\n71,2026-08-08,1,1,2026-08-10,true\n17,2026-08-10,0,0,2026-08-10,true\n"},
  };
  const fs::path book = Book();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.station);
    const auto asked = [&](const char* format) {
      return std::vector<std::string>{"gan", "--region", c.region, "--station", c.station, "--type", "2 Con",
                                      "--top", "100",  "--format", format};
    };
    const Outcome csv = RunOn(book, asked("csv"));
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(LinesOf(csv.out, {"17,", "71,", "06,", "50,"}), c.rows);
    const Outcome json = RunOn(book, asked("json"));
    EXPECT_NE(json.out.find("\"station\": \"" + std::string(c.station) + "\"},\n \"draw_days\": " +
                            std::to_string(c.drawDays) + ",\n"),
              std::string::npos)
        << json.out;
    const Outcome table = RunOn(book, asked("table"));
    EXPECT_NE(table.out.find("station  " + std::string(c.station) + "\n" + std::to_string(c.drawDays) + " draw days\n"),
              std::string::npos)
        << table.out;
  }
}

TEST_F(StationTest, AStationTheDaysDoNotHoldIsBadUsageNamingThoseTheyHold) {
  struct Case {
    const char* region;
    const char* station;
    const char* from;
    const char* error;
  };
  const Case cases[] = {
      {"Miền Trung", "Huế", "2026-08-01",
       "no draw day of the period has the station \"Huế\"; it has Đà Nẵng, Khánh Hòa, Quảng Ngãi, Đắk Nông, Kon Tum, "
       "Thừa Thiên Huế, Phú Yên\n"},
      // From 08-10 on, Khánh Hòa's name is there on 08-12 only, over no prizes.
      {"Miền Trung", "Khánh Hòa", "2026-08-10",
       "no draw day of the period has the station \"Khánh Hòa\"; it has Thừa Thiên Huế, Phú Yên, Đà Nẵng\n"},
      {"Miền Nam", "Khánh Hòa", "2026-08-01",
       "no draw day of the period has the station \"Khánh Hòa\"; it has TP. HCM, Long An, Bình Phước, Hậu Giang, "
       "Đồng Tháp, Cà Mau\n"},
      {"Miền Bắc", "TP. HCM", "2026-08-01",
       "--station chooses a station of Miền Trung or Miền Nam; the region is Miền Bắc\n"},
  };
  const fs::path book = Book();
  for (const Case& c : cases)
    for (const char* command : {"stats", "gan"}) {
      SCOPED_TRACE(std::string(command) + " " + c.station + " from " + c.from);
      const Outcome r = RunOn(book, {command, "--region", c.region, "--station", c.station}, c.from);
      EXPECT_EQ(r.code, 2);
      EXPECT_NE(r.err.find(std::string("pradima: ") + c.error), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
    }
}

// The đầu and đuôi of the stats JSON against a count of the bundled North results made here from their CSV file.
TEST_F(StationTest, StatsJsonCarriesTheHeadsAndTailsOfTheBundledNorthResults) {
  std::array<int64_t, 10> heads{}, tails{};
  std::ifstream csv(fs::path(PRADIMA_EXAMPLE_BOOK).parent_path() / "north-results-2005-2026.csv");
  for (std::string line; std::getline(csv, line);) {
    if (line.compare(0, 10, "2026-03-01") < 0 || line.compare(0, 10, "2026-05-31") > 0) continue;
    std::istringstream fields(line.substr(11));
    for (std::string prize; std::getline(fields, prize, ',');) {
      const int lo = std::stoi(prize) % 100;
      ++heads[static_cast<size_t>(lo / 10)], ++tails[static_cast<size_t>(lo % 10)];
    }
  }
  const auto array = [](const std::array<int64_t, 10>& counts) {
    std::string text;
    for (const int64_t count : counts) text += (text.empty() ? "[" : ", ") + std::to_string(count);
    return text + "]";
  };
  const std::string example = Example().string();
  const Outcome two = Run({"stats", example, "--from", "2026-03-01", "--to", "2026-05-31", "--region",
                           "Miền Bắc", "--weekday", "Tất cả", "--type", "2 Con", "--format", "json"});
  ASSERT_EQ(two.code, 0) << two.err;
  EXPECT_NE(two.out.find("\"station\": null},\n \"draw_days\": 92,\n"), std::string::npos) << two.out.substr(0, 300);
  EXPECT_NE(two.out.find(" ],\n \"dau\": " + array(heads) + ",\n \"duoi\": " + array(tails) + "}\n"), std::string::npos)
      << two.out.substr(two.out.size() - 200);
  const Outcome three = Run({"stats", example, "--type", "3 Con", "--format", "json"});
  EXPECT_NE(three.out.find(" ],\n \"dau\": null,\n \"duoi\": null}\n"), std::string::npos);
}

}  // namespace
}  // namespace pradima::cli
