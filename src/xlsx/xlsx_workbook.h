#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "xlsx/calc_chain.h"
#include "xlsx/cell_formats.h"
#include "xlsx/workbook_file.h"
#include "xlsx/worksheet_read.h"
#include "xlsx/zip_package.h"
#include "session/memory_workbook.h"

namespace pradima::xlsx {

// The worksheets a run reads, when it needs not all of them: those of these
// code names, or, in a workbook whose worksheets have no code names, those
// of these tab names. The others are neither inflated nor read (but for
// their first bytes, which hold the code name), and a save copies them as
// they are stored.
struct SheetChoice {
  std::vector<std::string> codeNames;
  std::vector<std::string> tabNames;
};

// An .xlsx or .xlsm file loaded into the in-memory workbook: every sheet
// (or those chosen) with its tab name and code name (sheetPr/@codeName), cell values (dates
// by their number format), and the workbook-level names that refer to a
// range of one sheet. Saving writes back only the cell values of the sheets
// that changed; every other part of the file is copied as it was.
class XlsxWorkbook {
 public:
  // Holds the file for the life of the object (see WorkbookFile): a second
  // open of the same file to write fails until this one is gone.
  static XlsxWorkbook Open(const std::string& path, FileAccess access = FileAccess::Write,
                           const std::optional<SheetChoice>& only = std::nullopt);
  XlsxWorkbook(XlsxWorkbook&&) noexcept;
  ~XlsxWorkbook();

  const std::shared_ptr<MemoryWorkbook>& book() const { return book_; }
  const std::string& path() const { return path_; }

  // Writes a temporary file beside the workbook, then renames it over the
  // workbook, so an interrupted save never leaves a damaged file.
  // Permissions and owner stay; a symbolic link stays and its target is replaced.
  void Save();

 private:
  XlsxWorkbook() = default;
  struct SheetPart {
    std::shared_ptr<MemorySheet> sheet;
    std::string part;
    // Where the part's rows stand in the file as it is open, when the scan read it.
    std::optional<WorksheetLayout> layout;
  };
  bool ChangedSheetsHoldADate() const;
  PackageChanges Changes(CellFormats& formats) const;
  void ReplaceFileWith(const PackageChanges& changes);

  std::string path_;
  std::optional<WorkbookFile> file_;
  std::unique_ptr<ZipPackage> package_;
  std::shared_ptr<MemoryWorkbook> book_;
  std::vector<SheetPart> sheets_;
  CellFormats formats_;
  std::vector<std::string> sharedStrings_;
};

}  // namespace pradima::xlsx
