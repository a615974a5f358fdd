// Files made to hurt, run through the tool under a memory cap: a sheet that
// inflates to gigabytes, one part twice, markup the reader cannot keep.
#include <sys/wait.h>
#include <zip.h>

#include <cstdlib>

#include "session/standard_workbook.h"
#include "support/cli_fixture.h"
#include "xlsx/deflate.h"
#include "xlsx/new_workbook.h"
#include "xlsx/zip_writer.h"

namespace pradima::xlsx {
namespace {

// The address sanitizer reserves terabytes of address space up front and
// cannot start under a cap: in its build the tool runs uncapped.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kCap = "";
#else
constexpr const char* kCap = "ulimit -v 1048576 && ";  // 1 GiB
#endif

// A worksheet part whose stream is one block of fixed codes: its start,
// then five million runs of 258 spaces at thirteen bits a run (8 MB that
// inflate to 1.29 GB). Its CRC is left out: nothing may inflate it whole.
StoredPart SpacedSheet(const std::string& name, const std::string& codeName, uint64_t claimed = 0) {
  constexpr uint64_t kRuns = 5000000;
  const std::string head = "<worksheet><sheetPr codeName=\"" + codeName + "\"/><sheetData> ";
  StoredPart part{name, 8, 0, claimed ? claimed : head.size() + kRuns * 258, 0, {}};
  uint64_t bits = 0;
  int held = 0;
  const auto put = [&](uint32_t value, int count) {  // lowest bit first
    for (bits |= uint64_t{value} << held, held += count; held >= 8; held -= 8, bits >>= 8)
      part.bytes += static_cast<char>(bits & 0xFF);
  };
  put(0b011, 3);  // the last block, fixed codes
  for (const unsigned char c : head)
    for (int bit = 7; bit >= 0; --bit) put(((0x30u + c) >> bit) & 1, 1);  // a literal's code, highest bit first
  for (uint64_t i = 0; i < kRuns; ++i) put(0xA3, 13);                     // length 258 (code 285), distance 1 (code 0)
  put(0, 14);                                                             // the block's end, and the last byte filled
  return part;
}

// A new workbook with a fourth sheet of the user's (Notes, in sheet4.xml),
// in which each case's part replaces the part of its name, `copies` times over.
TEST_F(CliTest, AHostilePackageIsRefusedNamingThePartAndASheetNoCommandReadsIsNeverInflated) {
  const fs::path plain = directory / "plain.xlsx", book = directory / "book.xlsx", errors = directory / "errors";
  const auto layout = NewStandardWorkbook({2026, 8, 23});
  layout->AddSheet("Notes", "Notes");
  CreateWorkbookFile(plain.string(), *layout, {});
  const ZipPackage package(plain.string());
  const auto with = [&](const std::string& part, const std::string& before, const std::string& text) {
    std::string xml = package.Read(part);
    xml.insert(xml.find(before), text);
    return StoredPart{part, 8, Crc32(xml), xml.size(), 0, Deflate(xml, 1)};
  };
  const std::string results = "xl/worksheets/sheet1.xml", settings = "xl/worksheets/sheet2.xml";
  struct Case {
    StoredPart part;
    int copies;
    const char* command;  // run on the book in place of BOOK
    const char* error;    // after "the part <part> of <book>"; none for success
  } const cases[] = {
      {SpacedSheet("xl/worksheets/sheet4.xml", "Notes"), 1, "gan 'BOOK'", nullptr},
      {SpacedSheet("xl/worksheets/sheet4.xml", "Notes"), 1, "numbers 'BOOK' '3 Con'", nullptr},  // copied as stored
      {SpacedSheet("xl/worksheets/sheet3.xml", "Sheet3"), 1, "gan 'BOOK'", " is too large: it inflates to 1290000"},
      {SpacedSheet("xl/worksheets/sheet3.xml", "Sheet3", 1 << 20), 1, "gan 'BOOK'", " is damaged: it does not inflate"},
      {with("xl/workbook.xml", "<workbook", "<!DOCTYPE workbook>"), 1, "gan 'BOOK'",
       " has a document type declaration"},
      {with(results, "</t>", "&nbsp;"), 1, "gan 'BOOK'", " holds the entity reference &nbsp;"},
      {with(settings, "</worksheet>", "<extLst a=\"&u;\"/>"), 1, "gan 'BOOK'", " holds the entity reference &u;"},
      {with(settings, "<", ""), 2, "gan 'BOOK'", " twice"},
      {with(results, "</t>", "&#233;&#xE9;&lt;<!-- &c; --><![CDATA[&d;]]>"), 1, "gan 'BOOK'", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + (" with " + c.part.name));
    fs::remove(book);
    ZipWriter writer(book.string(), "", true);
    int error = 0;
    zip_t* archive = zip_open(plain.c_str(), ZIP_RDONLY, &error);
    for (zip_int64_t i = 0; archive && i < zip_get_num_entries(archive, 0); ++i) {
      const std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
      if (name != c.part.name) writer.AddDeflated(name, package.Read(name));
    }
    zip_discard(archive);
    for (int i = 0; i < c.copies; ++i) writer.AddStored(c.part);
    writer.Finish();

    const std::string line = kCap +
                             std::string("PRADIMA_TEST_SITE=http://127.0.0.1:9 PRADIMA_TEST_NOW='2026-08-23 12:00' ") +
                             PRADIMA_TEST_TOOL + " " + cli::Replaced(c.command, "BOOK", book.string()) +
                             " >/dev/null 2>'" + errors.string() + "'";
    const int status = std::system(line.c_str());
    const std::string said = Slurp(errors);
    EXPECT_EQ(WEXITSTATUS(status), c.error ? 1 : 0) << said;
    const std::string where = c.copies > 1 ? book.string() + " holds the part " + c.part.name
                                           : "the part " + c.part.name + " of " + book.string();
    // A failure names the file and the part; a success leaves the part as it was stored.
    EXPECT_TRUE(c.error ? said.find(where + c.error) != std::string::npos
                        : Slurp(book).find(c.part.bytes) != std::string::npos)
        << said;
  }
}

}  // namespace
}  // namespace pradima::xlsx
