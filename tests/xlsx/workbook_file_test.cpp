// Replacing a workbook file: what the file was stays, and runs do not collide.
#include <sys/stat.h>
#include <unistd.h>

#include "base/error.h"
#include "base/files.h"
#include "support/cli_fixture.h"
#include "xlsx/workbook_file.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {
namespace {

struct stat StatusOf(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0);
  return status;
}

// A saved workbook keeps its permissions, and its owner, which only the superuser can give a file. A workbook
// nobody may write is refused and stays as it was. gan only reads: it reads any workbook it may read, or one
// another run holds, as it stands; a workbook opened to be read is never written.
TEST_F(CliTest, AWorkbookKeepsItsPermissionsAndOwnerAndOneNobodyMayWriteIsRefusedButGanReadsIt) {
  const bool superuser = ::geteuid() == 0;
  for (const mode_t mode : {0600, 0640, 0664, 0644, 0660, 0444, 0400, 0000}) {
    const fs::path book = directory / ("mode " + std::to_string(mode) + ".xlsx");
    SCOPED_TRACE(book.filename());
    fs::copy_file(Created(), book);
    ASSERT_EQ(::chmod(book.c_str(), mode), 0);
    ASSERT_EQ(superuser ? ::chown(book.c_str(), 4321, 8765) : 0, 0);
    const std::string before = Slurp(book);
    const bool writable = (mode & 0200) != 0;
    const Outcome r = Run({"numbers", book.string(), "3 Con"});
    EXPECT_EQ(r.code, writable ? 0 : 1) << r.err;
    EXPECT_EQ(r.err.find(book.string() + " is read-only") != std::string::npos, !writable) << r.err;
    const struct stat status = StatusOf(book);
    EXPECT_EQ(status.st_mode & 07777, mode) << std::oct << mode;
    EXPECT_EQ(status.st_uid, superuser ? 4321u : ::geteuid());
    EXPECT_EQ(status.st_gid, superuser ? 8765u : ::getegid());
    if (::access(book.c_str(), R_OK) != 0) {
      EXPECT_EQ(Slurp(book), before);
      continue;
    }
    const Outcome gan = Run({"gan", book.string(), "--top", "3"});
    EXPECT_EQ(gan.code, 0) << gan.err;
    EXPECT_EQ(gan.err,
              "pradima: the results sheet holds no draw yet: \"pradima update '" + book.string() + "'\" fetches them\n");
    XlsxWorkbook opened = XlsxWorkbook::Open(book.string(), FileAccess::Read);
    EXPECT_EQ(opened.book()->SheetByCodeName("Sheet3")->Get(6, 2), Value::Text(writable ? "3 Con" : "2 Con"));
    opened.book()->SheetByCodeName("Sheet3")->Set(1, 1, Value::Text("x"));
    EXPECT_THROW(opened.Save(), Error);
    EXPECT_EQ(Slurp(book) == before, !writable);
  }
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

TEST_F(CliTest, AWorkbookInUseByAnotherRunIsRefusedUntilThatRunPutsANewFileInPlaceOrEnds) {
  const fs::path book = Created();
  const std::string before = Slurp(book);
  {
    XlsxWorkbook other = XlsxWorkbook::Open(book.string());  // another run, still going
    const Outcome r = Run({"numbers", book.string(), "3 Con"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("is in use by another pradima run; try again when that run has finished"), std::string::npos)
        << r.err;
    EXPECT_EQ(Slurp(book), before);
    EXPECT_EQ(Run({"gan", book.string(), "--top", "3"}).code, 0);
    // Once that run has put a new file in place, the lock it holds on the old one stands in no one's way.
    other.book()->SheetByCodeName("Sheet3")->Set(6, 2, Value::Text("3 Con"));
    other.Save();
    EXPECT_EQ(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3")->Get(6, 2), Value::Text("3 Con"));
  }
  const Outcome r = Run({"numbers", book.string(), "3 Con"});
  EXPECT_EQ(r.code, 0) << r.err;
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
