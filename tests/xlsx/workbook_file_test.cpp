// Replacing a workbook file: what the file was stays, and runs do not collide.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/error.h"
#include "base/files.h"
#include "support/cli_fixture.h"
#include "xlsx/workbook_file.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

mode_t ModeOf(const fs::path& path) {
  struct stat status;
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

TEST_F(CliTest, ASavedWorkbookKeepsItsPermissions) {
  for (const mode_t mode : {0600, 0640, 0664, 0644, 0660}) {
    const fs::path book = directory / ("mode-" + std::to_string(mode) + ".xlsx");
    fs::copy_file(Created(), book);
    ASSERT_EQ(::chmod(book.c_str(), mode), 0);
    const Outcome r = Run({"numbers", book.string(), "3 Con"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ModeOf(book), mode) << std::oct << mode;
    EXPECT_EQ(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3")->Get(6, 2), Value::Text("3 Con"));
  }
}

TEST_F(CliTest, ASavedWorkbookKeepsItsOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a file to another owner";
  const fs::path book = Created();
  ASSERT_EQ(::chown(book.c_str(), 4321, 8765), 0);
  ASSERT_EQ(Run({"numbers", book.string(), "3 Con"}).code, 0);
  struct stat status;
  ASSERT_EQ(::stat(book.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 4321u);
  EXPECT_EQ(status.st_gid, 8765u);
}

TEST_F(CliTest, ASymbolicLinkStaysALinkAndItsTargetIsWritten) {
  const fs::path real = directory / "store" / "real.xlsx";
  fs::create_directories(real.parent_path());
  fs::copy_file(Created(), real);
  const fs::path link = directory / "link.xlsx";
  fs::create_symlink(fs::path("store") / "real.xlsx", link);

  const Outcome r = Run({"numbers", link.string(), "3 Con"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), fs::path("store") / "real.xlsx");
  EXPECT_EQ(XlsxWorkbook::Open(real.string()).book()->SheetByCodeName("Sheet3")->Get(1002, 6), Value::Text("999"));
  EXPECT_EQ(FileNames(real.parent_path()), std::vector<std::string>{"real.xlsx"}) << "no temporary left";
}

TEST_F(CliTest, AReadOnlyWorkbookIsAnErrorAndStaysAsItWas) {
  for (const mode_t mode : {0444, 0400, 0000}) {
    const fs::path book = directory / ("read-only-" + std::to_string(mode) + ".xlsx");
    fs::copy_file(Created(), book);
    ASSERT_EQ(::chmod(book.c_str(), mode), 0);
    const std::string before = Slurp(book);
    const Outcome r = Run({"stats", book.string(), "--type", "3 Con"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(book.string() + " is read-only"), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(book), before);
    EXPECT_EQ(ModeOf(book), mode);
  }
}

// gan only reads: a read-only workbook, or one another run holds, is read as it stands.
TEST_F(CliTest, GanReadsAWorkbookItMayNotWriteOrThatAnotherRunHolds) {
  const fs::path readOnly = directory / "read-only.xlsx";
  fs::copy_file(Created(), readOnly);
  ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
  const std::string before = Slurp(readOnly);
  const Outcome r = Run({"gan", readOnly.string(), "--top", "3"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // A workbook opened to be read is never written.
  XlsxWorkbook opened = XlsxWorkbook::Open(readOnly.string(), FileAccess::Read);
  opened.book()->SheetByCodeName("Sheet3")->Set(1, 1, Value::Text("x"));
  EXPECT_THROW(opened.Save(), Error);
  EXPECT_EQ(Slurp(readOnly), before);
  EXPECT_EQ(ModeOf(readOnly), 0444u);

  const fs::path held = Created();
  XlsxWorkbook other = XlsxWorkbook::Open(held.string());  // another run, still going
  const Outcome whileHeld = Run({"gan", held.string(), "--top", "3"});
  EXPECT_EQ(whileHeld.code, 0) << whileHeld.err;
}

TEST_F(CliTest, AWorkbookInUseByAnotherRunIsRefusedUntilThatRunEnds) {
  const fs::path book = Created();
  const std::string before = Slurp(book);
  {
    XlsxWorkbook other = XlsxWorkbook::Open(book.string());  // another run, still going
    const Outcome r = Run({"numbers", book.string(), "3 Con"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is in use by another pradima run; try again when that run has finished"), std::string::npos)
        << r.err;
    EXPECT_EQ(Slurp(book), before);
  }
  const Outcome r = Run({"numbers", book.string(), "3 Con"});
  EXPECT_EQ(r.code, 0) << r.err;
}

TEST_F(CliTest, TheLockFollowsTheFileThatARunPutInPlace) {
  const fs::path book = Created();
  XlsxWorkbook first = XlsxWorkbook::Open(book.string());
  first.book()->SheetByCodeName("Sheet3")->Set(6, 2, Value::Text("3 Con"));
  first.Save();  // the file is new now; the first run still holds the old one
  XlsxWorkbook second = XlsxWorkbook::Open(book.string());
  EXPECT_EQ(second.book()->SheetByCodeName("Sheet3")->Get(6, 2), Value::Text("3 Con"));
}

TEST_F(CliTest, TemporariesOfAKilledRunAreRemovedAndOthersLeftAlone) {
  const fs::path book = Created();
  const std::string prefix = TemporaryPrefix(fs::canonical(book));
  EXPECT_EQ(prefix, ".created.xlsx.pradima-");
  std::ofstream(directory / (prefix + "a1B2c3")) << "half a zip";
  std::ofstream(directory / (prefix + "a1B2c3.x9Y8z7")) << "half of another";
  std::ofstream(directory / ".other.xlsx.pradima-a1B2c3") << "another workbook's";
  std::ofstream(directory / "notes.txt") << "the user's";
  ASSERT_EQ(Run({"numbers", book.string(), "2 Con"}).code, 0);
  EXPECT_EQ(FileNames(directory),
            (std::vector<std::string>{".other.xlsx.pradima-a1B2c3", "created.xlsx", "notes.txt"}));
}

}  // namespace
}  // namespace pradima::xlsx
