// libFuzzer target for the workbook reader and writer. An input is either a
// whole package (first byte odd) or the XML of the results sheet placed into
// a standard workbook (first byte even). Whatever it holds, opening gives a
// workbook or a clear error, never a crash or a hang; and a workbook the
// tool opened and saved opens again.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/error.h"
#include "cli/xlsx_workbook.h"
#include "cli/zip_package.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/pradima-fuzz-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    return std::string(name);
  }();
  return folder;
}

// The standard workbook, made once.
const std::string& Template() {
  static const std::string path = [] {
    const std::string file = Folder() + "/template.xlsx";
    pradima::cli::CreateStandardWorkbook(file, {2026, 12, 6});
    return file;
  }();
  return path;
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return;
  }
  pradima::cli::ZipPackage(Template()).WriteTo(path, {{"xl/worksheets/sheet1.xml", bytes}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string path = Folder() + "/book.xlsx";
  WriteInput(path, data, size);
  bool opened = false;
  try {
    pradima::cli::XlsxWorkbook workbook = pradima::cli::XlsxWorkbook::Open(path);
    opened = true;
    for (const auto& sheet : workbook.book()->sheets()) sheet->modified = true;
    workbook.Save();
  } catch (const pradima::Error&) {
    // A clear error about the file: what a user gets.
  }
  if (opened) {
    // What the tool wrote, it reads back.
    try {
      pradima::cli::XlsxWorkbook again = pradima::cli::XlsxWorkbook::Open(path);
    } catch (const pradima::Error& e) {
      std::fprintf(stderr, "a workbook the tool saved does not open again: %s\n", e.what());
      std::abort();
    }
  }
  return 0;
}
