// The COM server as a spreadsheet's macros use it: late-bound through
// IDispatch, against the fake spreadsheet host, with the loopback results site.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>

#include "base/clock.h"
#include "base/error.h"
#include "base/win/com_owners.h"
#include "fake_host.h"
#include "pradima_h.h"
#include "session/standard_workbook.h"
#include "session/win/variant_value.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"
#include "win/wine_process.h"

namespace pradima {
namespace {

using Microsoft::WRL::ComPtr;
using testing::HostStats;
using win::UniqueVariant;

HMODULE TestDll() {
  static HMODULE dll = LoadLibraryW(testing::WindowsPath(PRADIMA_TEST_DLL).c_str());
  EXPECT_NE(dll, nullptr);
  return dll;
}

template <typename Function>
Function* Export(const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(TestDll(), name)));
}

ComPtr<IClassFactory> Factory() {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(
      Export<HRESULT STDAPICALLTYPE(REFCLSID, REFIID, void**)>("DllGetClassObject")(CLSID_Sub, IID_PPV_ARGS(&factory)),
      S_OK);
  return factory;
}

ComPtr<IDispatch> CreateSub() {
  ComPtr<IDispatch> sub;
  EXPECT_EQ(Factory()->CreateInstance(nullptr, IID_PPV_ARGS(&sub)), S_OK);
  return sub;
}

// The test DLL reads this moment as the local date and time: a weekday
// before the day's draws are complete.
constexpr LocalDateTime kNow{{2026, 3, 10}, 12, 0, 0};

void SetDllClock(const LocalDateTime& moment) {
  Export<void STDAPICALLTYPE(int, int, int, int, int)>("PradimaSetTestClock")(
      moment.date.year, moment.date.month, moment.date.day, moment.hour, moment.minute);
}

struct CallResult {
  HRESULT hr;
  std::string description;
  HRESULT scode;
  UINT badArgument = UINT(-1);
};

// Calls a method by name with arguments in declaration order, then named
// ones, as a late-bound caller writes `Sup ThisWorkBook:=wb, ExcelApp:=app`.
CallResult CallNamed(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args,
                     std::vector<std::pair<const wchar_t*, VARIANT>> named) {
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
  for (const auto& [argumentName, value] : named) names.push_back(const_cast<LPOLESTR>(argumentName));
  std::vector<DISPID> ids(names.size());
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), 1033, ids.data());
  if (FAILED(hr)) return {hr, "", 0};
  // IDispatch takes named arguments first, then the positional ones last first.
  std::vector<VARIANT> all;
  for (const auto& [argumentName, value] : named) all.push_back(value);
  std::reverse(args.begin(), args.end());
  all.insert(all.end(), args.begin(), args.end());
  DISPPARAMS params{all.data(), named.empty() ? nullptr : ids.data() + 1, static_cast<UINT>(all.size()),
                    static_cast<UINT>(named.size())};
  EXCEPINFO exception{};
  UINT badArgument = UINT(-1);
  hr = object->Invoke(ids[0], IID_NULL, 1033, DISPATCH_METHOD, &params, nullptr, &exception, &badArgument);
  win::UniqueBstr description(exception.bstrDescription), source(exception.bstrSource), help(exception.bstrHelpFile);
  return {hr, win::Utf8FromBstr(description.get()), exception.scode, badArgument};
}

CallResult Call(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {}) {
  return CallNamed(object, name, std::move(args), {});
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

CivilDate Today() { return kNow.date; }

class ComServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostStats() = {};
    testing::HostEvents() = {};
    SetDllClock(kNow);
  }
  void TearDown() override {
    testing::HostEvents() = {};
    SetDllClock({{0, 0, 0}, 0, 0, 0});
  }

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

  // Up to date, with four North draws ending today (lô 07 and 00 each day),
  // and a request for every day of the last ten.
  std::shared_ptr<MemoryWorkbook> FourDrawsWorkbook() {
    auto book = NewStandardWorkbook(Today());
    auto results = book->SheetByCodeName("Sheet1");
    const int64_t today = DaysFromCivil(Today());
    for (int32_t i = 0; i < 4; ++i) {
      results->Set(5 + i, 1, Value::Date(SerialFromCivil(CivilFromDays(today - 3 + i))));
      results->Set(5 + i, 3, Value::Text("12307"));
      results->Set(5 + i, 4, Value::Text("45600"));
    }
    book->SheetByCodeName("Sheet3")->Set(1, 2, Value::Date(SerialFromCivil(CivilFromDays(today - 10))));
    return book;
  }

 public:
  CallResult KieuSo(IDispatch* sub, const wchar_t* type) {
    win::UniqueBstr text = win::MakeBstr(type);
    BSTR typeText = text.get();
    return Call(sub, L"kieuSo", {ByRefBstr(&typeText)});
  }

  // The statistics table of FourDrawsWorkbook for the list "Full" "2 Con".
  static void ExpectFourDrawsCounted(MemorySheet& control) {
    EXPECT_EQ(control.Get(1, 6), Value::Text(" * Tổng số ngày thống kê: 4"));
    EXPECT_EQ(control.Get(10, 6), Value::Text("07"));
    EXPECT_EQ(control.Get(10, 7), Value::Number(4));
    EXPECT_EQ(control.Get(10, 8), Value::Number(4));
    EXPECT_EQ(control.Get(3, 7), Value::Number(4)) << "00";
    EXPECT_TRUE(control.Get(11, 7).IsEmpty()) << "08 never drawn";
    EXPECT_EQ(control.Get(102, 6), Value::Text("99")) << "the whole list";
  }
};

TEST_F(ComServerTest, ANestedSupFromAnEventMacroLeavesTheRunningCallOnItsOwnWorkbook) {
  auto book = FourDrawsWorkbook();
  auto other = UpToDateWorkbook();
  ComPtr<IDispatch> sub = CreateSub();
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);
  ASSERT_EQ(KieuSo(sub.Get(), L"2 Con").hr, S_OK);
  bool fired = false;
  testing::HostEvents().afterApplicationPut = [&](const std::wstring& property) {
    if (property != L"ScreenUpdating" || fired) return;
    fired = true;
    EXPECT_EQ(Sup(sub.Get(), other).hr, S_OK);
  };
  const CallResult r = Call(sub.Get(), L"ThongKeLo");
  testing::HostEvents() = {};
  ASSERT_TRUE(fired);
  ASSERT_EQ(r.hr, S_OK) << r.description;
  ExpectFourDrawsCounted(*book->SheetByCodeName("Sheet3"));
  EXPECT_TRUE(other->SheetByCodeName("Sheet3")->Get(1, 6).IsEmpty()) << "nothing went to the other workbook";

  // Later calls run on what the nested Sup bound.
  ASSERT_EQ(Call(sub.Get(), L"ThongKeLo").hr, S_OK);
  EXPECT_EQ(other->SheetByCodeName("Sheet3")->Get(1, 6), Value::Text(" * Tổng số ngày thống kê: 0"));
  sub.Reset();
  EXPECT_EQ(HostStats().liveObjects, 0) << "every reference the DLL took was released";
}

TEST_F(ComServerTest, AnInstanceDroppedByAChangeEventEndsTheSessionOnlyForLaterCalls) {
  struct Case {
    const char* call;
    std::function<CallResult(ComServerTest&, IDispatch*)> run;
  };
  const Case cases[] = {
      {"ThongKeLo", [](ComServerTest&, IDispatch* sub) { return Call(sub, L"ThongKeLo"); }},
      {"kieuSo", [](ComServerTest& test, IDispatch* sub) { return test.KieuSo(sub, L"2 Con"); }},
  };
  for (const Case& c : cases) {
    HostStats() = {};
    auto book = FourDrawsWorkbook();
    ComPtr<IDispatch> sub = CreateSub();
    ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK) << c.call;
    if (std::string(c.call) == "ThongKeLo") {
      ASSERT_EQ(KieuSo(sub.Get(), L"2 Con").hr, S_OK);
    }
    bool fired = false;
    testing::HostEvents().afterCellChange = [&] {
      if (fired) return;
      fired = true;
      CreateSub().Reset();
    };
    const CallResult r = c.run(*this, sub.Get());
    testing::HostEvents() = {};
    ASSERT_TRUE(fired) << c.call;
    ASSERT_EQ(r.hr, S_OK) << c.call << ": " << r.description;
    if (std::string(c.call) == "ThongKeLo") {
      ExpectFourDrawsCounted(*book->SheetByCodeName("Sheet3"));
    } else {
      EXPECT_EQ(book->SheetByCodeName("Sheet3")->Get(102, 6), Value::Text("99")) << "the whole list";
    }
    EXPECT_EQ(HostStats().cellDragAndDrop, (std::vector<bool>{false, true})) << c.call;
    EXPECT_EQ(Call(sub.Get(), L"ThongKeLo").description, "the spreadsheet application is not bound") << c.call;

    ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK) << c.call;
    ASSERT_EQ(Call(sub.Get(), L"ThongKeLo").hr, S_OK) << c.call;
    ExpectFourDrawsCounted(*book->SheetByCodeName("Sheet3"));
    sub.Reset();
    EXPECT_EQ(HostStats().liveObjects, 0) << c.call << ": every reference the DLL took was released";
  }
}

TEST_F(ComServerTest, AnInstanceNeverHandedOutEndsNoSession) {
  ComPtr<IClassFactory> factory = Factory();
  auto book = FourDrawsWorkbook();
  ComPtr<IDispatch> sub = CreateSub();
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);
  ComPtr<IClassFactory> notOurs;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&notOurs)), E_NOINTERFACE);
  EXPECT_EQ(HostStats().cellDragAndDrop, std::vector<bool>{false}) << "cell dragging stays off";
  EXPECT_EQ(Call(sub.Get(), L"ThongKeLo").hr, S_OK) << "the session is still bound";
}

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
  book->SheetByCodeName("Sheet3")->setCodeName("Sheet4");
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

TEST_F(ComServerTest, FailuresOfTheApplicationKeepTheirIdentity) {
  auto book = UpToDateWorkbook();
  ComPtr<IDispatch> sub = CreateSub();
  // A closed workbook answers no lookup: its own HRESULT, and what was asked.
  testing::HostEvents().lookupFailure = RPC_E_DISCONNECTED;
  CallResult r = Sup(sub.Get(), book);
  testing::HostEvents() = {};
  EXPECT_EQ(r.scode, RPC_E_DISCONNECTED);
  EXPECT_EQ(r.description.rfind("looking up the member WorkSheets", 0), 0u) << r.description;

  // An error that carries neither scode nor wCode is still an error, not error 0.
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);
  testing::HostEvents().afterApplicationPut = [](const std::wstring&) {
    testing::HostEvents().afterApplicationPut = nullptr;
    throw Error(0, "the application refused");
  };
  r = Call(sub.Get(), L"ThongKeLo");
  EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(static_cast<uint32_t>(r.scode), 0x800A03ECu) << "error 1004";
  EXPECT_EQ(r.description, "the application refused");
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

VARIANT ObjectVariant(VARTYPE type, IUnknown* object) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  v.punkVal = object;
  return v;
}

TEST_F(ComServerTest, ObjectArgumentsByValueByReferenceAsIUnknownOrByName) {
  auto book = UpToDateWorkbook();
  ComPtr<IDispatch> sub = CreateSub();
  ComPtr<IDispatch> application = testing::FakeApplication();
  ComPtr<IDispatch> workbook = testing::FakeWorkbook(book);
  VARIANT app = ObjectVariant(VT_DISPATCH, application.Get());
  VARIANT wb = ObjectVariant(VT_DISPATCH, workbook.Get());
  // as a script engine passes its variables: references to VARIANTs
  EXPECT_EQ(Call(sub.Get(), L"SUP", {ByRefVariant(&app), ByRefVariant(&wb)}).hr, S_OK);
  EXPECT_EQ(Call(sub.Get(), L"Sup", {app, wb}).hr, S_OK) << "by value";
  EXPECT_EQ(
      Call(sub.Get(), L"Sup", {ObjectVariant(VT_UNKNOWN, application.Get()), ObjectVariant(VT_UNKNOWN, workbook.Get())})
          .hr,
      S_OK)
      << "as IUnknown";
  EXPECT_EQ(CallNamed(sub.Get(), L"Sup", {}, {{L"thisworkbook", wb}, {L"ExcelApp", app}}).hr, S_OK) << "by name";
  EXPECT_EQ(CallNamed(sub.Get(), L"Sup", {app}, {{L"ThisWorkBook", wb}}).hr, S_OK) << "by position, then by name";
  EXPECT_EQ(HostStats().cellDragAndDrop, std::vector<bool>(5, false)) << "five bindings";

  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 2;
  const CallResult first = Call(sub.Get(), L"Sup", {number, wb});
  EXPECT_EQ(first.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(first.badArgument, 1u) << "ExcelApp, the last in rgvarg";
  const CallResult second = CallNamed(sub.Get(), L"Sup", {}, {{L"ThisWorkBook", number}, {L"ExcelApp", app}});
  EXPECT_EQ(second.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(second.badArgument, 0u) << "ThisWorkBook, the first named";
  EXPECT_EQ(CallNamed(sub.Get(), L"Sup", {}, {{L"ExcelApp", app}, {L"Book", wb}}).hr, DISP_E_UNKNOWNNAME);
  EXPECT_EQ(CallNamed(sub.Get(), L"Sup", {app}, {{L"ExcelApp", wb}}).hr, DISP_E_PARAMNOTFOUND) << "ExcelApp twice";
  EXPECT_EQ(Call(sub.Get(), L"Sup", {app}).hr, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(sub.Get(), L"NoSuchMethod").hr, DISP_E_UNKNOWNNAME);
}

TEST_F(ComServerTest, TheNumberTypeIsTakenAsTextAsATypeLibraryDrivenDispatchCoercesIt) {
  auto book = UpToDateWorkbook();
  auto control = book->SheetByCodeName("Sheet3");
  ComPtr<IDispatch> sub = CreateSub();
  ASSERT_EQ(Sup(sub.Get(), book).hr, S_OK);

  win::UniqueBstr threeDigits = win::MakeBstr(L"3 Con");
  // `engine.kieuSo Sheet3.Range("B6")`: the range itself, read through its default property
  ComPtr<IDispatch> range = testing::FakeObject({{L"Value", [&](auto&, VARIANT* result) {
                                                    result->vt = VT_BSTR;
                                                    result->bstrVal = SysAllocString(threeDigits.get());
                                                  }}});
  win::UniqueBstr twoDigits = win::MakeBstr(L"2 Con");
  BSTR byReference = twoDigits.get();
  VARIANT held;  // a Variant variable holding a number
  VariantInit(&held);
  held.vt = VT_I4;
  held.lVal = 3;
  VARIANT empty;
  VariantInit(&empty);
  struct Case {
    const char* what;
    std::vector<VARIANT> args;
    std::vector<std::pair<const wchar_t*, VARIANT>> named;
    const char* lastListed;  // F of the last row the list fills
    int32_t lastRow;
  };
  const Case cases[] = {
      {"text by reference", {ByRefBstr(&byReference)}, {}, "99", 102},
      {"a Range object", {ObjectVariant(VT_DISPATCH, range.Get())}, {}, "999", 1002},
      {"by name", {}, {{L"LOAISO", ObjectVariant(VT_DISPATCH, range.Get())}}, "999", 1002},
      // neither type: "Full" then lists 0 alone
      {"a number in a Variant", {ByRefVariant(&held)}, {}, "0", 3},
      {"Empty", {empty}, {}, "0", 3},
  };
  for (const Case& c : cases) {
    const CallResult r = CallNamed(sub.Get(), L"kieuSo", c.args, c.named);
    ASSERT_EQ(r.hr, S_OK) << c.what << ": " << r.description;
    EXPECT_EQ(control->Get(c.lastRow, 6), Value::Text(c.lastListed)) << c.what;
    EXPECT_TRUE(control->Get(c.lastRow + 1, 6).IsEmpty()) << c.what;
  }
  EXPECT_EQ(byReference, twoDigits.get()) << "loaiSo is left as it was";
  EXPECT_EQ(held.vt, VT_I4) << "the caller's variable is never changed";
  EXPECT_EQ(held.lVal, 3);
  control->Set(4, 2, Value::Text("Tùy Chọn"));
  EXPECT_EQ(Call(sub.Get(), L"kieuSo", {ByRefVariant(&held)}).description,
            "the number type \"3\" has no saved custom list; it must be 2 Con or 3 Con")
      << "the number as its decimal text";

  VARIANT null;
  VariantInit(&null);
  null.vt = VT_NULL;
  const CallResult r = Call(sub.Get(), L"kieuSo", {null});
  EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(r.badArgument, 0u);
  EXPECT_EQ(Call(sub.Get(), L"kieuSo").hr, DISP_E_BADPARAMCOUNT);
}

TEST_F(ComServerTest, EndToEndWithTheResultsSite) {
  testing::FixtureSite site(testing::StandardPages, PRADIMA_TEST_PORT);
  // Before 18:41 the last day to fetch is yesterday.
  const LocalDateTime now = kNow;
  const int64_t endDay = DaysFromCivil(now.date) - 1;
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

  win::UniqueBstr type = win::MakeBstr(L"2 Con");
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
