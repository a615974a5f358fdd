#include "support/win/fake_host.h"

#include <chrono>
#include <functional>

#include "base/error.h"
#include "base/win/com_object.h"
#include "base/win/com_owners.h"
#include "session/address.h"
#include "session/win/dispatch.h"
#include "session/win/dispatch_host.h"
#include "session/win/variant_value.h"

namespace pradima::testing {
namespace {

using Microsoft::WRL::ComPtr;
using win::UniqueVariant;

using Clock = std::chrono::steady_clock;

int32_t IntOf(const VARIANT* v) {
  UniqueVariant out;
  if (FAILED(VariantChangeType(out.get(), const_cast<VARIANT*>(v), 0, VT_I4))) {
    throw Error(VbError::TypeMismatch, "not a whole number");
  }
  return out->lVal;
}

class FakeDispatch : public win::ComObject<IDispatch> {
 public:
  FakeDispatch() { ++HostStats().liveObjects; }
  ~FakeDispatch() override { --HostStats().liveObjects; }

  void Member(std::wstring name, FakeMember handler) { members_.emplace_back(std::move(name), std::move(handler)); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  DISPID IdOf(const wchar_t* name) const {
    for (size_t m = 0; m < members_.size(); ++m)
      if (_wcsicmp(members_[m].first.c_str(), name) == 0) return static_cast<DISPID>(m + 1);
    return DISPID_UNKNOWN;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
    if (FAILED(HostEvents().lookupFailure)) return HostEvents().lookupFailure;
    // The application reads member names in the language of the locale given: these are English.
    if (locale != 1033) return DISP_E_UNKNOWNNAME;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    // Hidden members such as _NewEnum are reached by their standard id only.
    if (names[0][0] != L'_') ids[0] = IdOf(names[0]);
    return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    // The standard ids, as the application's objects answer them.
    if (id == DISPID_VALUE) id = IdOf(L"Value");
    if (id == DISPID_NEWENUM) id = IdOf(L"_NewEnum");
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const auto& [name, handler] = members_[static_cast<size_t>(id - 1)];
    const bool put = flags & DISPATCH_PROPERTYPUT;
    if (put && (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
      return DISP_E_PARAMNOTOPTIONAL;
    }
    std::vector<const VARIANT*> args;
    for (UINT i = params->cArgs; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);
    if (put) std::rotate(args.begin(), args.begin() + 1, args.end());  // the value goes last
    struct Timer {  // the time spent in the host, which the DLL's own time leaves out
      Clock::time_point start = Clock::now();
      ~Timer() { HostStats().hostSeconds += std::chrono::duration<double>(Clock::now() - start).count(); }
    } timer;
    try {
      handler(args, result);
      return S_OK;
    } catch (const Error& e) {
      if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = e.hresult();
        exception->bstrSource = win::MakeBstr(L"Fake spreadsheet").release();
        exception->bstrDescription = win::MakeBstr(win::WideFromUtf8(e.what())).release();
      }
      return DISP_E_EXCEPTION;
    }
  }

 private:
  std::vector<std::pair<std::wstring, FakeMember>> members_;
};

void ReturnObject(VARIANT* result, FakeDispatch* object) {
  result->vt = VT_DISPATCH;
  result->pdispVal = object;  // takes the creation reference
}

class FakeEnum final : public win::ComObject<IEnumVARIANT> {
 public:
  explicit FakeEnum(std::vector<ComPtr<IDispatch>> items) : items_(std::move(items)) { ++HostStats().liveObjects; }
  ~FakeEnum() override { --HostStats().liveObjects; }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
    ULONG n = 0;
    for (; n < count && next_ < items_.size(); ++n, ++next_) {
      VariantInit(&items[n]);
      items[n].vt = VT_DISPATCH;
      items[n].pdispVal = items_[next_].Get();
      items[n].pdispVal->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  // The DLL only walks the sheets once, from the start.
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  size_t next_ = 0;
  std::vector<ComPtr<IDispatch>> items_;
};

void FireCellChange() {
  if (const auto hook = HostEvents().afterCellChange) hook();
}

FakeDispatch* MakeRange(std::shared_ptr<Range> range) {
  auto* object = new FakeDispatch();
  object->Member(
      L"End", [range](auto& args, VARIANT* result) { ReturnObject(result, MakeRange(range->End(IntOf(args.at(0))))); });
  object->Member(L"Row", [range](auto&, VARIANT* result) { *result = win::VariantOf(range->Row()).release(); });
  object->Member(L"Value", [range](auto& args, VARIANT* result) {
    if (args.empty()) {
      const Block block = range->GetValue();
      UniqueVariant value =
          block.rows() == 1 && block.columns() == 1 ? win::VariantFromValue(block(1, 1)) : win::VariantFromBlock(block);
      *result = value.release();
      return;
    }
    if (win::Unwrapped(*args.back()).vt & VT_ARRAY) {
      range->SetValue(win::BlockFromVariant(*args.back()));
    } else {
      range->SetValue(win::ValueFromVariant(*args.back()));
    }
    FireCellChange();
  });
  object->Member(L"Resize", [range](auto& args, VARIANT* result) {
    ReturnObject(result, MakeRange(range->Resize(IntOf(args.at(0)), IntOf(args.at(1)))));
  });
  object->Member(L"ClearContents", [range](auto&, VARIANT*) {
    range->ClearContents();
    FireCellChange();
  });
  return object;
}

FakeDispatch* MakeWorksheet(std::shared_ptr<MemorySheet> sheet) {
  auto* object = new FakeDispatch();
  object->Member(L"CodeName", [sheet](auto&, VARIANT* result) {
    *result = win::VariantFromValue(Value::Text(sheet->codeName())).release();
  });
  object->Member(L"Range", [sheet](auto& args, VARIANT* result) {
    const std::string address(win::ValueFromVariant(*args.at(0)).text());
    ReturnObject(result, MakeRange(sheet->GetRange(address)));
  });
  return object;
}

}  // namespace

FakeHostStats& HostStats() {
  static FakeHostStats stats;
  return stats;
}

FakeHostEvents& HostEvents() {
  static FakeHostEvents events;
  return events;
}

ComPtr<IDispatch> FakeObject(std::vector<std::pair<std::wstring, FakeMember>> members) {
  auto* object = new FakeDispatch();
  for (auto& [name, handler] : members) object->Member(std::move(name), std::move(handler));
  return win::Adopt<IDispatch>(object);
}

ComPtr<IDispatch> FakeApplication() {
  // A switch the DLL puts: each value put is kept, then the put's event runs.
  const auto kept = [](std::vector<bool>& values, const wchar_t* name) -> FakeMember {
    return [&values, name](auto& args, VARIANT*) {
      values.push_back(win::ValueFromVariant(*args.at(0)).boolean());
      if (const auto hook = HostEvents().afterApplicationPut) hook(name);
    };
  };
  return FakeObject({{L"CellDragAndDrop", kept(HostStats().cellDragAndDrop, L"CellDragAndDrop")},
                     {L"ScreenUpdating", kept(HostStats().screenUpdating, L"ScreenUpdating")}});
}

ComPtr<IDispatch> FakeRange(IDispatch* workbook, std::shared_ptr<MemorySheet> sheet, const std::string& address) {
  FakeDispatch* range = MakeRange(sheet->GetRange(address));
  range->Member(L"Column", [column = ParseAddress(address)->first.column](auto&, VARIANT* result) {
    *result = win::VariantOf(column).release();
  });
  range->Member(L"Worksheet", [sheet, parent = ComPtr<IDispatch>(workbook)](auto&, VARIANT* result) {
    FakeDispatch* worksheet = MakeWorksheet(sheet);
    worksheet->Member(L"Parent", [parent](auto&, VARIANT* parentResult) {
      parentResult->vt = VT_DISPATCH;
      parentResult->pdispVal = parent.Get();
      parent->AddRef();
    });
    ReturnObject(result, worksheet);
  });
  return win::Adopt<IDispatch>(range);
}

ComPtr<IDispatch> FakeWorkbook(std::shared_ptr<MemoryWorkbook> book) {
  auto* object = new FakeDispatch();
  object->Member(L"WorkSheets", [book](auto&, VARIANT* result) {
    auto* sheets = new FakeDispatch();
    sheets->Member(L"_NewEnum", [book](auto&, VARIANT* enumResult) {
      std::vector<ComPtr<IDispatch>> items;
      for (const auto& sheet : book->sheets()) items.push_back(win::Adopt<IDispatch>(MakeWorksheet(sheet)));
      enumResult->vt = VT_UNKNOWN;
      enumResult->punkVal = new FakeEnum(std::move(items));
    });
    sheets->Member(L"Item", [book](auto& args, VARIANT* itemResult) {
      ReturnObject(itemResult, MakeWorksheet(book->sheets().at(static_cast<size_t>(IntOf(args.at(0)) - 1))));
    });
    ReturnObject(result, sheets);
  });
  return win::Adopt<IDispatch>(object);
}

}  // namespace pradima::testing
