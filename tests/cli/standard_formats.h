#pragma once
// The cell formats of a new workbook, for tests that read cells without a
// file: format 1 shows a date.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cell_formats.h"
#include "cli/xlsx_workbook.h"

namespace pradima::cli {

inline CellFormats StandardFormats() {
  const std::string name = std::string("pradima-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string path = (std::filesystem::temp_directory_path() / (name + ".xlsx")).string();
  std::filesystem::remove(path);
  CreateStandardWorkbook(path, {2026, 12, 6});
  CellFormats formats = CellFormats::Read(ZipPackage(path));
  std::filesystem::remove(path);
  return formats;
}

}  // namespace pradima::cli
