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

// A sheet the workbook part lists, and what is known of it so far.
struct ListedSheet {
  std::string part, tabName;
  std::optional<SheetStart> start;
  std::optional<ScannedWorksheet> read;  // once read whole
  std::optional<WorksheetLayout> layout;
};

// A code name stands in a worksheet's first few hundred bytes; this is
// room for long markup before it.
constexpr size_t kSheetStart = 64 << 10;

void ReadWhole(const ZipPackage& package, const CellReader& reader, ListedSheet& sheet) {
  sheet.read = ReadWorksheet(package.Read(sheet.part), package.Where(sheet.part), reader, &sheet.layout);
  sheet.start = SheetStart{sheet.read.has_value(), sheet.read ? sheet.read->codeName : std::string()};
}

bool Holds(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Which of the listed sheets to read: the code names of all come from
// their starts (a start that does not tell is read whole).
std::vector<bool> Choose(const ZipPackage& package, const CellReader& reader, std::vector<ListedSheet>& sheets,
                         const SheetChoice& choice) {
  bool codeNames = false;
  for (ListedSheet& sheet : sheets) {
    sheet.start = ReadSheetStart(package.ReadStart(sheet.part, kSheetStart));
    if (!sheet.start) ReadWhole(package, reader, sheet);
    codeNames = codeNames || (sheet.start->worksheet && !sheet.start->codeName.empty());
  }
  std::vector<bool> chosen;
  chosen.reserve(sheets.size());
  for (const ListedSheet& sheet : sheets) {
    chosen.push_back(sheet.start->worksheet && (codeNames ? Holds(choice.codeNames, sheet.start->codeName)
                                                          : Holds(choice.tabNames, sheet.tabName)));
  }
  return chosen;
}

}  // namespace

XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook::~XlsxWorkbook() = default;

XlsxWorkbook XlsxWorkbook::Open(const std::string& path, FileAccess access, const std::optional<SheetChoice>& only) {
  XlsxWorkbook workbook;
  workbook.path_ = path;
  workbook.file_.emplace(WorkbookFile::Claim(path, access));
  workbook.package_ = OpenWorkbookPackage(path, *workbook.file_);
  const ZipPackage& package = *workbook.package_;
  workbook.sharedStrings_ = ReadSharedStrings(package);
  workbook.formats_ = CellFormats::Read(package);
  const RelationshipTargets targets = ReadWorkbookRelationships(package);
  const pugi::xml_document bookXml = ParseXmlPart(package.Read(kWorkbookPart), package.Where(kWorkbookPart));
  const pugi::xml_node root = Child(bookXml, "workbook");

  workbook.book_ = MemoryWorkbook::Create();
  const CellReader reader(workbook.sharedStrings_, workbook.formats_);
  std::vector<ListedSheet> listed;
  for (pugi::xml_node entry : Child(root, "sheets").children()) {
    const auto target = targets.find(SheetRelationshipId(entry));
    if (target == targets.end() || !package.Has(target->second)) continue;  // a broken link
    listed.push_back({target->second, entry.attribute("name").as_string(), {}, {}, {}});
  }
  const std::vector<bool> chosen =
      only ? Choose(package, reader, listed, *only) : std::vector<bool>(listed.size(), true);
  for (size_t i = 0; i < listed.size(); ++i) {
    ListedSheet& sheet = listed[i];
    if (!chosen[i]) continue;
    if (!sheet.read) ReadWhole(package, reader, sheet);
    if (!sheet.read) continue;  // no worksheet (a chart sheet)
    auto added = workbook.book_->AddSheet(sheet.read->codeName, sheet.tabName);
    for (auto& [row, cells] : sheet.read->rows) added->SetRow(row, std::move(cells));
    added->ForgetChanges();
    sheet.read.reset();
    workbook.sheets_.push_back({std::move(added), sheet.part, std::move(sheet.layout)});
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
    RewrittenSheet rewritten = RewriteSheetXml(package_->Read(part.part), package_->Where(part.part), *part.sheet,
                                               formats, sharedStrings_, part.layout ? &*part.layout : nullptr);
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
