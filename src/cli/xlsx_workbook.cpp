#include "cli/xlsx_workbook.h"

#include <algorithm>

#include "cli/cell_xml.h"
#include "cli/file_error.h"
#include "cli/sheet_binding.h"
#include "cli/sheet_writer.h"
#include "cli/workbook_parts.h"
#include "cli/xml_part.h"

namespace pradima::cli {
namespace {

std::unique_ptr<ZipPackage> OpenWorkbookPackage(const std::string& path, const WorkbookFile& file) {
  auto package = std::make_unique<ZipPackage>(file.target().string(), path);
  if (!package->Has(kWorkbookPart)) Fail(path + " is not a workbook: it has no xl/workbook.xml");
  return package;
}

// The values of a row's cells, column A first, into `cells`; a cell without
// a reference is the one after the cell before it.
void ReadRowCells(const pugi::xml_node& row, const CellReader& reader, std::vector<Value>& cells) {
  cells.clear();
  int32_t column = 0;
  for (pugi::xml_node cell : row.children()) {
    if (!Named(cell, "c")) continue;
    ++column;
    if (const auto reference = ParseAddress(cell.attribute("r").as_string())) column = reference->first.column;
    Value value = reader.Read(cell);
    if (value.IsEmpty()) continue;
    if (static_cast<int32_t>(cells.size()) < column) cells.resize(static_cast<size_t>(column));
    cells[static_cast<size_t>(column - 1)] = std::move(value);
  }
}

// The rows of <sheetData> into the sheet; a row without a number is the one
// after the row before it.
void LoadRows(const pugi::xml_node& sheetData, const CellReader& reader, MemorySheet& sheet) {
  int32_t lastRow = 0;
  std::vector<Value> cells;
  for (pugi::xml_node row : sheetData.children()) {
    const int32_t rowNumber = row.attribute("r").as_int(lastRow + 1);
    lastRow = rowNumber;
    ReadRowCells(row, reader, cells);
    if (rowNumber >= 1 && rowNumber <= kMaxRows && !cells.empty()) sheet.SetRow(rowNumber, std::move(cells));
  }
}

// The worksheet of a sheet part, added to the book under its code name and
// tab name with its cells; none when the part holds no worksheet (a chart sheet).
std::shared_ptr<MemorySheet> LoadWorksheet(const ZipPackage& package, const std::string& part,
                                           const std::string& tabName, const CellReader& reader, MemoryWorkbook& book) {
  const pugi::xml_document xml = ParseXmlPart(package.Read(part), part);
  const pugi::xml_node worksheet = Child(xml, "worksheet");
  if (!worksheet) return nullptr;
  const std::string codeName = Child(worksheet, "sheetPr").attribute("codeName").as_string();
  auto sheet = book.AddSheet(codeName, tabName);
  LoadRows(Child(worksheet, "sheetData"), reader, *sheet);
  sheet->modified = false;
  return sheet;
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook::~XlsxWorkbook() = default;

XlsxWorkbook XlsxWorkbook::Open(const std::string& path) {
  XlsxWorkbook workbook;
  workbook.path_ = path;
  workbook.file_.emplace(WorkbookFile::Claim(path));
  workbook.package_ = OpenWorkbookPackage(path, *workbook.file_);
  const ZipPackage& package = *workbook.package_;
  const std::vector<std::string> sharedStrings = ReadSharedStrings(package);
  workbook.formats_ = CellFormats::Read(package);
  const RelationshipTargets targets = ReadWorkbookRelationships(package);
  const pugi::xml_document bookXml = ParseXmlPart(package.Read(kWorkbookPart), kWorkbookPart);
  const pugi::xml_node root = Child(bookXml, "workbook");

  workbook.book_ = MemoryWorkbook::Create();
  const CellReader reader(sharedStrings, workbook.formats_);
  for (pugi::xml_node entry : Child(root, "sheets").children()) {
    const auto target = targets.find(SheetRelationshipId(entry));
    if (target == targets.end() || !package.Has(target->second)) continue;  // a broken link
    auto sheet = LoadWorksheet(package, target->second, entry.attribute("name").as_string(), reader, *workbook.book_);
    if (sheet) workbook.sheets_.push_back({std::move(sheet), target->second});
  }
  std::vector<std::shared_ptr<MemorySheet>> loaded;
  for (const SheetPart& part : workbook.sheets_) loaded.push_back(part.sheet);
  workbook.bound_by_tab_name_ = BindCodeNamesByTabNames(loaded);
  DefineRangeNames(Child(root, "definedNames"), *workbook.book_);
  workbook.book_->ResetCalls();  // loading is not the engine's doing
  return workbook;
}

void XlsxWorkbook::Save() {
  // The formats change only once the file has.
  CellFormats formats = formats_;
  const Parts changed = ChangedParts(formats);
  if (changed.empty()) return;
  ReplaceFileWith(changed);
  formats_ = std::move(formats);
  for (const SheetPart& part : sheets_) part.sheet->modified = false;
}

bool XlsxWorkbook::ChangedSheetsHoldADate() const {
  for (const SheetPart& part : sheets_) {
    if (!part.sheet->modified) continue;
    for (const auto& [row, cells] : part.sheet->rows())
      if (std::any_of(cells.begin(), cells.end(), [](const Value& v) { return v.kind() == CellKind::Date; }))
        return true;
  }
  return false;
}

// The sheets that changed, and the styles when a date needs a format that
// shows it and the workbook has none.
XlsxWorkbook::Parts XlsxWorkbook::ChangedParts(CellFormats& formats) const {
  Parts changed;
  if (!formats.date_format() && ChangedSheetsHoldADate())
    changed[kStylesPart] = formats.AddDateFormat(*package_, path_);
  for (const SheetPart& part : sheets_) {
    if (part.sheet->modified)
      changed[part.part] = RewriteSheetXml(package_->Read(part.part), part.part, *part.sheet, formats);
  }
  return changed;
}

void XlsxWorkbook::ReplaceFileWith(const Parts& changedParts) {
  file_->Replace([&](const std::string& temporary) { package_->WriteTo(temporary, changedParts); });
  package_ = std::make_unique<ZipPackage>(file_->target().string(), path_);
}

}  // namespace pradima::cli
