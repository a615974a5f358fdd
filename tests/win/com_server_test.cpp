// The COM server as a spreadsheet's macros use it: late-bound through
// IDispatch, against the fake spreadsheet host, with the loopback results site.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "fake_host.h"
#include "pradima_h.h"
#include "session/clock.h"
#include "session/win/com_owners.h"
#include "session/win/variant_value.h"
#include "session/workbook_layout.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"
#include "win/wine_process.h"

namespace pradima {
namespace {

using Microsoft::WRL::ComPtr;
using testing::HostStats;
using win::UniqueVariant;

ComPtr<IDispatch> CreateSub() {
  static HMODULE dll = LoadLibraryW(testing::WindowsPath(PRADIMA_TEST_DLL).c_str());
  EXPECT_NE(dll, nullptr);
  auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(CLSID_Sub, IID_PPV_ARGS(&factory)), S_OK);
  ComPtr<IDispatch> sub;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&sub)), S_OK);
  return sub;
}

struct CallResult {
  HRESULT hr;
  std::string description;
  HRESULT scode;
};

// Calls a method by name, arguments in declaration order.
CallResult Call(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {}) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 1033, &id);
  if (FAILED(hr)) return {hr, "", 0};
  std::reverse(args.begin(), args.end());
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  EXCEPINFO exception{};
  UINT badArgument = 0;
  hr = object->Invoke(id, IID_NULL, 1033, DISPATCH_METHOD, &params, nullptr, &exception, &badArgument);
  win::UniqueBstr description(exception.bstrDescription), source(exception.bstrSource), help(exception.bstrHelpFile);
  return {hr, win::Utf8FromBstr(description.get()), exception.scode};
}

VARIANT ByRefVariant(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = target;
  return v;
}

VARIANT ByRefBstr(BSTR* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_BSTR;
  v.pbstrVal = target;
  return v;
}

VARIANT ByRefDispatch(IDispatch** target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_DISPATCH;
  v.ppdispVal = target;
  return v;
}

CivilDate Today() { return SystemLocalTime().date; }

class ComServerTest : public ::testing::Test {
 protected:
  void SetUp() override { HostStats() = {}; }

  // Sup with both objects by reference of their declared type, as VBA passes them.
  CallResult Sup(IDispatch* sub, const std::shared_ptr<MemoryWorkbook>& workbook) {
    ComPtr<IDispatch> application = testing::FakeApplication();
    ComPtr<IDispatch> book = testing::FakeWorkbook(workbook);
    IDispatch* app = application.Get();
    IDispatch* wb = book.Get();
    return Call(sub, L"sup", {ByRefDispatch(&app), ByRefDispatch(&wb)});
  }

  // A workbook whose results are up to date whatever the hour.
  std::shared_ptr<MemoryWorkbook> UpToDateWorkbook() {
    auto book = NewStandardWorkbook(Today());
    book->SheetByCodeName("Sheet1")->Set(5, 1, Value::Date(SerialFromCivil(Today())));
    return book;
  }
};

TEST_F(ComServerTest, DestroyingAnInstanceThatNeverSawSupTouchesNothing) {
  CreateSub().Reset();
  EXPECT_TRUE(HostStats().cellDragAndDrop.empty());
  EXPECT_EQ(HostStats().liveObjects, 0);
}

TEST_F(ComServerTest, SupOnAnUpToDateSheetBindsAndReleasesEverythingAtTheEnd) {
  auto book = UpToDateWorkbook();
  {
    ComPtr<IDispatch> sub = CreateSub();
    const CallResult r = Sup(sub.Get(), book);
    ASSERT_EQ(r.hr, S_OK) << r.description;
    EXPECT_EQ(book->calls("Value.set"), 0) << "nothing written";
    EXPECT_EQ(HostStats().cellDragAndDrop, std::vector<bool>{false});
  }
  EXPECT_EQ(HostStats().cellDragAndDrop, (std::vector<bool>{false, true}));
  EXPECT_EQ(HostStats().liveObjects, 0) << "every reference the DLL took was released";
  EXPECT_EQ(HostStats().calls[L"non-English locale"], 0);
  char format[32] = {};
  // The system applies the format as the user's own override.
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format);
  EXPECT_STREQ(format, "dd/MM/yyyy");
}

TEST_F(ComServerTest, ThongKeLoBeforeSupFailsWithAnErrorAndChangesNothing) {
  ComPtr<IDispatch> sub = CreateSub();
  const CallResult r = Call(sub.Get(), L"ThongKeLo");
  EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(static_cast<uint32_t>(r.scode), 0x800A005Bu) << "error 91";
  EXPECT_EQ(r.description, "the spreadsheet application is not bound");
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(sub.As(&support), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__Sub), S_OK);
  ComPtr<_Sub> typed;
  ASSERT_EQ(sub.As(&typed), S_OK);
  EXPECT_EQ(static_cast<uint32_t>(typed->ThongKeLo()), 0x800A005Bu);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  win::UniqueBstr description;
  info->GetDescription(description.put());
  EXPECT_EQ(win::Utf8FromBstr(description.get()), "the spreadsheet application is not bound");
}

TEST_F(ComServerTest, AWorkbookWithoutAControlSheetBindsButThongKeLoFails) {
  auto book = UpToDateWorkbook();
  book->SheetByCodeName("Sheet3")->set_code_name("Sheet4");
  ComPtr<IDispatch> sub = CreateSub();
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);
  const CallResult r = Call(sub.Get(), L"ThongKeLo");
  EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(r.description, "the control sheet (code name Sheet3) is not bound");
}

TEST_F(ComServerTest, AnErrorOfTheSpreadsheetReachesTheMacroAsItCame) {
  auto book = UpToDateWorkbook();
  book->DefineName("CaiDatMien", book->SheetByCodeName("Sheet3"), *ParseAddress("A1:H7"));
  ComPtr<IDispatch> sub = CreateSub();
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);
  const CallResult r = Call(sub.Get(), L"ThongKeLo");
  EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(static_cast<uint32_t>(r.scode), 0x800A03ECu) << "error 1004, as the application raised it";
  EXPECT_EQ(r.description, "Range: the name 'CaiDatMien' refers to the sheet 'ThongKe', not to 'CaiDat'");
  EXPECT_EQ(HostStats().screenUpdating, (std::vector<bool>{false, true}));
}

TEST_F(ComServerTest, InstancesShareOneSessionAndAnyOfThemEndsIt) {
  auto book = UpToDateWorkbook();
  ComPtr<IDispatch> first = CreateSub();
  ComPtr<IDispatch> second = CreateSub();
  ASSERT_EQ(Sup(first.Get(), book).hr, S_OK);
  EXPECT_EQ(Call(second.Get(), L"ThongKeLo").hr, S_OK) << "the second instance sees the first one's Sup";
  first.Reset();
  EXPECT_EQ(HostStats().cellDragAndDrop, (std::vector<bool>{false, true}));
  EXPECT_EQ(Call(second.Get(), L"ThongKeLo").hr, DISP_E_EXCEPTION);
}

TEST_F(ComServerTest, ArgumentsByValueByReferenceOrAsVariantAndNothingElse) {
  auto book = UpToDateWorkbook();
  ComPtr<IDispatch> sub = CreateSub();
  ComPtr<IDispatch> application = testing::FakeApplication();
  ComPtr<IDispatch> workbook = testing::FakeWorkbook(book);
  // as a script engine passes its variables: references to VARIANTs
  VARIANT app, wb;
  VariantInit(&app);
  VariantInit(&wb);
  app.vt = VT_DISPATCH;
  app.pdispVal = application.Get();
  wb.vt = VT_DISPATCH;
  wb.pdispVal = workbook.Get();
  EXPECT_EQ(Call(sub.Get(), L"SUP", {ByRefVariant(&app), ByRefVariant(&wb)}).hr, S_OK);
  EXPECT_EQ(Call(sub.Get(), L"Sup", {app, wb}).hr, S_OK) << "by value";

  book->SheetByCodeName("Sheet3")->Set(4, 2, Value::Text("Full"));
  win::UniqueBstr type(std::wstring_view(L"2 Con"));
  BSTR typeText = type.get();
  EXPECT_EQ(Call(sub.Get(), L"kieuso", {ByRefBstr(&typeText)}).hr, S_OK);
  EXPECT_EQ(book->SheetByCodeName("Sheet3")->Get(102, 6), Value::Text("99"));
  EXPECT_EQ(typeText, type.get()) << "loaiSo is left as it was";

  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 2;
  EXPECT_EQ(Call(sub.Get(), L"kieuSo", {number}).hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Call(sub.Get(), L"Sup", {number, wb}).hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Call(sub.Get(), L"kieuSo").hr, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(sub.Get(), L"NoSuchMethod").hr, DISP_E_UNKNOWNNAME);
}

TEST_F(ComServerTest, EndToEndWithTheResultsSite) {
  testing::FixtureSite site(testing::StandardPages, 18765);
  const LocalDateTime now = SystemLocalTime();
  const int64_t endDay = DaysFromCivil(now.date) - ((now.hour > 18 || (now.hour == 18 && now.minute > 40)) ? 0 : 1);
  auto book = NewStandardWorkbook(now.date);
  auto results = book->SheetByCodeName("Sheet1");
  results->Set(5, 1, Value::Date(SerialFromCivil(CivilFromDays(endDay - 3))));
  auto control = book->SheetByCodeName("Sheet3");
  control->Set(1, 2, Value::Date(SerialFromCivil(CivilFromDays(endDay - 10))));
  control->Set(2, 2, Value::Date(SerialFromCivil(CivilFromDays(endDay + 5))));
  ComPtr<IDispatch> sub = CreateSub();
  const CallResult sup = Sup(sub.Get(), book);
  ASSERT_EQ(sup.hr, S_OK) << sup.description;
  EXPECT_EQ(site.request_count(), 9u);
  EXPECT_EQ(results->Get(8, 1), Value::Date(SerialFromCivil(CivilFromDays(endDay))));
  EXPECT_EQ(results->Get(8, 3), Value::Text(testing::FixturePrize(CivilFromDays(endDay), '2', 1, 1)));

  win::UniqueBstr type(std::wstring_view(L"2 Con"));
  BSTR typeText = type.get();
  ASSERT_EQ(Call(sub.Get(), L"kieuSo", {ByRefBstr(&typeText)}).hr, S_OK);
  const CallResult stats = Call(sub.Get(), L"ThongKeLo");
  ASSERT_EQ(stats.hr, S_OK) << stats.description;
  // the three fetched days; the row already there has no prizes, so is no draw day
  EXPECT_EQ(control->Get(1, 6), Value::Text(" * Tổng số ngày thống kê: 3"));
  EXPECT_EQ(HostStats().screenUpdating, (std::vector<bool>{false, true}));
  double appearances = 0;
  for (int32_t r = 3; r <= 102; ++r) appearances += control->Get(r, 8).IsEmpty() ? 0 : control->Get(r, 8).number();
  EXPECT_EQ(appearances, 3 * 27) << "27 North numbers on each of the 3 days";
}

TEST_F(ComServerTest, AMalformedCustomListShowsItsMessageBox) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
  auto book = UpToDateWorkbook();
  auto control = book->SheetByCodeName("Sheet3");
  control->Set(4, 2, Value::Text("Tùy Chọn"));
  control->Set(3, 6, Value::Text("5"));
  ComPtr<IDispatch> sub = CreateSub();
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);
  std::wstring caption, text;
  std::atomic<bool> found = false;
  std::thread watcher([&] {
    for (int i = 0; i < 200 && !found; ++i, Sleep(50)) {
      if (HWND box = FindWindowW(L"#32770", nullptr)) {
        wchar_t buffer[512] = {};
        GetWindowTextW(box, buffer, 512);
        caption = buffer;
        GetDlgItemTextW(box, 0xFFFF, buffer, 512);
        text = buffer;
        found = true;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }
    }
  });
  const CallResult r = Call(sub.Get(), L"ThongKeLo");
  watcher.join();
  EXPECT_EQ(r.hr, S_OK) << "a message does not stop the run";
  ASSERT_TRUE(found);
  EXPECT_EQ(caption, L"Th\u00f4ng B\u00e1o");
  EXPECT_EQ(win::Utf8FromWide(text.c_str(), text.size()),
            "Số nhập vào ít nhất phải là số có 2 chữ số.\r\nSố bị lỗi: 5");
}

}  // namespace
}  // namespace pradima
