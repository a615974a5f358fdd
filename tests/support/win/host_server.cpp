// A small in-process COM server for the script test: class
// "PradimaTest.Host" hands a script the fake spreadsheet application and a
// workbook whose results are up to date, and lets it read cells back.
#include <windows.h>
#include <oleauto.h>

#include <new>

#include "base/clock.h"
#include "base/win/com_object.h"
#include "support/win/fake_host.h"
#include "session/standard_workbook.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"

namespace {

using Microsoft::WRL::ComPtr;
using namespace pradima;

// {6B1D2F0A-5C3E-4C57-9E3B-1A2B3C4D5E6F}
constexpr CLSID kHostClsid = {0x6b1d2f0a, 0x5c3e, 0x4c57, {0x9e, 0x3b, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x6f}};

const VARIANT& Deref(const VARIANT* v) { return win::Unwrapped(*v); }

ComPtr<IDispatch> MakeHost() {
  const CivilDate today = SystemLocalTime().date;
  auto book = NewStandardWorkbook(today);
  book->SheetByCodeName("Sheet1")->Set(5, 1, Value::Date(SerialFromCivil(today)));
  return testing::FakeObject({
      {L"Application",
       [](auto&, VARIANT* result) {
         result->vt = VT_DISPATCH;
         result->pdispVal = testing::FakeApplication().Detach();
       }},
      {L"Workbook",
       [book](auto&, VARIANT* result) {
         result->vt = VT_DISPATCH;
         result->pdispVal = testing::FakeWorkbook(book).Detach();
       }},
      {L"Cell",
       [book](auto& args, VARIANT* result) {
         const std::string codeName(win::ValueFromVariant(Deref(args.at(0))).text());
         const std::string address(win::ValueFromVariant(Deref(args.at(1))).text());
         const auto range = ParseAddress(address);
         *result = win::VariantFromValue(book->SheetByCodeName(codeName)->Get(range->first.row, range->first.column))
                       .release();
       }},
      {L"DragAndDrop",
       [](auto&, VARIANT* result) {
         const auto& history = testing::HostStats().cellDragAndDrop;
         *result = win::VariantOf(!history.empty() && history.back()).release();
       }},
  });
}

class HostFactory final : public win::ComObject<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** object) noexcept override {
    return MakeHost()->QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }
};

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (clsid != kHostClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return win::MakeComObject<HostFactory>()->QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
