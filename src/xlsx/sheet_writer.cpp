#include "xlsx/sheet_writer.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string_view>

#include "xlsx/cell_xml.h"
#include "base/concat.h"
#include "base/file_error.h"
#include "xlsx/shared_formulas.h"
#include "xlsx/worksheet_read.h"
#include "xlsx/xml_part.h"

namespace pradima::xlsx {
namespace {

using NodesByNumber = std::map<int32_t, pugi::xml_node>;

// "x:" for <x:sheetData>, nothing for <sheetData>.
std::string MarkupPrefix(const pugi::xml_node& element) {
  const std::string_view name = element.name();
  const size_t colon = name.find(':');
  return std::string(name.substr(0, colon == std::string_view::npos ? 0 : colon + 1));
}

// A worksheet without cells may have no <sheetData>; it goes after the
// elements that come before it in a worksheet.
pugi::xml_node FindOrAddSheetData(pugi::xml_node worksheet) {
  if (pugi::xml_node sheetData = Child(worksheet, "sheetData")) return sheetData;
  const std::string name = MarkupPrefix(worksheet) + "sheetData";
  for (const char* before : {"cols", "sheetFormatPr", "sheetViews", "dimension", "sheetPr"})
    if (pugi::xml_node previous = Child(worksheet, before)) return worksheet.insert_child_after(name.c_str(), previous);
  return worksheet.prepend_child(name.c_str());
}

// The row elements by number; a row without a number is the one after the row before it.
NodesByNumber RowsByNumber(const pugi::xml_node& sheetData) {
  NodesByNumber rows;
  int32_t lastRow = 0;
  for (pugi::xml_node row : sheetData.children()) {
    if (!Named(row, "row")) continue;
    lastRow = row.attribute("r").as_int(lastRow + 1);
    if (lastRow >= 1 && lastRow <= kMaxRows) rows[lastRow] = row;
  }
  return rows;
}

// A row element that says nothing but which row it is: it need not be written without cells.
bool CarriesOnlyItsPlace(const pugi::xml_node& row) {
  for (pugi::xml_attribute attribute : row.attributes()) {
    const std::string_view name = attribute.name();
    if (name != "r" && name != "spans") return false;
  }
  return true;
}

// Every row that the part or the sheet holds, in order.
std::set<int32_t> RowNumbers(const NodesByNumber& originalRows, const MemorySheet::Rows& storedRows) {
  std::set<int32_t> numbers;
  for (const auto& [row, node] : originalRows) numbers.insert(row);
  for (const auto& [row, cells] : storedRows) numbers.insert(row);
  return numbers;
}

pugi::xml_node Find(const NodesByNumber& nodes, int32_t number) {
  const auto found = nodes.find(number);
  return found == nodes.end() ? pugi::xml_node() : found->second;
}

std::span<const Value> StoredCells(const MemorySheet& sheet, int32_t row) {
  const auto found = sheet.rows().find(row);
  if (found == sheet.rows().end()) return {};
  return found->second;
}

const Value& StoredValue(const MemorySheet& sheet, int32_t row, int32_t column) {
  static const Value kEmpty;
  const std::span<const Value> cells = StoredCells(sheet, row);
  return column <= static_cast<int32_t>(cells.size()) ? cells[static_cast<size_t>(column - 1)] : kEmpty;
}

// The cell elements of a row by column into `cells`; a cell without a
// reference is the one after the cell before it.
void CellsByColumn(const pugi::xml_node& row, NodesByNumber& cells) {
  cells.clear();
  ForEachCell(row, [&](const pugi::xml_node& cell, int32_t column) {
    if (column >= 1 && column <= kMaxColumns) cells[column] = cell;
  });
}

// The cells of the part with a formula shared with other cells, in order.
std::vector<PlacedCell> SharedFormulaCells(const NodesByNumber& rows) {
  std::vector<PlacedCell> shared;
  NodesByNumber cells;
  for (const auto& [row, node] : rows) {
    CellsByColumn(node, cells);
    for (const auto& [column, cell] : cells)
      if (std::string_view(Child(cell, "f").attribute("t").as_string()) == "shared")
        shared.push_back({row, column, cell});
  }
  return shared;
}

// Writes the rows of the sheet one by one as <row> elements, merging each
// stored row with the row element the part had.
class RowsWriter {
 public:
  RowsWriter(std::string prefix, const CellFormats& formats, const std::vector<std::string>& sharedStrings,
             size_t expectedSize)
      : prefix_(std::move(prefix)), formats_(formats), reader_(sharedStrings, formats) {
    rows_.reserve(expectedSize);
  }

  void AppendRow(int32_t row, const pugi::xml_node& originalRow, std::span<const Value> stored) {
    cells_.clear();
    AppendCells(row, originalRow, stored);
    if (cells_.empty() && (!originalRow || CarriesOnlyItsPlace(originalRow))) return;
    AppendRowElement(row, originalRow);
  }

  // A row whose cells did not change, as the part had it: every cell of it
  // would be kept as it stood.
  void AppendUnchangedRow(int32_t row, std::string_view text, int32_t firstColumn, int32_t lastColumn) {
    rows_ += text;
    Extend(row, firstColumn);
    Extend(row, lastColumn);
  }

  const std::string& xml() const { return rows_; }
  // Whether a cell that had a formula was written without it.
  bool formulaWent() const { return formulaWent_; }

  // A cell element that the part had is kept as it stood, formula, rich
  // text, format and all, when its value did not change.
  bool KeepsOriginal(const pugi::xml_node& original, const Value& value) const {
    return reader_.Read(original) == value;
  }

  // The used range of the sheet: from the first to the last row and column
  // of the cells written; "A1" for a sheet without cells.
  std::string Dimension() const {
    if (maxRow_ == 0) return "A1";
    std::string first = Concat(ColumnLetters(minColumn_), std::to_string(minRow_));
    if (minRow_ == maxRow_ && minColumn_ == maxColumn_) return first;
    return Concat(first, ":", ColumnLetters(maxColumn_), std::to_string(maxRow_));
  }

 private:
  // A date takes a format that shows a date; anything else loses one.
  int FormatFor(const Value& value, int originalFormat) const {
    const bool showsDate = formats_.ShowsDate(originalFormat);
    if (value.kind() == CellKind::Date && !showsDate) return formats_.dateFormat().value_or(0);
    if (value.kind() != CellKind::Date && showsDate && !value.IsEmpty()) return 0;
    return originalFormat;
  }

  void AppendCells(int32_t row, const pugi::xml_node& originalRow, std::span<const Value> stored) {
    static const Value kEmpty;
    CellsByColumn(originalRow, originals_);
    const int32_t storedColumns = static_cast<int32_t>(stored.size());
    const int32_t lastColumn = std::max(storedColumns, originals_.empty() ? 0 : originals_.rbegin()->first);
    auto nextOriginal = originals_.begin();
    for (int32_t column = 1; column <= lastColumn; ++column) {
      const bool hasOriginal = nextOriginal != originals_.end() && nextOriginal->first == column;
      pugi::xml_node original = hasOriginal ? (nextOriginal++)->second : pugi::xml_node();
      const Value& value = column <= storedColumns ? stored[static_cast<size_t>(column - 1)] : kEmpty;
      if (value.IsEmpty() && !original) continue;
      reference_ = ColumnLetters(column);
      reference_ += std::to_string(row);
      if (original && KeepsOriginal(original, value)) {
        // Written with its reference, which a cell may leave to its place in the row.
        if (!original.attribute("r")) original.prepend_attribute("r").set_value(reference_.c_str());
        AppendNodeXml(cells_, original);
      } else {
        if (original && Child(original, "f")) formulaWent_ = true;
        const int format = FormatFor(value, original.attribute("s").as_int(0));
        // A cell the run emptied goes, unless its format is to stay.
        if (value.IsEmpty() && format == 0) continue;
        AppendCellXml(cells_, prefix_, reference_, format, value);
      }
      Extend(row, column);
    }
  }

  void Extend(int32_t row, int32_t column) {
    if (maxRow_ == 0) {
      minRow_ = maxRow_ = row;
      minColumn_ = maxColumn_ = column;
      return;
    }
    minRow_ = std::min(minRow_, row);
    maxRow_ = std::max(maxRow_, row);
    minColumn_ = std::min(minColumn_, column);
    maxColumn_ = std::max(maxColumn_, column);
  }

  // The row element with the part's attributes but its column span, which the cells may have changed.
  void AppendRowElement(int32_t row, const pugi::xml_node& originalRow) {
    rows_ += '<';
    rows_ += prefix_;
    rows_ += "row";
    // The number first, which a row may leave to its place among the rows.
    AppendXmlAttribute(rows_, "r", std::to_string(row));
    for (pugi::xml_attribute attribute : originalRow.attributes()) {
      const std::string_view name = attribute.name();
      if (name != "spans" && name != "r") AppendXmlAttribute(rows_, attribute.name(), attribute.value());
    }
    if (cells_.empty()) {
      rows_ += "/>";
      return;
    }
    rows_ += '>';
    rows_ += cells_;
    rows_ += "</";
    rows_ += prefix_;
    rows_ += "row>";
  }

  const std::string prefix_;
  const CellFormats& formats_;
  const CellReader reader_;
  std::string rows_;
  std::string cells_;        // of the row being written
  NodesByNumber originals_;  // the part's cells of the row being written, by column
  std::string reference_;
  int32_t minRow_ = 0, maxRow_ = 0;
  int32_t minColumn_ = 0, maxColumn_ = 0;
  bool formulaWent_ = false;
};

// The document's markup with the rows where its emptied sheetData stands:
// the rows go in as text, which is much faster than building their nodes.
// The mark for their place is one the rest of the markup does not hold.
std::string MarkupWithRows(pugi::xml_document& doc, pugi::xml_node sheetData, const std::string& rows) {
  while (sheetData.first_child()) sheetData.remove_child(sheetData.first_child());
  pugi::xml_node mark = sheetData.append_child(pugi::node_pcdata);
  for (int attempt = 0;; ++attempt) {
    const std::string placeholder = "pradima-rows-" + std::to_string(attempt);
    mark.set_value(placeholder.c_str());
    const std::string outer = SerializeXml(doc);
    const size_t at = outer.find(placeholder);
    if (outer.find(placeholder, at + 1) != std::string::npos) continue;
    std::string xml;
    xml.reserve(outer.size() + rows.size());
    xml.append(outer, 0, at);
    xml += rows;
    xml.append(outer, at + placeholder.size());
    return xml;
  }
}

// The sheet's code name in <sheetPr>, which comes first in a worksheet.
void WriteCodeName(pugi::xml_node worksheet, const std::string& codeName) {
  if (codeName.empty()) return;
  pugi::xml_node properties = Child(worksheet, "sheetPr");
  if (!properties) properties = worksheet.prepend_child((MarkupPrefix(worksheet) + "sheetPr").c_str());
  pugi::xml_attribute attribute = properties.attribute("codeName");
  if (!attribute) attribute = properties.append_attribute("codeName");
  attribute.set_value(codeName.c_str());
}

// The rows as the writer above writes them, read from the one-pass scan of
// the part instead of its document tree: rows that did not change are copied
// as text, the others parsed on their own. None where the part is left to
// the tree: markup the scan does not read, no <sheetData> with both tags, or
// formulas of a kind (shared ones above all) that tie cells together.
std::optional<RewrittenSheet> RewriteByRows(const std::string& original, const std::string& part,
                                            const MemorySheet& sheet, const CellFormats& formats,
                                            const std::vector<std::string>& sharedStrings,
                                            const WorksheetLayout* known) {
  WorksheetLayout scannedLayout;
  std::optional<ScannedWorksheet> scanned;
  if (!known) {
    scanned = ScanWorksheet(original, CellReader(sharedStrings, formats), &scannedLayout);
    if (!scanned) return std::nullopt;
  }
  const WorksheetLayout& layout = known ? *known : scannedLayout;
  if (!layout.dataElement || layout.formulaKinds) return std::nullopt;

  // The markup around the rows, small enough for a tree.
  std::string outer = original.substr(0, layout.dataBegin);
  outer.append(original, layout.dataEnd);
  pugi::xml_document doc = ParseXmlPart(outer, part);
  const pugi::xml_node worksheet = Child(doc, "worksheet");
  WriteCodeName(worksheet, sheet.codeName());
  const pugi::xml_node sheetData = Child(worksheet, "sheetData");

  // Of rows with the same number, the last stands, as in the tree. The
  // sheet may hold the cells of an earlier one of them (the last may hold
  // none), so such a row is never copied as it stands.
  std::map<int32_t, const RowText*> originalRows;
  std::set<int32_t> repeated;
  for (const RowText& row : layout.rows) {
    if (row.row < 1 || row.row > kMaxRows) continue;
    if (!originalRows.emplace(row.row, &row).second) {
      originalRows[row.row] = &row;
      repeated.insert(row.row);
    }
  }
  // A row is unchanged when the sheet says so, or else when it holds what the scan read.
  const auto unchanged = [&](const RowText& text, std::span<const Value> stored) {
    if (known) return !sheet.changedRows().count(text.row) && !repeated.count(text.row);
    static const std::vector<Value> kNoCells;
    const std::vector<Value>& had = text.values ? scanned->rows[*text.values].second : kNoCells;
    return std::equal(had.begin(), had.end(), stored.begin(), stored.end());
  };
  std::set<int32_t> numbers;
  for (const auto& [row, text] : originalRows) numbers.insert(row);
  for (const auto& [row, cells] : sheet.rows()) numbers.insert(row);

  RowsWriter writer(MarkupPrefix(sheetData), formats, sharedStrings, original.size() + sheet.rows().size() * 1024);
  pugi::xml_document rowDocument;
  for (const int32_t row : numbers) {
    const std::span<const Value> stored = StoredCells(sheet, row);
    const auto found = originalRows.find(row);
    if (found == originalRows.end()) {
      writer.AppendRow(row, pugi::xml_node(), stored);
      continue;
    }
    const RowText& text = *found->second;
    const std::string_view markup = std::string_view(original).substr(text.begin, text.end - text.begin);
    if (text.plain && unchanged(text, stored)) {
      writer.AppendUnchangedRow(row, markup, text.firstColumn, text.lastColumn);
      continue;
    }
    RefuseUnknownReferences(markup, part);
    const pugi::xml_parse_result parsed =
        rowDocument.load_buffer(markup.data(), markup.size(), kPartParseOptions | pugi::parse_fragment);
    if (!parsed) Fail("the part " + part + " is not well-formed XML: " + parsed.description());
    writer.AppendRow(row, rowDocument.first_child(), stored);
  }
  if (pugi::xml_node dimension = Child(worksheet, "dimension"))
    dimension.attribute("ref").set_value(writer.Dimension().c_str());
  return RewrittenSheet{MarkupWithRows(doc, sheetData, writer.xml()), writer.formulaWent()};
}

}  // namespace

RewrittenSheet RewriteSheetXml(const std::string& original, const std::string& part, const MemorySheet& sheet,
                               const CellFormats& formats, const std::vector<std::string>& sharedStrings,
                               const WorksheetLayout* layout) {
  if (std::optional<RewrittenSheet> rewritten = RewriteByRows(original, part, sheet, formats, sharedStrings, layout))
    return std::move(*rewritten);
  return RewriteSheetXmlByTree(original, part, sheet, formats, sharedStrings);
}

RewrittenSheet RewriteSheetXmlByTree(const std::string& original, const std::string& part, const MemorySheet& sheet,
                                     const CellFormats& formats, const std::vector<std::string>& sharedStrings) {
  pugi::xml_document doc = ParseXmlPart(original, part);
  const pugi::xml_node worksheet = Child(doc, "worksheet");
  WriteCodeName(worksheet, sheet.codeName());
  const pugi::xml_node sheetData = FindOrAddSheetData(worksheet);
  const NodesByNumber originalRows = RowsByNumber(sheetData);

  RowsWriter writer(MarkupPrefix(sheetData), formats, sharedStrings, original.size() + sheet.rows().size() * 1024);
  const bool sharedFormulaWent =
      KeepSharedFormulasSound(SharedFormulaCells(originalRows), [&](const PlacedCell& placed) {
        return writer.KeepsOriginal(placed.cell, StoredValue(sheet, placed.row, placed.column));
      });
  for (const int32_t row : RowNumbers(originalRows, sheet.rows()))
    writer.AppendRow(row, Find(originalRows, row), StoredCells(sheet, row));

  if (pugi::xml_node dimension = Child(worksheet, "dimension"))
    dimension.attribute("ref").set_value(writer.Dimension().c_str());
  return {MarkupWithRows(doc, sheetData, writer.xml()), sharedFormulaWent || writer.formulaWent()};
}

}  // namespace pradima::xlsx
