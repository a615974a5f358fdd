// Times the COM server under Wine with the fake spreadsheet host: ThongKeLo
// on 8,000 results rows (South, every day, "Full" as "3 Con") and Sup on an
// up-to-date sheet. The time inside the DLL is the call's time less the
// time the fake host spent answering it; each figure is the median of five
// runs, the DLL's and the bare reads' taken in turn in one run.
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/clock.h"
#include "entry/type_library.h"
#include "results_block.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"
#include "text/telex.h"
#include "support/win/fake_host.h"

using namespace pradima;
using Microsoft::WRL::ComPtr;

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

HRESULT Invoke(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  object->GetIDsOfNames(IID_NULL, names, 1, 1033, &id);
  std::reverse(args.begin(), args.end());
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  return object->Invoke(id, IID_NULL, 1033, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

// The floor no engine avoids: the same ranges read through IDispatch and
// freed, with nothing done with them; `freeing` gets the part spent freeing.
double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double BareReads(IDispatch* workbookObject, const std::vector<std::wstring>& ranges, double& freeing) {
  freeing = 0;
  const double start = Now();
  win::DispatchObject workbook{ComPtr<IDispatch>(workbookObject)};
  win::DispatchObject sheets(win::DispatchFromVariant(*workbook.Get(L"WorkSheets").get(), L"WorkSheets"));
  const win::UniqueVariant index = win::VariantOf(1);
  win::DispatchObject sheet(win::DispatchFromVariant(*sheets.Get(L"Item", {index.get()}).get(), L"Item"));
  for (const std::wstring& address : ranges) {
    const win::UniqueVariant text = win::VariantOf(address.c_str());
    win::DispatchObject range(win::DispatchFromVariant(*sheet.Get(L"Range", {text.get()}).get(), L"Range"));
    win::UniqueVariant value = range.Get(L"Value");
    const double received = Now();
    { const win::UniqueVariant gone = std::move(value); }
    freeing += Now() - received;
  }
  return Now() - start;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring path = L"Z:" + win::WideFromUtf8(PRADIMA_TEST_DLL);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  HMODULE dll = LoadLibraryW(path.c_str());
  auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  getClassObject(CLSID_Sub, IID_PPV_ARGS(&factory));
  ComPtr<IDispatch> sub;
  factory->CreateInstance(nullptr, IID_PPV_ARGS(&sub));

  auto book = NewStandardWorkbook({2026, 12, 6});
  auto results = book->SheetByCodeName("Sheet1");
  bench::FillResults(*results, 8000);
  // up to date whatever the clock says
  results->Set(8005, 1, Value::Date(SerialFromCivil(SystemLocalTime().date)));
  auto control = book->SheetByCodeName("Sheet3");
  control->Set(1, 2, Value::Date(0));
  control->Set(2, 2, Value::Date(SerialFromCivil({2026, 12, 6})));
  control->Set(3, 2, Value::Text(TelexToUnicode("Mieefn Nam")));
  control->Set(4, 2, Value::Text("Full"));
  control->Set(6, 2, Value::Text("3 Con"));

  ComPtr<IDispatch> application = testing::FakeApplication();
  ComPtr<IDispatch> workbook = testing::FakeWorkbook(book);
  VARIANT app{}, wb{};
  app.vt = VT_DISPATCH;
  app.pdispVal = application.Get();
  wb.vt = VT_DISPATCH;
  wb.pdispVal = workbook.Get();

  // The time inside the DLL (the call less the fake host's time), and the
  // bare reads of the same ranges through IDispatch.
  struct Case {
    const char* what;
    std::function<void()> request;
    std::vector<std::wstring> ranges;  // what the count reads of the results sheet
  };
  const Case cases[] = {
      {"ThongKeLo, 8000 rows, South, every day, Full 3 Con",
       [&] {
         control->Set(1, 2, Value::Date(0));
         control->Set(2, 2, Value::Date(SerialFromCivil({2026, 12, 6})));
         control->Set(3, 2, Value::Text(TelexToUnicode("Mieefn Nam")));
         control->Set(4, 2, Value::Text("Full"));
       },
       {L"A5:A8005", L"CI5:FF8005"}},
      {"ThongKeLo, 30 days of the North, So Kep 2 Con",
       [&] {
         const DateSerial last = SerialFromCivil(CivilFromDays(DaysFromCivil({2005, 1, 1}) + 7999));
         control->Set(1, 2, Value::Date(last - 29));
         control->Set(2, 2, Value::Date(last));
         control->Set(3, 2, Value::Text(TelexToUnicode("Mieefn Bawsc")));
         control->Set(4, 2, Value::Text(TelexToUnicode("Soos Kesp")));
       },
       {L"A5:A8005", L"B7975:AC8004"}},
  };
  std::vector<double> supInside, supHost;
  for (int run = 0; run < 5; ++run) {
    testing::HostStats().hostSeconds = 0;
    const double start = Now();
    if (Invoke(sub.Get(), L"Sup", {app, wb}) != S_OK) return 1;
    supInside.push_back(Now() - start - testing::HostStats().hostSeconds);
    supHost.push_back(testing::HostStats().hostSeconds);
  }
  std::printf("Sup on an up-to-date sheet: %.2f ms inside the DLL (+%.2f ms in the fake host)\n",
              Median(supInside) * 1e3, Median(supHost) * 1e3);
  for (const Case& c : cases) {
    c.request();
    const bool threeDigits = c.ranges[1] == L"CI5:FF8005";
    control->Set(6, 2, Value::Text(threeDigits ? "3 Con" : "2 Con"));
    VARIANT type{};
    type.vt = VT_BSTR;
    type.bstrVal = SysAllocString(threeDigits ? L"3 Con" : L"2 Con");
    Invoke(sub.Get(), L"kieuSo", {type});
    VariantClear(&type);
    std::vector<double> inside, host, bare, bareFreeing;
    for (int run = 0; run < 5; ++run) {
      testing::HostStats().hostSeconds = 0;
      const double start = Now();
      if (Invoke(sub.Get(), L"ThongKeLo", {}) != S_OK) return 2;
      inside.push_back(Now() - start - testing::HostStats().hostSeconds);
      host.push_back(testing::HostStats().hostSeconds);
      testing::HostStats().hostSeconds = 0;
      double freeing = 0;
      bare.push_back(BareReads(workbook.Get(), c.ranges, freeing) - testing::HostStats().hostSeconds);
      bareFreeing.push_back(freeing);
    }
    std::printf(
        "%s: %.2f ms inside the DLL (+%.2f ms in the fake host); bare reads of the same ranges %.2f ms "
        "(%.2f ms of it freeing them): ratio %.2f\n",
        c.what, Median(inside) * 1e3, Median(host) * 1e3, Median(bare) * 1e3, Median(bareFreeing) * 1e3,
        Median(inside) / Median(bare));
  }
  return 0;
}
