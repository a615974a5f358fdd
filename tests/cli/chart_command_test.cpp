// A chart file as the tool replaces it: its permissions and links kept, or an error naming it.
// What the charts show is checked against the published results (published_check.py).
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

using testing::Parsed;
class ChartCommandTest : public CliTest {};

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
