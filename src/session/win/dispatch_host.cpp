#include "session/win/dispatch_host.h"

#include <algorithm>
#include <memory>

#include "base/error.h"
#include "base/win/hresult.h"
#include "session/win/variant_value.h"

namespace pradima::win {
namespace {

using Microsoft::WRL::ComPtr;

// A text's length in UTF-16 units, read from the byte count stored just
// before its first character, as SysStringLen reads it, without a call into
// the system for each of the block's cells.
UINT TextLength(BSTR text) { return text ? reinterpret_cast<const UINT*>(text)[-1] / sizeof(wchar_t) : 0; }

// The block the spreadsheet handed over, read where it lies: the count looks
// at the digits at the end of each text in its own UTF-16, and only a cell it
// cannot read that way (a number, a text ending in other letters) is made a
// value first. The array is freed when the table goes, on the caller's thread.
class VariantCells final : public CellTable {
 public:
  explicit VariantCells(UniqueVariant value) : value_(std::move(value)) {
    const VARIANT& v = Unwrapped(*value_.get());
    array_ = (v.vt & VT_BYREF) ? *v.pparray : v.parray;
    LONG rowLow = 0, rowHigh = 0, columnLow = 0, columnHigh = 0;
    ThrowIfFailed(SafeArrayGetLBound(array_, 1, &rowLow), "reading a block");
    ThrowIfFailed(SafeArrayGetUBound(array_, 1, &rowHigh), "reading a block");
    ThrowIfFailed(SafeArrayGetLBound(array_, 2, &columnLow), "reading a block");
    ThrowIfFailed(SafeArrayGetUBound(array_, 2, &columnHigh), "reading a block");
    rows_ = rowHigh - rowLow + 1;
    columns_ = columnHigh - columnLow + 1;
    lock_ = std::make_unique<SafeArrayDataLock>(array_);
    ThrowIfFailed(lock_->status(), "reading a block");
    cells_ = static_cast<const VARIANT*>(array_->pvData);
  }

  int32_t rows() const override { return rows_; }
  int32_t columns() const override { return columns_; }

  bool HasText(int32_t row, int32_t column) const override {
    const VARIANT& v = Cell(row, column);
    switch (v.vt) {
      case VT_EMPTY:
      case VT_NULL: return false;
      case VT_BSTR: return TextLength(v.bstrVal) > 0;
      default: return pradima::HasText(ValueFromVariant(v));
    }
  }

  int32_t LoOf(int32_t row, int32_t column, int digits) const override {
    const VARIANT& v = Cell(row, column);
    if (v.vt == VT_BSTR) {
      const UINT length = TextLength(v.bstrVal);
      const UINT take = std::min<UINT>(length, static_cast<UINT>(digits));
      char tail[8];
      bool ascii = take <= sizeof tail;
      for (UINT i = 0; ascii && i < take; ++i) {
        const wchar_t unit = v.bstrVal[length - take + i];
        ascii = unit < 0x80;
        tail[i] = static_cast<char>(unit);
      }
      // The last characters are the last bytes of the text's UTF-8 when they are ASCII.
      if (ascii) return LoOfText(std::string_view(tail, take), digits);
    }
    return pradima::LoOf(ValueFromVariant(v), digits);
  }

  Value ValueAt(int32_t row, int32_t column) const override { return ValueFromVariant(Cell(row, column)); }

 private:
  // The array is column-major: rows vary fastest.
  const VARIANT& Cell(int32_t row, int32_t column) const {
    return cells_[static_cast<size_t>(column - 1) * static_cast<size_t>(rows_) + static_cast<size_t>(row - 1)];
  }

  UniqueVariant value_;
  SAFEARRAY* array_ = nullptr;
  std::unique_ptr<SafeArrayDataLock> lock_;  // declared after the block: unlocked before it is freed
  const VARIANT* cells_ = nullptr;
  int32_t rows_ = 0;
  int32_t columns_ = 0;
};

class DispatchRange final : public Range {
 public:
  explicit DispatchRange(ComPtr<IDispatch> range) : range_(std::move(range)) {}

  std::shared_ptr<Range> End(int32_t direction) override {
    const UniqueVariant argument = VariantOf(direction);
    return Wrap(range_.Get(L"End", {argument.get()}), L"End");
  }
  int32_t Row() override { return ToLongOf(range_.Get(L"Row")); }
  Block GetValue() override { return BlockFromVariant(*range_.Get(L"Value").get()); }
  std::unique_ptr<CellTable> GetCells() override {
    UniqueVariant value = range_.Get(L"Value");
    const VARIANT& v = Unwrapped(*value.get());
    const SAFEARRAY* array = !(v.vt & VT_ARRAY) ? nullptr : (v.vt & VT_BYREF) ? *v.pparray : v.parray;
    // One cell, or an array of other than VARIANTs: as values, with the checks that go with them.
    if (!array || SafeArrayGetDim(const_cast<SAFEARRAY*>(array)) != 2 || (v.vt & VT_TYPEMASK) != VT_VARIANT) {
      return std::make_unique<BlockCells>(BlockFromVariant(v));
    }
    return std::make_unique<VariantCells>(std::move(value));
  }
  void SetValue(const Block& values) override { range_.Put(L"Value", *VariantFromBlock(values).get()); }
  void SetValue(const Value& value) override { range_.Put(L"Value", *VariantFromValue(value).get()); }
  std::shared_ptr<Range> Resize(int32_t rows, int32_t columns) override {
    const UniqueVariant r = VariantOf(rows);
    const UniqueVariant c = VariantOf(columns);
    return Wrap(range_.Get(L"Resize", {r.get(), c.get()}), L"Resize");
  }
  void ClearContents() override { range_.Call(L"ClearContents"); }

  static std::shared_ptr<Range> Wrap(const UniqueVariant& value, const wchar_t* what) {
    return std::make_shared<DispatchRange>(DispatchFromVariant(*value.get(), what));
  }

 private:
  static int32_t ToLongOf(const UniqueVariant& value) {
    const Value v = ValueFromVariant(*value.get());
    if (!v.IsNumber()) throw Error(VbError::TypeMismatch, "Row is not a number");
    return static_cast<int32_t>(v.number());
  }
  DispatchObject range_;
};

class DispatchWorksheet final : public Worksheet {
 public:
  explicit DispatchWorksheet(ComPtr<IDispatch> sheet) : sheet_(std::move(sheet)) {}
  std::string CodeName() override { return std::string(ValueFromVariant(*sheet_.Get(L"CodeName").get()).text()); }
  std::shared_ptr<Range> GetRange(std::string_view address) override {
    const std::wstring wide = WideFromUtf8(address);
    const UniqueVariant argument = VariantOf(wide.c_str());
    return DispatchRange::Wrap(sheet_.Get(L"Range", {argument.get()}), L"Range");
  }

 private:
  DispatchObject sheet_;
};

class DispatchWorkbookHost final : public Workbook {
 public:
  explicit DispatchWorkbookHost(ComPtr<IDispatch> workbook) : workbook_(std::move(workbook)) {}
  IDispatch* object() const noexcept { return workbook_.get(); }
  std::vector<std::shared_ptr<Worksheet>> WorkSheets() override {
    DispatchObject sheets(DispatchFromVariant(*workbook_.Get(L"WorkSheets").get(), L"WorkSheets"));
    const UniqueVariant enumerator = sheets.GetById(DISPID_NEWENUM, L"_NewEnum");
    const VARIANT* e = enumerator.get();
    ComPtr<IEnumVARIANT> items;
    IUnknown* unknown = e->vt == VT_UNKNOWN ? e->punkVal : e->vt == VT_DISPATCH ? e->pdispVal : nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_PPV_ARGS(&items)))) {
      throw Error(VbError::ObjectRequired, "WorkSheets cannot be enumerated");
    }
    std::vector<std::shared_ptr<Worksheet>> result;
    for (;;) {
      UniqueVariant item;
      ULONG fetched = 0;
      const HRESULT hr = items->Next(1, item.put(), &fetched);
      ThrowIfFailed(hr, "enumerating WorkSheets");
      if (hr != S_OK || fetched == 0) break;
      result.push_back(std::make_shared<DispatchWorksheet>(DispatchFromVariant(*item.get(), L"a worksheet")));
    }
    return result;
  }

 private:
  DispatchObject workbook_;
};

class DispatchApplicationHost final : public Application {
 public:
  explicit DispatchApplicationHost(ComPtr<IDispatch> application) : application_(std::move(application)) {}
  void SetCellDragAndDrop(bool enabled) override { application_.Put(L"CellDragAndDrop", *VariantOf(enabled).get()); }
  void SetScreenUpdating(bool enabled) override { application_.Put(L"ScreenUpdating", *VariantOf(enabled).get()); }

 private:
  DispatchObject application_;
};

}  // namespace

std::shared_ptr<Application> DispatchApplication(ComPtr<IDispatch> application) {
  return std::make_shared<DispatchApplicationHost>(std::move(application));
}

std::shared_ptr<Workbook> DispatchWorkbook(ComPtr<IDispatch> workbook) {
  return std::make_shared<DispatchWorkbookHost>(std::move(workbook));
}

ComPtr<IDispatch> DispatchOf(Workbook& workbook) {
  const auto* host = dynamic_cast<const DispatchWorkbookHost*>(&workbook);
  if (!host || !host->object()) throw Error(VbError::ObjectNotSet, "the workbook is not a spreadsheet's workbook");
  return host->object();
}

Block BlockFromVariant(const VARIANT& value) {
  const VARIANT* v = &Unwrapped(value);
  if (!(v->vt & VT_ARRAY)) {
    Block single(1, 1);
    single(1, 1) = ValueFromVariant(*v);
    return single;
  }
  SAFEARRAY* array = (v->vt & VT_BYREF) ? *v->pparray : v->parray;
  if (!array || SafeArrayGetDim(array) != 2 || (v->vt & VT_TYPEMASK) != VT_VARIANT) {
    throw Error(VbError::TypeMismatch, "a range value is not a two-dimensional block of values");
  }
  LONG rowLow = 0, rowHigh = 0, columnLow = 0, columnHigh = 0;
  ThrowIfFailed(SafeArrayGetLBound(array, 1, &rowLow), "reading a block");
  ThrowIfFailed(SafeArrayGetUBound(array, 1, &rowHigh), "reading a block");
  ThrowIfFailed(SafeArrayGetLBound(array, 2, &columnLow), "reading a block");
  ThrowIfFailed(SafeArrayGetUBound(array, 2, &columnHigh), "reading a block");
  const int32_t rows = rowHigh - rowLow + 1;
  const int32_t columns = columnHigh - columnLow + 1;
  Block block(rows, columns);
  SafeArrayDataLock lock(array);
  ThrowIfFailed(lock.status(), "reading a block");
  // The array is column-major (rows vary fastest), the block row-major:
  // copy in tiles of rows so that both sides stay in cache.
  const auto* cells = static_cast<const VARIANT*>(array->pvData);
  constexpr int32_t kTile = 64;
  for (int32_t top = 1; top <= rows; top += kTile) {
    const int32_t bottom = std::min(rows, top + kTile - 1);
    for (int32_t c = 1; c <= columns; ++c) {
      const VARIANT* column = cells + static_cast<size_t>(c - 1) * static_cast<size_t>(rows);
      for (int32_t r = top; r <= bottom; ++r) block(r, c) = ValueFromVariant(column[r - 1]);
    }
  }
  return block;
}

UniqueVariant VariantFromBlock(const Block& block) {
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(block.rows()), 1}, {static_cast<ULONG>(block.columns()), 1}};
  UniqueSafeArray array(SafeArrayCreate(VT_VARIANT, 2, bounds));
  if (!array.get()) throw Error(static_cast<int32_t>(E_OUTOFMEMORY), "out of memory for a block of values");
  {
    SafeArrayDataLock lock(array.get());
    ThrowIfFailed(lock.status(), "writing a block");
    auto* cells = static_cast<VARIANT*>(array.get()->pvData);
    for (int32_t c = 1; c <= block.columns(); ++c)
      for (int32_t r = 1; r <= block.rows(); ++r)
        cells[(c - 1) * block.rows() + (r - 1)] = VariantFromValue(block(r, c)).release();
  }
  UniqueVariant result;
  result->vt = VT_ARRAY | VT_VARIANT;
  result->parray = array.release();
  return result;
}

}  // namespace pradima::win
