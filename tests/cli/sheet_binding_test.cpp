// Which sheets a command needs, and sheets found by their tab names when a workbook lost its code names.
#include <pugixml.hpp>

#include "support/cli_fixture.h"
#include "xlsx/xlsx_workbook.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima::cli {
namespace {

std::string SheetPart(int number) { return "xl/worksheets/sheet" + std::to_string(number) + ".xml"; }

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST_F(CliTest, UpdateNeedsNoControlSheet) {
  const std::string control = ZipPackage(Created().string()).Read(SheetPart(3));
  const fs::path book =
      CreatedWith("no-control.xlsx", SheetPart(3), Replaced(control, "codeName=\"Sheet3\"", "codeName=\"Notes\""));
  testing::FixtureSite site(testing::StandardPages);
  const Outcome r = Run({"update", book.string()}, site.base_url(), {{2005, 1, 10}, 19, 0, 0});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("10 day(s) added"), std::string::npos) << r.err;
  const auto updated = XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet1");
  EXPECT_EQ(updated->Get(14, 1), Value::Date(SerialFromCivil({2005, 1, 10})));
  EXPECT_EQ(updated->Get(14, 3), Value::Text(testing::FixturePrize({2005, 1, 10}, '2', 1, 1)));
  EXPECT_EQ(site.request_count(), 30u);

  const std::string results = ZipPackage(Created().string()).Read(SheetPart(1));
  const fs::path noResults =
      CreatedWith("no-results.xlsx", SheetPart(1), Replaced(results, "codeName=\"Sheet1\"", "codeName=\"Notes\""));
  const Outcome refused = Run({"update", noResults.string()}, site.base_url(), {{2005, 1, 10}, 19, 0, 0});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("has no worksheet with code name Sheet1 (the results sheet); set the code names"),
            std::string::npos)
      << refused.err;
}

// The new workbook as saved by an application that drops code names: three
// ways a sheet's properties can look without one.
fs::path WithoutCodeNames(const fs::path& created, const fs::path& book, const std::string& workbookFrom = "",
                          const std::string& workbookTo = "") {
  ZipPackage package(created.string());
  std::map<std::string, std::string> parts = {
      {SheetPart(1), Replaced(package.Read(SheetPart(1)), "<sheetPr codeName=\"Sheet1\"/>", "")},
      {SheetPart(2), Replaced(package.Read(SheetPart(2)), "<sheetPr codeName=\"Sheet2\"/>", "<sheetPr/>")},
      {SheetPart(3), Replaced(package.Read(SheetPart(3)), "codeName=\"Sheet3\"", "filterMode=\"0\"")},
  };
  if (!workbookFrom.empty())
    parts["xl/workbook.xml"] = Replaced(package.Read("xl/workbook.xml"), workbookFrom, workbookTo);
  package.WriteTo(book.string(), parts);
  return book;
}

// gan, which never writes, says so; stats writes the code names back.
TEST_F(CliTest, WithoutCodeNamesTheTabsOfANewWorkbookAreFoundAndTheCodeNamesWrittenBack) {
  const fs::path book = WithoutCodeNames(Created(), directory / "saved-elsewhere.xlsx");
  const std::string before = Slurp(book);
  const Outcome gan = Run({"gan", book.string()});
  ASSERT_EQ(gan.code, 0) << gan.err;
  EXPECT_NE(gan.err.find("are taken by their tab names; this command does not change the file"), std::string::npos)
      << gan.err;
  EXPECT_EQ(Slurp(book), before);
  const Outcome r = Run({"stats", book.string(), "--set", "Full"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("has no code names for its sheets"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the sheets KetQua, CaiDat, ThongKe are taken by their tab names"), std::string::npos) << r.err;

  ZipPackage saved(book.string());
  for (int number = 1; number <= 3; ++number) {
    const std::string xml = saved.Read(SheetPart(number));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_buffer(xml.data(), xml.size())) << xml;
    const pugi::xml_node first = doc.child("worksheet").first_child();
    EXPECT_STREQ(first.name(), "sheetPr") << "first in the worksheet: " << xml;
    EXPECT_EQ(first.attribute("codeName").value(), "Sheet" + std::to_string(number)) << xml;
  }
  EXPECT_NE(saved.Read(SheetPart(3)).find("filterMode=\"0\""), std::string::npos) << "other properties stay";
  const Outcome again = Run({"stats", book.string()});
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_EQ(again.err.find("code names"), std::string::npos) << again.err;
}

TEST_F(CliTest, WithoutCodeNamesOtherWorkbooksAreRefusedWithTheRemedy) {
  struct Case {
    const char* name;
    std::string workbookFrom, workbookTo;
  };
  const Case cases[] = {
      {"renamed-tab", "name=\"ThongKe\"", "name=\"Stats\""},
      {"one-code-name", "", ""},
  };
  for (const Case& c : cases) {
    fs::path book =
        WithoutCodeNames(Created(), directory / (std::string(c.name) + ".xlsx"), c.workbookFrom, c.workbookTo);
    if (c.workbookFrom.empty()) {
      // One sheet keeps a code name: the others are not guessed.
      const fs::path kept = directory / "kept.xlsx";
      ZipPackage(book.string())
          .WriteTo(kept.string(), {{SheetPart(2), ZipPackage(Created().string()).Read(SheetPart(2))}});
      book = kept;
    }
    const std::string before = Slurp(book);
    const Outcome r = Run({"stats", book.string()});
    EXPECT_EQ(r.code, 1) << c.name;
    EXPECT_NE(r.err.find("has no worksheet with code name Sheet"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("in the spreadsheet application's VBA editor, or re-create the workbook with pradima init"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Slurp(book), before) << c.name;
  }
}

}  // namespace
}  // namespace pradima::cli
