// libFuzzer target for the workbook reader and writer. An input is either a
// whole package (first byte odd) or the XML of the results sheet placed into
// a standard workbook (first byte even). Whatever it holds, opening gives a
// workbook or a clear error, never a crash or a hang; and a workbook the
// tool opened and saved opens again. Sheet XML that the one-pass scan
// reads, it reads exactly as the document tree does.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "../xlsx/same_sheet.h"
#include "base/error.h"
#include "session/standard_workbook.h"
#include "xlsx/new_workbook.h"
#include "xlsx/worksheet_read.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"

namespace {

// A folder of its own, holding the standard workbook made once.
const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/pradima-fuzz-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    const std::string made(name);
    pradima::xlsx::CreateWorkbookFile(made + "/template.xlsx", *pradima::NewStandardWorkbook({2026, 12, 6}), {});
    return made;
  }();
  return folder;
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return;
  }
  pradima::xlsx::ZipPackage(Folder() + "/template.xlsx").WriteTo(path, {{"xl/worksheets/sheet1.xml", bytes}});
}

void CheckScanAgainstTree(const std::string& xml) {
  const std::vector<std::string> sharedStrings{"a", "07"};
  const pradima::xlsx::CellFormats formats;
  const pradima::xlsx::CellReader reader(sharedStrings, formats);
  const std::optional<pradima::xlsx::ScannedWorksheet> scanned = pradima::xlsx::ScanWorksheet(xml, reader);
  if (!scanned) return;
  // Markup the scan reads but the parser refuses escapes as an uncaught error: a crash.
  const auto parsed = pradima::xlsx::ParseWorksheet(xml, "sheet1.xml", reader);
  const std::string difference = parsed ? pradima::xlsx::SheetDifference(*scanned, *parsed) : "no worksheet";
  if (!difference.empty()) {
    std::fprintf(stderr, "the scan and the document tree read the sheet differently: %s\n", difference.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string path = Folder() + "/book.xlsx";
  WriteInput(path, data, size);
  if (!(data[0] & 1)) CheckScanAgainstTree(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  bool opened = false;
  try {
    pradima::xlsx::XlsxWorkbook workbook = pradima::xlsx::XlsxWorkbook::Open(path);
    opened = true;
    for (const auto& sheet : workbook.book()->sheets()) sheet->MarkModified();
    workbook.Save();
  } catch (const pradima::Error&) {
    // A clear error about the file: what a user gets.
  }
  // What the tool wrote, it reads back: a failure to open again escapes as a crash.
  if (opened) pradima::xlsx::XlsxWorkbook::Open(path);
  return 0;
}
