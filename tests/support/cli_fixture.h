#pragma once
// A directory of its own for each test of the command-line tool, and the
// tool run in-process on it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"

namespace pradima::cli {

namespace fs = std::filesystem;
using xlsx::XlsxWorkbook;
using xlsx::ZipPackage;

inline std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a folder, sorted.
inline std::vector<std::string> FileNames(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string SheetPart(int number) { return "xl/worksheets/sheet" + std::to_string(number) + ".xml"; }

// `text` with the first `from` replaced by `to`; a `from` it lacks fails the test.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
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

  // `terminal`: standard error is a terminal, where an update shows its progress.
  Outcome Run(std::vector<std::string> args, const std::string& site = "http://127.0.0.1:9",
              LocalDateTime now = {{2026, 8, 23}, 12, 0, 0}, bool terminal = false) {
    std::ostringstream out, err;
    const int code = RunCommand(
        args, site, [now] { return now; }, out, err, terminal);
    return {code, out.str(), err.str()};
  }

  fs::path Example() {
    const fs::path copy = directory / "example.xlsx";
    fs::copy_file(PRADIMA_EXAMPLE_BOOK, copy);
    return copy;
  }

  // A new workbook from init, made once per test.
  fs::path Created() {
    const fs::path created = directory / "created.xlsx";
    if (!fs::exists(created)) {
      EXPECT_EQ(Run({"init", created.string()}).code, 0);
    }
    return created;
  }

  // The new workbook with one part replaced.
  fs::path CreatedWith(const std::string& name, const std::string& part, const std::string& content) {
    const fs::path book = directory / name;
    xlsx::ZipPackage(Created().string()).WriteTo(book.string(), {{part, content}});
    return book;
  }

  // The new workbook with the code name of sheet `number` ("SheetN") changed to `codeName`.
  fs::path CreatedWithCodeName(const std::string& name, int number, const std::string& codeName) {
    const std::string part = SheetPart(number);
    return CreatedWith(name, part,
                       Replaced(ZipPackage(Created().string()).Read(part),
                                "codeName=\"Sheet" + std::to_string(number) + "\"", "codeName=\"" + codeName + "\""));
  }

  // The new workbook as saved by an application that drops code names (three ways a sheet's properties can
  // look without one), with the `changed` parts then replaced.
  fs::path WithoutCodeNames(const std::string& name, const std::map<std::string, std::string>& changed = {}) {
    const ZipPackage created(Created().string());
    std::map<std::string, std::string> parts = {
        {SheetPart(1), Replaced(created.Read(SheetPart(1)), "<sheetPr codeName=\"Sheet1\"/>", "")},
        {SheetPart(2), Replaced(created.Read(SheetPart(2)), "<sheetPr codeName=\"Sheet2\"/>", "<sheetPr/>")},
        {SheetPart(3), Replaced(created.Read(SheetPart(3)), "codeName=\"Sheet3\"", "filterMode=\"0\"")},
        {SheetPart(4), Replaced(created.Read(SheetPart(4)), "<sheetPr codeName=\"Sheet4\"/>", "")},
    };
    for (const auto& [part, content] : changed) parts[part] = content;
    created.WriteTo((directory / name).string(), parts);
    return directory / name;
  }

  fs::path directory;
};

}  // namespace pradima::cli

// The workbook-file tests run the tool too.
namespace pradima::xlsx {
using cli::CliTest;
using cli::FileNames;
using cli::Outcome;
using cli::Slurp;
namespace fs = std::filesystem;
}  // namespace pradima::xlsx
