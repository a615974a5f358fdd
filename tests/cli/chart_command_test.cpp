// The charts as the tool writes them: beside a saved workbook, or none.
#include <sys/stat.h>

#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/chart_file.h"
#include "support/cli_fixture.h"
#include "support/svg_reading.h"

namespace pradima::cli {
namespace {

using testing::Box;
using testing::BoxOf;
using testing::Label;
using testing::Labels;
using testing::NamedRects;
using testing::Parsed;
class ChartCommandTest : public CliTest {};

TEST_F(ChartCommandTest, StatsSavesTheWorkbookAndWritesTheChart) {
  const fs::path book = Example();
  const std::string before = Slurp(book);
  const fs::path chart = directory / "counts.svg";
  const Outcome outcome =
      Run({"stats", book.string(), "--from", "2026-01-01", "--to", "2026-03-31", "--region", "Miền Bắc", "--weekday",
           "Tất cả", "--set", "Số Kép", "--type", "2 Con", "--chart", chart.string()});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_NE(Slurp(book), before) << "the request and the counts are saved";
  EXPECT_NE(outcome.out.find("đầu"), std::string::npos) << "the table is printed as without --chart";
  const pugi::xml_document document = Parsed(Slurp(chart));
  EXPECT_EQ(NamedRects(document).size(), 100u);
  // The chart's cell for 00 says what the JSON report says of 00's appearances, listed as it is in "Số Kép".
  const Outcome json = Run({"stats", book.string(), "--format", "json"});
  const size_t at = json.out.find("{\"number\": \"00\"");
  ASSERT_NE(at, std::string::npos) << json.out;
  const std::string count = json.out.substr(json.out.find("\"appearances\": ", at) + 15);
  const Box cell = BoxOf(NamedRects(document).at("cell-00"));
  bool found = false;
  for (const Label& label : Labels(document))
    if (cell.Holds(label.x, label.y) && label.weight == "bold") found = count.starts_with(label.text + "}");
  EXPECT_TRUE(found) << count;
  // Only the chart is left in the folder beside the workbook: no temporary.
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"counts.svg", "example.xlsx"}));
}

TEST_F(ChartCommandTest, GanWritesTheChart) {
  const fs::path book = Example();
  const fs::path chart = directory / "gan.SVG";
  const Outcome outcome = Run({"gan", book.string(), "--from", "2025-01-01", "--to", "2025-12-31", "--type", "2 Con",
                               "--region", "Miền Bắc", "--top", "5", "--chart", chart.string()});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const pugi::xml_document document = Parsed(Slurp(chart));
  EXPECT_NE(std::string(document.document_element().child("title").child_value()).find("Gan"), std::string::npos);
  size_t longest = 0;
  for (const auto& [id, rect] : NamedRects(document)) longest += id.starts_with("longest-");
  EXPECT_EQ(longest, 5u) << "every number of --top 5 was drawn in 2025";
}

TEST_F(ChartCommandTest, AChartReplacedKeepsItsPermissions) {
  const fs::path book = Example();
  const fs::path chart = directory / "kept.svg";
  { std::ofstream(chart) << "old"; }
  fs::permissions(chart, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const Outcome outcome = Run({"gan", book.string(), "--top", "3", "--chart", chart.string()});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_TRUE(Slurp(chart).starts_with("<?xml"));
  EXPECT_EQ(fs::status(chart).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A link stays a link, and the file it points to gets the chart.
  const fs::path link = directory / "link.svg";
  fs::create_symlink(chart, link);
  ASSERT_EQ(Run({"gan", book.string(), "--top", "4", "--chart", link.string()}).code, 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Parsed(Slurp(chart)).select_nodes("//rect[starts-with(@id, 'longest-')]").size(), 4u);
}

TEST_F(ChartCommandTest, AChartThatCannotBeWrittenIsARunTimeErrorNamingIt) {
  const fs::path book = Example();
  const std::string missing = (directory / "no-such-folder" / "c.svg").string();
  for (const char* command : {"stats", "gan"}) {
    const Outcome outcome = Run({command, book.string(), "--chart", missing});
    EXPECT_EQ(outcome.code, 1) << command;
    EXPECT_NE(outcome.err.find("pradima: cannot write the chart " + missing + ": "), std::string::npos) << outcome.err;
  }
  fs::create_directory(directory / "folder.svg");
  const Outcome outcome = Run({"gan", book.string(), "--chart", (directory / "folder.svg").string()});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_TRUE(fs::is_directory(directory / "folder.svg"));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 2) << "no temporary is left";
}

}  // namespace
}  // namespace pradima::cli
