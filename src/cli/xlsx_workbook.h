#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/calc_chain.h"
#include "cli/cell_formats.h"
#include "cli/workbook_file.h"
#include "cli/worksheet_read.h"
#include "cli/zip_package.h"
#include "session/memory_workbook.h"

namespace pradima::cli {

// An .xlsx or .xlsm file loaded into the in-memory workbook: every sheet
// with its tab name and code name (sheetPr/@codeName), cell values (dates
// by their number format), and the workbook-level names that refer to a
// range of one sheet. Saving writes back only the cell values of the sheets
// that changed; every other part of the file is copied as it was.
class XlsxWorkbook {
 public:
  // Holds the file for the life of the object (see WorkbookFile): a second
  // open of the same file to write fails until this one is gone.
  static XlsxWorkbook Open(const std::string& path, FileAccess access = FileAccess::Write);
  XlsxWorkbook(XlsxWorkbook&&) noexcept;
  ~XlsxWorkbook();

  const std::shared_ptr<MemoryWorkbook>& book() const { return book_; }
  const std::string& path() const { return path_; }
  // The tab names of the sheets that had no code name and took theirs from
  // the tab name (see BindCodeNamesByTabNames); saving writes them back.
  const std::vector<std::string>& bound_by_tab_name() const { return bound_by_tab_name_; }

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
  std::vector<std::string> shared_strings_;
  std::vector<std::string> bound_by_tab_name_;
};

// A new workbook file laid out as the engine expects, with drop-down lists
// on the control sheet; an .xlsm file is a macro-enabled package. Refuses to
// overwrite an existing file and a name that is neither .xlsx nor .xlsm.
void CreateStandardWorkbook(const std::string& path, const CivilDate& today);

// Whether the file name ends with `extension` (".xlsm"), in any case.
bool HasExtension(const std::string& path, std::string_view extension);

}  // namespace pradima::cli
