// Files made to hurt: a sheet that inflates to gigabytes, one name twice in
// the archive, markup the reader would read otherwise than it stands.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <optional>

#include "base/error.h"
#include "support/cli_fixture.h"
#include "xlsx/deflate.h"
#include "xlsx/worksheet_read.h"
#include "xlsx/xml_part.h"
#include "xlsx/zip_writer.h"

namespace pradima::xlsx {
namespace {

constexpr const char* kOwnSheet = "xl/worksheets/notes.xml";  // a sheet of the user's, which no command reads
constexpr const char* kControlSheet = "xl/worksheets/sheet3.xml";

// A raw deflate stream of one block of fixed codes: `head`, `runs` runs of
// 258 spaces, then `tail`. Thirteen bits a run: a few megabytes inflate to
// more than a gigabyte.
std::string SpacedStream(std::string_view head, uint64_t runs, std::string_view tail) {
  std::string out;
  uint64_t bits = 0;
  int held = 0;
  const auto put = [&](uint32_t value, int count) {  // lowest bit first
    bits |= uint64_t{value} << held;
    for (held += count; held >= 8; held -= 8, bits >>= 8) out += static_cast<char>(bits & 0xFF);
  };
  const auto code = [&](uint32_t value, int count) {  // a code goes highest bit first
    for (int i = count - 1; i >= 0; --i) put((value >> i) & 1, 1);
  };
  const auto literals = [&](std::string_view text) {
    for (unsigned char c : text) c < 144 ? code(0x30 + c, 8) : code(0x190 + c - 144, 9);
  };
  put(0b011, 3);  // the last block, fixed codes
  literals(head);
  literals(" ");
  for (uint64_t i = 0; i < runs; ++i) put(0xA3, 13);  // length 258 (code 285), distance 1 (code 0)
  literals(tail);
  code(0, 7);  // the block's end
  put(0, 7);
  return out;
}

// A worksheet part of code name `codeName` whose sheet data is `runs` runs of blanks.
struct Spaced {
  StoredPart part;
  uint64_t plainSize;
};
Spaced SpacedSheet(const std::string& name, const std::string& codeName, uint64_t runs) {
  const std::string head = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                           "<sheetPr codeName=\"" + codeName + "\"/><sheetData>";
  const std::string tail = "</sheetData></worksheet>";
  constexpr uint64_t kRunsAtOnce = 4096;
  const std::string blanks(258 * kRunsAtOnce, ' ');
  uint32_t crc = Crc32(" ", Crc32(head));
  for (uint64_t done = 0; done < runs; done += kRunsAtOnce)
    crc = Crc32(std::string_view(blanks).substr(0, 258 * std::min(kRunsAtOnce, runs - done)), crc);
  const uint64_t size = head.size() + 1 + runs * 258 + tail.size();
  return {{name, 8, Crc32(tail, crc), size, 0, SpacedStream(head, runs, tail)}, size};
}

class HostilePackageTest : public CliTest {
 protected:
  // The new workbook with a fourth sheet of the user's, and `stored` in
  // place of the part of its name; `twice` writes that part a second time.
  fs::path Built(const StoredPart& stored, bool twice = false) {
    const std::string created = Created().string();
    ZipPackage package(created);
    std::map<std::string, std::string> parts;
    int error = 0;
    zip_t* archive = zip_open(created.c_str(), ZIP_RDONLY, &error);
    for (zip_int64_t i = 0; archive && i < zip_get_num_entries(archive, 0); ++i) {
      const std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
      parts[name] = package.Read(name);
    }
    zip_discard(archive);
    const auto insert = [&](const char* part, const char* before, const std::string& entry) {
      parts[part].insert(parts[part].find(before), entry);
    };
    insert("xl/workbook.xml", "</sheets>", "<sheet name=\"Notes\" sheetId=\"4\" r:id=\"rIdNotes\"/>");
    insert("xl/_rels/workbook.xml.rels", "</Relationships>",
           "<Relationship Id=\"rIdNotes\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
           "worksheet\" Target=\"worksheets/notes.xml\"/>");
    parts[kOwnSheet] = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                       "<sheetPr codeName=\"Notes\"/><sheetData/></worksheet>";
    const fs::path book = directory / "built.xlsx";
    fs::remove(book);
    ZipWriter writer(book.string(), book.string(), true);
    for (const auto& [name, content] : parts) {
      if (name == stored.name) writer.AddStored(stored);
      else writer.AddDeflated(name, content);
    }
    if (twice) writer.AddStored(stored);
    writer.Finish();
    return book;
  }

  // The test build of the tool in a process of its own, its address space
  // capped at 1 GiB, stdout dropped; its exit code and what it wrote to stderr.
  Outcome RunCapped(const std::vector<std::string>& args) {
    const fs::path errors = directory / "errors.txt";
    std::vector<std::string> texts = {PRADIMA_TEST_TOOL};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    std::string site = "PRADIMA_TEST_SITE=http://127.0.0.1:9", now = "PRADIMA_TEST_NOW=2026-08-23 12:00";
    char* environment[] = {site.data(), now.data(), nullptr};
    const pid_t child = fork();
    if (child == 0) {
#if !defined(__SANITIZE_ADDRESS__)
      // The address sanitizer reserves terabytes of address space up front
      // and cannot start under a cap: in that build the child runs uncapped.
      const rlimit cap{rlim_t{1} << 30, rlim_t{1} << 30};
      setrlimit(RLIMIT_AS, &cap);
#endif
      if (!freopen("/dev/null", "w", stdout) || !freopen(errors.c_str(), "w", stderr)) _exit(126);
      execve(argv[0], argv.data(), environment);
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), "", Slurp(errors)};
  }
};

// 5,000,000 runs: 1.29 GB of spaces from an 8 MB part, over the limit and over the cap.
constexpr uint64_t kHugeRuns = 5000000;

TEST_F(HostilePackageTest, ASheetNoCommandReadsIsNeverInflatedAndOneItReadsIsRefusedUnderAMemoryCap) {
  struct Case {
    const char* name;
    const char* part;       // the part that inflates to 1.29 GB
    const char* codeName;   // its code name
    std::vector<std::string> command;
    int code;
    const char* error;  // in what the tool says, with the book's path before it; none on success
  } const cases[] = {
      {"a read-only command", kOwnSheet, "Notes", {"gan", "BOOK"}, 0, nullptr},
      {"a command that saves", kOwnSheet, "Notes", {"numbers", "BOOK", "3 Con"}, 0, nullptr},
      {"the control sheet, which gan reads", kControlSheet, "Sheet3", {"gan", "BOOK"}, 1,
       " is too large: it inflates to 1290000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Spaced huge = SpacedSheet(c.part, c.codeName, kHugeRuns);
    ASSERT_GT(huge.plainSize, kLargestPart * 2);
    ASSERT_LT(huge.part.bytes.size(), 9u << 20);
    const fs::path book = Built(huge.part);
    std::vector<std::string> args = c.command;
    args[1] = book.string();
    const Outcome outcome = RunCapped(args);
    EXPECT_EQ(outcome.code, c.code) << outcome.err;
    if (c.error) {
      EXPECT_NE(outcome.err.find(std::string("the part ") + c.part + " of " + book.string() + c.error),
                std::string::npos)
          << outcome.err;
    } else {
      // The sheet comes through a save as it was stored, byte for byte.
      EXPECT_NE(Slurp(book).find(huge.part.bytes), std::string::npos);
    }
  }
}

// A part whose archive entry understates what it inflates to: inflating
// stops at the size it claims.
TEST_F(HostilePackageTest, APartThatInflatesBeyondWhatItClaimsIsRefused) {
  Spaced lying = SpacedSheet(kControlSheet, "Sheet3", kHugeRuns);
  lying.part.size = 1 << 20;
  const fs::path book = Built(lying.part);
  try {
    XlsxWorkbook::Open(book.string(), FileAccess::Read);
    FAIL() << "read";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find(std::string(kControlSheet) + " of " + book.string() +
                                         " is damaged: it does not inflate to what the archive says it holds"),
              std::string::npos)
        << e.what();
  }
}

// Markup of the user's sheet, the results sheet or the workbook part that
// a reader would read otherwise than it stands, or two entries of one name.
TEST_F(HostilePackageTest, WhatTheReaderCannotKeepIsRefusedNamingTheFileAndThePart) {
  const ZipPackage created(Created().string());
  // The part as init wrote it with `text` before the first `before`.
  const auto with = [&](const std::string& part, const std::string& before, const std::string& text) {
    std::string xml = created.Read(part);
    return xml.insert(xml.find(before), text);
  };
  struct Case {
    const char* name;
    const char* part;
    std::string content;
    bool twice;
    const char* error;  // after "<part> of <book>"; none when the book opens
  } const cases[] = {
      {"a document type", "xl/workbook.xml",
       with("xl/workbook.xml", "<workbook", "<!DOCTYPE workbook [<!ENTITY e \"x\">]>"), false,
       " has a document type declaration"},
      {"a named entity in a cell", "xl/worksheets/sheet1.xml", with("xl/worksheets/sheet1.xml", "</t>", "&nbsp;"),
       false, " holds the entity reference &nbsp;"},
      {"a named entity the scan passes over", "xl/worksheets/sheet1.xml",
       with("xl/worksheets/sheet1.xml", "</worksheet>", "<extLst><ext uri=\"&u;\"/></extLst>"), false,
       " holds the entity reference &u;"},
      {"a bare ampersand in the user's sheet, read when every sheet is", kOwnSheet,
       "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>AT&T</t></is></c></row></sheetData>"
       "</worksheet>",
       false, " holds a bare &"},
      {"one name twice", "xl/worksheets/sheet2.xml", with("xl/worksheets/sheet2.xml", "<", ""), true, nullptr},
      {"the parser's own references, and an entity in a comment", "xl/worksheets/sheet1.xml",
       with("xl/worksheets/sheet1.xml", "</t>", "&#233;&#xE9;&lt;<!-- &c; -->"), false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string stored = Deflate(c.content, 1);
    const fs::path book = Built({c.part, 8, Crc32(c.content), c.content.size(), 0, stored}, c.twice);
    try {
      const XlsxWorkbook workbook = XlsxWorkbook::Open(book.string(), FileAccess::Read);
      EXPECT_FALSE(c.error || c.twice) << "opened";
      if (c.error || c.twice) continue;
      const std::string title(workbook.book()->SheetByCodeName("Sheet1")->Get(1, 1).text());
      EXPECT_TRUE(title.ends_with("\xC3\xA9\xC3\xA9<")) << title;
    } catch (const Error& e) {
      const std::string expected = c.twice ? book.string() + " holds the part " + c.part + " twice"
                                           : std::string(c.part) + " of " + book.string() + (c.error ? c.error : "");
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
  }
}

// What the start of a sheet part tells: its root and the code name before its sheet data.
TEST(SheetStartTest, TheCodeNameIsReadFromTheStartOrTheStartSaysItCannotTell) {
  struct Case {
    const char* start;
    std::optional<SheetStart> read;
  } const cases[] = {
      {"\xEF\xBB\xBF<?xml version=\"1.0\"?><worksheet><sheetPr codeName=\"Sheet1\"><tabColor rgb=\"FF0000\"/>",
       SheetStart{true, "Sheet1"}},
      {"<x:worksheet xmlns:x=\"m\"><x:sheetPr codeName=\"K&#233;\"/>", SheetStart{true, "K\xC3\xA9"}},
      {"<worksheet><dimension ref=\"A1\"/><sheetViews><sheetView/></sheetViews><sheetData>", SheetStart{true, ""}},
      {"<worksheet><sheetData/><sheetPr codeName=\"Late\"/></worksheet>", SheetStart{true, ""}},
      {"<worksheet/>", SheetStart{true, ""}},
      {"<chartsheet><sheetPr codeName=\"Chart1\"/>", SheetStart{false, ""}},
      // Cut short, or markup the full parser reads in ways of its own.
      {"<worksheet><sheetPr codeNa", std::nullopt},
      {"<worksheet><sheetViews><sheetView>", std::nullopt},
      {"<!DOCTYPE worksheet><worksheet><sheetPr codeName=\"Sheet1\"/>", std::nullopt},
      {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><worksheet><sheetPr codeName=\"Sheet1\"/>", std::nullopt},
      {"<worksheet><x:sheetPr codeName=\"Sheet1\"/>", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<SheetStart> read = ReadSheetStart(c.start);
    ASSERT_EQ(read.has_value(), c.read.has_value()) << c.start;
    if (!read) continue;
    EXPECT_EQ(read->worksheet, c.read->worksheet) << c.start;
    EXPECT_EQ(read->codeName, c.read->codeName) << c.start;
  }
}

// References in markup: the parser's own are read, any other is refused where it is not text already.
TEST(UnknownReferencesTest, OnlyReferencesOutsideTheParsersOwnAreRefused) {
  struct Case {
    const char* xml;
    const char* refused;  // in the error; none when the markup passes
  } const cases[] = {
      {"<a b=\"&quot;&apos;\">&amp;&lt;&gt;&#65;&#x41;&#0000065;</a>", nullptr},
      {"<a><!-- &x; --><![CDATA[&y; ]]> ]]>?><?p &z;?>&amp;</a>", nullptr},
      {"<a>&nbsp;</a>", "the entity reference &nbsp;"},
      {"<a b=\"&x;\"/>", "the entity reference &x;"},
      {"<a><!-- c -->&e;</a>", "the entity reference &e;"},
      {"<a>&#x;</a>", "the entity reference &#x;"},
      {"<a>AT&T</a>", "a bare &"},
      {"<a>&#12a;</a>", "the entity reference &#12a;"},
  };
  for (const Case& c : cases) {
    try {
      RefuseUnknownReferences(c.xml, "p.xml");
      EXPECT_EQ(c.refused, nullptr) << c.xml;
    } catch (const Error& e) {
      ASSERT_NE(c.refused, nullptr) << c.xml << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(std::string("the part p.xml holds ") + c.refused), std::string::npos)
          << e.what();
    }
  }
}

}  // namespace
}  // namespace pradima::xlsx
