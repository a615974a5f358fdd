#include "cli/commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/xlsx_workbook.h"
#include "cli/zip_package.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"

namespace pradima::cli {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Outcome {
  int code;
  std::string out, err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory = fs::temp_directory_path() / ("pradima-cli-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory);
    fs::create_directories(directory);
  }
  void TearDown() override { fs::remove_all(directory); }

  Outcome Run(std::vector<std::string> args, const std::string& site = "http://127.0.0.1:9",
              LocalDateTime now = {{2026, 8, 23}, 12, 0, 0}) {
    std::ostringstream out, err;
    const int code = RunCommand(args, site, [now] { return now; }, out, err, false);
    return {code, out.str(), err.str()};
  }

  fs::path Example() {
    const fs::path copy = directory / "example.xlsx";
    fs::copy_file(PRADIMA_EXAMPLE_BOOK, copy);
    return copy;
  }

  fs::path directory;
};

TEST_F(CliTest, StatsOnTheExamplePrintsAndSavesTheTable) {
  const fs::path book = Example();
  const Outcome r = Run({"stats", book.string(), "--from", "2026-01-01", "--to", "22/08/2026", "--region", "Miền Bắc",
                         "--weekday", "all", "--set", "Số Kép", "--type", "2 Con"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(" * Tổng số ngày thống kê: 230\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("00        50           58\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("77        59           64\n"), std::string::npos) << r.out;

  XlsxWorkbook saved = XlsxWorkbook::Open(book.string());
  const auto control = saved.book()->SheetByCodeName("Sheet3");
  EXPECT_EQ(control->Get(1, 2), Value::Date(SerialFromCivil({2026, 1, 1})));
  EXPECT_EQ(control->Get(5, 2), Value::Text("all"));
  EXPECT_EQ(control->Get(12, 6), Value::Text("99"));
  EXPECT_EQ(control->Get(12, 8), Value::Number(55));
  EXPECT_EQ(saved.book()->SheetByCodeName("Sheet1")->Get(5, 1), Value::Date(SerialFromCivil({2005, 10, 1})));
}

TEST_F(CliTest, BadUsageAndBadFilesGiveTheirExitCodesAndLeaveTheFileAlone) {
  const fs::path book = Example();
  const std::string before = Slurp(book);
  const fs::path text = directory / "notes.xlsx";
  std::ofstream(text) << "not a zip";
  const fs::path noControl = directory / "no-control.xlsx";
  {
    ZipPackage package(book.string());
    std::string sheet = package.Read("xl/worksheets/sheet3.xml");
    sheet.replace(sheet.find("codeName=\"Sheet3\""), 17, "codeName=\"Other\"");
    package.WriteTo(noControl.string(), {{"xl/worksheets/sheet3.xml", sheet}});
  }
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {{}, 2, "no command given"},
      {{"stats", book.string(), "--colour", "red"}, 2, "unknown option --colour"},
      {{"stats", book.string(), "--from", "31/02/2026"}, 2, "--from 31/02/2026 is not a date"},
      {{"stats", book.string(), "--type", "4 Con"}, 2, "--type must be"},
      {{"stats", book.string(), "--to"}, 2, "--to needs a value"},
      {{"numbers", book.string(), "2 con"}, 2, "the number type must be"},
      {{"stats", (directory / "missing.xlsx").string()}, 1, "missing.xlsx: no such file"},
      {{"stats", text.string()}, 1, "is not a workbook file"},
      {{"stats", noControl.string()}, 1, "has no worksheet with code name Sheet3 (the control sheet)"},
      {{"stats", book.string(), "--region", "Miền Tây"}, 1, "the region \"Miền Tây\" is none of"},
      {{"init", book.string()}, 1, "exists already"},
  };
  for (const Case& c : cases) {
    const Outcome r = Run(c.args);
    EXPECT_EQ(r.code, c.code) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Slurp(book), before) << "a failed command does not write the workbook";
}

TEST_F(CliTest, InitThenNumbersThenUpdateFromTheResultsSite) {
  const fs::path book = directory / "new.xlsx";
  ASSERT_EQ(Run({"init", book.string()}).code, 0);
  {
    XlsxWorkbook created = XlsxWorkbook::Open(book.string());
    EXPECT_TRUE(created.book()->FindName("BangDai"));
    EXPECT_TRUE(created.book()->FindName("Bang4"));
    EXPECT_EQ(created.book()->SheetByCodeName("Sheet3")->Get(6, 2), Value::Text("2 Con"));
  }
  ASSERT_EQ(Run({"numbers", book.string(), "3 Con"}).code, 0);
  EXPECT_EQ(XlsxWorkbook::Open(book.string()).book()->SheetByCodeName("Sheet3")->Get(1002, 6), Value::Text("999"));

  testing::FixtureSite site(testing::StandardPages);
  const Outcome r = Run({"update", book.string()}, site.base_url(), {{2005, 1, 10}, 19, 0, 0});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("10 day(s) added"), std::string::npos) << r.err;
  XlsxWorkbook updated = XlsxWorkbook::Open(book.string());
  const auto results = updated.book()->SheetByCodeName("Sheet1");
  EXPECT_EQ(results->Get(14, 1), Value::Date(SerialFromCivil({2005, 1, 10})));
  EXPECT_EQ(results->Get(14, 3), Value::Text(testing::FixturePrize({2005, 1, 10}, '2', 1, 1)));
  EXPECT_EQ(site.request_count(), 30u);
}

TEST_F(CliTest, AnInterruptedUpdateLeavesTheWorkbookByteForByte) {
  const fs::path book = directory / "new.xlsx";
  ASSERT_EQ(Run({"init", book.string()}).code, 0);
  const std::string before = Slurp(book);
  testing::FixtureSite site([](const testing::FixtureRequest& request) {
    const auto query = testing::ParsePageQuery(request.target);
    if (query.day == CivilDate{2005, 1, 5}) return testing::FixtureResponse{200, "", true};
    return testing::StandardPages(request);
  });
  const Outcome r = Run({"update", book.string()}, site.base_url(), {{2005, 1, 10}, 19, 0, 0});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Miền Bắc, 05/01/2005: GET "), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(book), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(CliTest, AMacroProjectAndOtherPartsComeThroughUntouched) {
  const fs::path plain = Example();
  const fs::path book = directory / "example.xlsm";
  std::string macro(4096, '\0');
  for (size_t i = 0; i < macro.size(); ++i) macro[i] = static_cast<char>((i * 131) % 251);
  {
    // a formula on the control sheet, which the statistics run rewrites
    ZipPackage package(plain.string());
    std::string control = package.Read("xl/worksheets/sheet3.xml");
    control.insert(control.find("</sheetData>"), "<row r=\"2000\"><c r=\"K2000\"><f>1+1</f><v>2</v></c></row>");
    package.WriteTo(book.string(), {{"xl/vbaProject.bin", macro}, {"xl/worksheets/sheet3.xml", control}});
  }
  const std::string settingsBefore = ZipPackage(book.string()).Read("xl/worksheets/sheet2.xml");
  const std::string stylesBefore = ZipPackage(book.string()).Read("xl/styles.xml");
  ASSERT_EQ(Run({"stats", book.string(), "--set", "Full"}).code, 0);
  ZipPackage saved(book.string());
  EXPECT_EQ(saved.Read("xl/vbaProject.bin"), macro);
  EXPECT_EQ(saved.Read("xl/worksheets/sheet2.xml"), settingsBefore) << "an unchanged sheet is copied as stored";
  EXPECT_EQ(saved.Read("xl/styles.xml"), stylesBefore);
  const std::string control = saved.Read("xl/worksheets/sheet3.xml");
  EXPECT_NE(control.find("<dataValidations count=\"4\">"), std::string::npos);
  EXPECT_NE(control.find("<c r=\"K2000\"><f>1+1</f><v>2</v></c>"), std::string::npos) << "the formula is kept";
  EXPECT_NE(control.find("<c r=\"F102\" t=\"inlineStr\"><is><t>99</t></is></c>"), std::string::npos);
}

}  // namespace
}  // namespace pradima::cli
