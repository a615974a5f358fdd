#include "xlsx/xlsx_workbook.h"

#include <algorithm>

#include "xlsx/cell_xml.h"
#include "base/file_error.h"
#include "xlsx/sheet_writer.h"
#include "xlsx/workbook_parts.h"
#include "xlsx/worksheet_read.h"
#include "xlsx/xml_part.h"

namespace pradima::xlsx {
namespace {

std::unique_ptr<ZipPackage> OpenWorkbookPackage(const std::string& path, const WorkbookFile& file) {
  auto package = std::make_unique<ZipPackage>(file.target().string(), path);
  if (!package->Has(kWorkbookPart)) Fail(path + " is not a workbook: it has no xl/workbook.xml");
  return package;
}

// The worksheet of a sheet part, added to the book under its code name and
// tab name with its cells; none when the part holds no worksheet (a chart sheet).
std::shared_ptr<MemorySheet> LoadWorksheet(const ZipPackage& package, const std::string& part,
                                           const std::string& tabName, const CellReader& reader, MemoryWorkbook& book,
                                           std::optional<WorksheetLayout>& layout) {
  std::optional<ScannedWorksheet> read = ReadWorksheet(package.Read(part), part, reader, &layout);
  if (!read) return nullptr;
  auto sheet = book.AddSheet(read->codeName, tabName);
  for (auto& [row, cells] : read->rows) sheet->SetRow(row, std::move(cells));
  sheet->ForgetChanges();
  return sheet;
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook::~XlsxWorkbook() = default;

XlsxWorkbook XlsxWorkbook::Open(const std::string& path, FileAccess access) {
  XlsxWorkbook workbook;
  workbook.path_ = path;
  workbook.file_.emplace(WorkbookFile::Claim(path, access));
  workbook.package_ = OpenWorkbookPackage(path, *workbook.file_);
  const ZipPackage& package = *workbook.package_;
  workbook.sharedStrings_ = ReadSharedStrings(package);
  workbook.formats_ = CellFormats::Read(package);
  const RelationshipTargets targets = ReadWorkbookRelationships(package);
  const pugi::xml_document bookXml = ParseXmlPart(package.Read(kWorkbookPart), kWorkbookPart);
  const pugi::xml_node root = Child(bookXml, "workbook");

  workbook.book_ = MemoryWorkbook::Create();
  const CellReader reader(workbook.sharedStrings_, workbook.formats_);
  for (pugi::xml_node entry : Child(root, "sheets").children()) {
    const auto target = targets.find(SheetRelationshipId(entry));
    if (target == targets.end() || !package.Has(target->second)) continue;  // a broken link
    std::optional<WorksheetLayout> layout;
    auto sheet =
        LoadWorksheet(package, target->second, entry.attribute("name").as_string(), reader, *workbook.book_, layout);
    if (sheet) workbook.sheets_.push_back({std::move(sheet), target->second, std::move(layout)});
  }
  DefineRangeNames(Child(root, "definedNames"), *workbook.book_);
  workbook.book_->ResetCalls();  // loading is not the engine's doing
  return workbook;
}

void XlsxWorkbook::Save() {
  // The formats change only once the file has.
  CellFormats formats = formats_;
  const PackageChanges changes = Changes(formats);
  if (changes.replaced.empty()) return;
  ReplaceFileWith(changes);
  formats_ = std::move(formats);
  // The rows now stand elsewhere in the new file: a later save scans it.
  for (SheetPart& part : sheets_) {
    part.sheet->ForgetChanges();
    part.layout.reset();
  }
}

bool XlsxWorkbook::ChangedSheetsHoldADate() const {
  for (const SheetPart& part : sheets_) {
    if (!part.sheet->modified()) continue;
    for (const auto& [row, cells] : part.sheet->rows())
      if (std::any_of(cells.begin(), cells.end(), [](const Value& v) { return v.kind() == CellKind::Date; }))
        return true;
  }
  return false;
}

// The sheets that changed, the styles when a date needs a format that shows
// it and the workbook has none, and no calculation chain once a formula went.
PackageChanges XlsxWorkbook::Changes(CellFormats& formats) const {
  PackageChanges changes;
  if (!formats.dateFormat() && ChangedSheetsHoldADate())
    changes.replaced[kStylesPart] = formats.AddDateFormat(*package_, path_);
  bool formulaWent = false;
  for (const SheetPart& part : sheets_) {
    if (!part.sheet->modified()) continue;
    RewrittenSheet rewritten = RewriteSheetXml(package_->Read(part.part), part.part, *part.sheet, formats,
                                               sharedStrings_, part.layout ? &*part.layout : nullptr);
    changes.replaced[part.part] = std::move(rewritten.xml);
    formulaWent = formulaWent || rewritten.formulaWent;
  }
  if (formulaWent) DropCalculationChain(*package_, changes);
  return changes;
}

void XlsxWorkbook::ReplaceFileWith(const PackageChanges& changes) {
  file_->Replace(
      [&](const std::string& temporary) { package_->WriteTo(temporary, changes.replaced, changes.removed); });
  package_ = std::make_unique<ZipPackage>(file_->target().string(), path_);
}

}  // namespace pradima::xlsx
