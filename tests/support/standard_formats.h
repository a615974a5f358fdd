#pragma once
// The cell formats of a new workbook, for tests that read cells without a
// file: format 1 shows a date.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "xlsx/cell_formats.h"
#include "xlsx/xlsx_workbook.h"

namespace pradima::xlsx {

inline CellFormats StandardFormats() {
  const std::string name = std::string("pradima-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string path = (std::filesystem::temp_directory_path() / (name + ".xlsx")).string();
  std::filesystem::remove(path);
  cli::CreateStandardWorkbook(path, {2026, 12, 6});
  CellFormats formats = CellFormats::Read(ZipPackage(path));
  std::filesystem::remove(path);
  return formats;
}

}  // namespace pradima::xlsx
