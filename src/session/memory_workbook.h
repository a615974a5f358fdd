#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "session/address.h"
#include "session/cell_table.h"
#include "session/host.h"

namespace pradima {

class MemoryWorkbook;

// One worksheet held in memory. Rows are stored sparsely, each as the run of
// its cells from column A to its last non-empty cell.
class MemorySheet final : public Worksheet, public std::enable_shared_from_this<MemorySheet> {
 public:
  using Rows = std::map<int32_t, std::vector<Value>>;

  MemorySheet(MemoryWorkbook& book, std::string codeName, std::string tabName);

  const std::string& codeName() const { return codeName_; }
  const std::string& tabName() const { return tabName_; }
  void setCodeName(std::string codeName) { codeName_ = std::move(codeName); }

  const Value& Get(int32_t row, int32_t column) const;
  void Set(int32_t row, int32_t column, Value value);
  // Sets a whole row at once from its cells, column A first (a file loader's way in).
  void SetRow(int32_t row, std::vector<Value> cells);
  Block Read(const RangeRef& range) const;
  // The cells of the range without a copy, valid while the sheet does not change.
  std::unique_ptr<CellTable> Cells(const RangeRef& range) const;
  void Write(const RangeRef& range, const Block& values);
  void Clear(const RangeRef& range);
  // The row of the last non-empty cell of the column at or above row, or 1.
  int32_t LastRowAtOrAbove(int32_t row, int32_t column) const;
  const Rows& rows() const { return rows_; }
  // Whether any cell changed since the sheet was loaded or saved.
  bool modified() const { return modified_; }
  // Marks the sheet changed as a whole, cells or not (its code name, say).
  void MarkModified() { modified_ = true; }
  // The rows whose cells changed since the sheet was loaded or saved (see
  // ForgetChanges): a file writer copies the others as the file had them.
  const std::set<int32_t>& changedRows() const { return changedRows_; }
  // The sheet as it stands is the one its file holds.
  void ForgetChanges() {
    modified_ = false;
    changedRows_.clear();
  }

  // Worksheet
  std::string CodeName() override;
  std::shared_ptr<Range> GetRange(std::string_view address) override;

  MemoryWorkbook& book() const { return book_; }

 private:
  void TrimRow(Rows::iterator row);

  MemoryWorkbook& book_;
  std::string codeName_;
  std::string tabName_;
  Rows rows_;
  bool modified_ = false;
  std::set<int32_t> changedRows_;
};

struct DefinedName {
  std::string name;
  std::shared_ptr<MemorySheet> sheet;
  RangeRef range;
};

// A workbook in memory that behaves as the spreadsheet application does
// towards the engine, and counts the calls made on it per operation so
// tests can tell block access from cell-by-cell access.
class MemoryWorkbook final : public Workbook, public std::enable_shared_from_this<MemoryWorkbook> {
 public:
  static std::shared_ptr<MemoryWorkbook> Create() { return std::shared_ptr<MemoryWorkbook>(new MemoryWorkbook()); }

  std::shared_ptr<MemorySheet> AddSheet(std::string codeName, std::string tabName);
  std::shared_ptr<MemorySheet> SheetByCodeName(std::string_view codeName) const;
  std::shared_ptr<MemorySheet> SheetByTabName(std::string_view tabName) const;
  const std::vector<std::shared_ptr<MemorySheet>>& sheets() const { return sheets_; }

  // A workbook-level name; names compare without regard to case.
  void DefineName(std::string name, std::shared_ptr<MemorySheet> sheet, const RangeRef& range);
  const DefinedName* FindName(std::string_view name) const;
  const std::vector<DefinedName>& names() const { return names_; }

  // Calls per operation: "WorkSheets", "CodeName", "Range", "End", "Row",
  // "Value.get", "Value.set", "Resize", "ClearContents".
  int calls(std::string_view operation) const;
  int totalCalls() const;
  // Cells handed out by Value.get, over all its calls.
  int64_t cellsRead() const { return cellsRead_; }
  void ResetCalls() {
    calls_.clear();
    cellsRead_ = 0;
  }
  void Count(std::string_view operation);
  void CountCellsRead(int64_t cells) { cellsRead_ += cells; }

  // Runs after every cell write or clear through a range, synchronously, as
  // the application runs a workbook's change event macros.
  void setOnCellChange(std::function<void()> event) { onCellChange_ = std::move(event); }
  void FireCellChange();

  // Workbook
  std::vector<std::shared_ptr<Worksheet>> WorkSheets() override;

 private:
  MemoryWorkbook() = default;
  std::vector<std::shared_ptr<MemorySheet>> sheets_;
  std::vector<DefinedName> names_;
  std::function<void()> onCellChange_;
  std::map<std::string, int, std::less<>> calls_;
  int64_t cellsRead_ = 0;
};

// The application's two switches, with every value they were given.
class MemoryApplication final : public Application {
 public:
  void SetCellDragAndDrop(bool enabled) override;
  void SetScreenUpdating(bool enabled) override;

  bool cellDragAndDrop() const { return cellDragAndDrop_; }
  bool screenUpdating() const { return screenUpdating_; }
  const std::vector<bool>& cellDragAndDropHistory() const { return cellDragAndDropHistory_; }
  const std::vector<bool>& screenUpdatingHistory() const { return screenUpdatingHistory_; }
  // Runs after every property put with the property's name, synchronously.
  void setOnPropertyPut(std::function<void(std::string_view property)> event) { onPropertyPut_ = std::move(event); }

 private:
  bool cellDragAndDrop_ = true;
  bool screenUpdating_ = true;
  std::vector<bool> cellDragAndDropHistory_;
  std::vector<bool> screenUpdatingHistory_;
  std::function<void(std::string_view property)> onPropertyPut_;
};

}  // namespace pradima
