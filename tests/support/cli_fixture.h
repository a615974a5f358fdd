#pragma once
// A directory of its own for each test of the command-line tool, and the
// tool run in-process on it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    const int code = RunCommand(
        args, site, [now] { return now; }, out, err, false);
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

  fs::path directory;
};

// The markup of a cell with a value.
inline std::string CellXml(const std::string& reference, const std::string& value) {
  std::string xml = "<c r=\"";
  xml += reference;
  xml += "\"><v>";
  xml += value;
  xml += "</v></c>";
  return xml;
}

}  // namespace pradima::cli

// The workbook-file tests run the tool too.
namespace pradima::xlsx {
using cli::CellXml;
using cli::CliTest;
using cli::FileNames;
using cli::Outcome;
using cli::Slurp;
namespace fs = std::filesystem;
}  // namespace pradima::xlsx
