#include "session/memory_workbook.h"

#include <algorithm>

#include "base/error.h"

namespace pradima {
namespace {

const Value kEmpty{};

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

[[noreturn]] void Fail(const std::string& description) { throw Error(VbError::ApplicationDefined, description); }

class MemoryRange final : public Range {
 public:
  MemoryRange(std::shared_ptr<MemorySheet> sheet, const RangeRef& range) : sheet_(std::move(sheet)), range_(range) {}

  std::shared_ptr<Range> End(int32_t direction) override {
    Count("End");
    if (direction != kDirectionUp) Fail("End: only direction 3 (up) is supported, not " + std::to_string(direction));
    const int32_t row = sheet_->LastRowAtOrAbove(range_.first.row, range_.first.column);
    const CellRef cell{row, range_.first.column};
    return std::make_shared<MemoryRange>(sheet_, RangeRef{cell, cell});
  }

  int32_t Row() override {
    Count("Row");
    return range_.first.row;
  }

  Block GetValue() override {
    Count("Value.get");
    sheet_->book().CountCellsRead(int64_t{range_.rows()} * range_.columns());
    return sheet_->Read(range_);
  }

  // The same cells as Value.get, pointing into the sheet's rows.
  std::unique_ptr<CellTable> GetCells() override {
    Count("Value.get");
    sheet_->book().CountCellsRead(int64_t{range_.rows()} * range_.columns());
    return sheet_->Cells(range_);
  }

  void SetValue(const Block& values) override {
    Count("Value.set");
    if (values.rows() != range_.rows() || values.columns() != range_.columns()) {
      Fail("Value: a block of " + std::to_string(values.rows()) + " by " + std::to_string(values.columns()) +
           " does not fit " + FormatAddress(range_));
    }
    sheet_->Write(range_, values);
    sheet_->book().FireCellChange();
  }

  void SetValue(const Value& value) override {
    Count("Value.set");
    for (int32_t r = range_.first.row; r <= range_.last.row; ++r)
      for (int32_t c = range_.first.column; c <= range_.last.column; ++c) sheet_->Set(r, c, value);
    sheet_->book().FireCellChange();
  }

  std::shared_ptr<Range> Resize(int32_t rows, int32_t columns) override {
    Count("Resize");
    const int64_t lastRow = int64_t{range_.first.row} + rows - 1;
    const int64_t lastColumn = int64_t{range_.first.column} + columns - 1;
    if (rows < 1 || columns < 1 || lastRow > kMaxRows || lastColumn > kMaxColumns) {
      Fail("Resize: " + std::to_string(rows) + " rows by " + std::to_string(columns) + " columns from " +
           FormatAddress(RangeRef{range_.first, range_.first}) + " leaves the sheet");
    }
    return std::make_shared<MemoryRange>(
        sheet_, RangeRef{range_.first, {static_cast<int32_t>(lastRow), static_cast<int32_t>(lastColumn)}});
  }

  void ClearContents() override {
    Count("ClearContents");
    sheet_->Clear(range_);
    sheet_->book().FireCellChange();
  }

 private:
  void Count(std::string_view operation) { sheet_->book().Count(operation); }
  std::shared_ptr<MemorySheet> sheet_;
  RangeRef range_;
};

}  // namespace

MemorySheet::MemorySheet(MemoryWorkbook& book, std::string codeName, std::string tabName)
    : book_(book), codeName_(std::move(codeName)), tabName_(std::move(tabName)) {}

const Value& MemorySheet::Get(int32_t row, int32_t column) const {
  const auto it = rows_.find(row);
  if (it == rows_.end() || column > static_cast<int32_t>(it->second.size())) return kEmpty;
  return it->second[static_cast<size_t>(column - 1)];
}

void MemorySheet::Set(int32_t row, int32_t column, Value value) {
  modified_ = true;
  if (value.IsEmpty()) {
    const auto it = rows_.find(row);
    if (it == rows_.end() || column > static_cast<int32_t>(it->second.size())) return;
    changedRows_.insert(row);
    it->second[static_cast<size_t>(column - 1)] = Value();
    TrimRow(it);
    return;
  }
  changedRows_.insert(row);
  std::vector<Value>& cells = rows_[row];
  if (static_cast<int32_t>(cells.size()) < column) cells.resize(static_cast<size_t>(column));
  cells[static_cast<size_t>(column - 1)] = std::move(value);
}

void MemorySheet::SetRow(int32_t row, std::vector<Value> cells) {
  modified_ = true;
  changedRows_.insert(row);
  auto it = rows_.insert_or_assign(row, std::move(cells)).first;
  TrimRow(it);
}

void MemorySheet::TrimRow(Rows::iterator row) {
  std::vector<Value>& cells = row->second;
  while (!cells.empty() && cells.back().IsEmpty()) cells.pop_back();
  if (cells.empty()) rows_.erase(row);
}

Block MemorySheet::Read(const RangeRef& range) const {
  // Laid out in one pass, row by row: each cell is written once.
  std::vector<Value> cells;
  cells.reserve(static_cast<size_t>(range.rows()) * static_cast<size_t>(range.columns()));
  const auto pad = [&](size_t count) { cells.resize(cells.size() + count); };
  int32_t nextRow = range.first.row;
  for (auto it = rows_.lower_bound(range.first.row); it != rows_.end() && it->first <= range.last.row; ++it) {
    pad(static_cast<size_t>(it->first - nextRow) * static_cast<size_t>(range.columns()));
    const std::vector<Value>& stored = it->second;
    const int32_t lastStored = std::min<int32_t>(range.last.column, static_cast<int32_t>(stored.size()));
    if (lastStored >= range.first.column) {
      cells.insert(cells.end(), stored.begin() + (range.first.column - 1), stored.begin() + lastStored);
    }
    pad(static_cast<size_t>(range.last.column - std::max(lastStored, range.first.column - 1)));
    nextRow = it->first + 1;
  }
  pad(static_cast<size_t>(range.last.row - nextRow + 1) * static_cast<size_t>(range.columns()));
  return Block(range.rows(), range.columns(), std::move(cells));
}

std::unique_ptr<CellTable> MemorySheet::Cells(const RangeRef& range) const {
  std::vector<RowCells::Row> cells(static_cast<size_t>(range.rows()));
  for (auto it = rows_.lower_bound(range.first.row); it != rows_.end() && it->first <= range.last.row; ++it) {
    const std::vector<Value>& stored = it->second;
    const int32_t length =
        std::min<int32_t>(static_cast<int32_t>(stored.size()) - (range.first.column - 1), range.columns());
    if (length > 0)
      cells[static_cast<size_t>(it->first - range.first.row)] = {stored.data() + (range.first.column - 1), length};
  }
  return std::make_unique<RowCells>(std::move(cells), range.columns(), shared_from_this());
}

void MemorySheet::Write(const RangeRef& range, const Block& values) {
  Clear(range);
  for (int32_t r = 1; r <= values.rows(); ++r) {
    std::vector<Value>* cells = nullptr;
    for (int32_t c = 1; c <= values.columns(); ++c) {
      const Value& value = values(r, c);
      if (value.IsEmpty()) continue;
      if (!cells) {
        cells = &rows_[range.first.row + r - 1];
        changedRows_.insert(range.first.row + r - 1);
      }
      const auto column = static_cast<size_t>(range.first.column + c - 1);
      if (cells->size() < column) cells->resize(column);
      (*cells)[column - 1] = value;
    }
  }
  modified_ = true;
}

void MemorySheet::Clear(const RangeRef& range) {
  modified_ = true;
  for (auto it = rows_.lower_bound(range.first.row); it != rows_.end() && it->first <= range.last.row;) {
    std::vector<Value>& cells = it->second;
    const int32_t lastColumn = std::min<int32_t>(range.last.column, static_cast<int32_t>(cells.size()));
    if (lastColumn >= range.first.column) changedRows_.insert(it->first);
    for (int32_t c = range.first.column; c <= lastColumn; ++c) cells[static_cast<size_t>(c - 1)] = Value();
    auto next = std::next(it);
    TrimRow(it);
    it = next;
  }
}

int32_t MemorySheet::LastRowAtOrAbove(int32_t row, int32_t column) const {
  for (auto it = rows_.upper_bound(row); it != rows_.begin();) {
    --it;
    if (!Get(it->first, column).IsEmpty()) return it->first;
  }
  return 1;
}

std::string MemorySheet::CodeName() {
  book_.Count("CodeName");
  return codeName_;
}

std::shared_ptr<Range> MemorySheet::GetRange(std::string_view address) {
  book_.Count("Range");
  if (const auto range = ParseAddress(address)) return std::make_shared<MemoryRange>(shared_from_this(), *range);
  if (const DefinedName* name = book_.FindName(address)) {
    if (name->sheet.get() != this) {
      Fail("Range: the name '" + std::string(address) + "' refers to the sheet '" + name->sheet->tabName() +
           "', not to '" + tabName_ + "'");
    }
    return std::make_shared<MemoryRange>(shared_from_this(), name->range);
  }
  Fail("Range: '" + std::string(address) + "' is neither a cell address nor a name of the workbook (sheet '" +
       tabName_ + "')");
}

std::shared_ptr<MemorySheet> MemoryWorkbook::AddSheet(std::string codeName, std::string tabName) {
  auto sheet = std::make_shared<MemorySheet>(*this, std::move(codeName), std::move(tabName));
  sheets_.push_back(sheet);
  return sheet;
}

std::shared_ptr<MemorySheet> MemoryWorkbook::SheetByCodeName(std::string_view codeName) const {
  for (const auto& sheet : sheets_)
    if (sheet->codeName() == codeName) return sheet;
  return nullptr;
}

std::shared_ptr<MemorySheet> MemoryWorkbook::SheetByTabName(std::string_view tabName) const {
  for (const auto& sheet : sheets_)
    if (sheet->tabName() == tabName) return sheet;
  return nullptr;
}

void MemoryWorkbook::DefineName(std::string name, std::shared_ptr<MemorySheet> sheet, const RangeRef& range) {
  for (DefinedName& existing : names_) {
    if (SameName(existing.name, name)) {
      existing = DefinedName{std::move(name), std::move(sheet), range};
      return;
    }
  }
  names_.push_back(DefinedName{std::move(name), std::move(sheet), range});
}

const DefinedName* MemoryWorkbook::FindName(std::string_view name) const {
  for (const DefinedName& defined : names_)
    if (SameName(defined.name, name)) return &defined;
  return nullptr;
}

int MemoryWorkbook::calls(std::string_view operation) const {
  const auto it = calls_.find(operation);
  return it == calls_.end() ? 0 : it->second;
}

int MemoryWorkbook::totalCalls() const {
  int total = 0;
  for (const auto& [operation, count] : calls_) total += count;
  return total;
}

void MemoryWorkbook::Count(std::string_view operation) {
  const auto it = calls_.find(operation);
  if (it == calls_.end()) {
    calls_.emplace(std::string(operation), 1);
  } else {
    ++it->second;
  }
}

void MemoryWorkbook::FireCellChange() {
  // A copy: the event may replace or drop its own handler.
  if (const auto event = onCellChange_) event();
}

std::vector<std::shared_ptr<Worksheet>> MemoryWorkbook::WorkSheets() {
  Count("WorkSheets");
  return {sheets_.begin(), sheets_.end()};
}

void MemoryApplication::SetCellDragAndDrop(bool enabled) {
  cellDragAndDrop_ = enabled;
  cellDragAndDropHistory_.push_back(enabled);
  if (const auto event = onPropertyPut_) event("CellDragAndDrop");
}

void MemoryApplication::SetScreenUpdating(bool enabled) {
  screenUpdating_ = enabled;
  screenUpdatingHistory_.push_back(enabled);
  if (const auto event = onPropertyPut_) event("ScreenUpdating");
}

}  // namespace pradima
