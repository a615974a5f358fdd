// The COM server as a spreadsheet's macros use it: late-bound through
// IDispatch, against the fake spreadsheet host, with the loopback results site.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "base/clock.h"
#include "base/error.h"
#include "base/win/com_owners.h"
#include "entry/type_library.h"
#include "session/address.h"
#include "session/standard_workbook.h"
#include "session/win/dispatch.h"
#include "session/win/variant_value.h"
#include "stats/follower_tables.h"
#include "support/fixture_pages.h"
#include "support/fixture_site.h"
#include "support/win/fake_host.h"
#include "support/win/test_dll.h"
#include "support/win/wine_process.h"
#include "terms/sheet_layout.h"

namespace pradima {
namespace {

using Microsoft::WRL::ComPtr;
using testing::Export;
using testing::HostStats;
using win::UniqueVariant;

ComPtr<IClassFactory> Factory() {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(
      Export<HRESULT STDAPICALLTYPE(REFCLSID, REFIID, void**)>("DllGetClassObject")(CLSID_Sub, IID_PPV_ARGS(&factory)),
      S_OK);
  return factory;
}

// As a script's CreateObject makes it: as IUnknown, then asked for IDispatch.
ComPtr<IDispatch> CreateSub() {
  ComPtr<IUnknown> created;
  EXPECT_EQ(Factory()->CreateInstance(nullptr, IID_PPV_ARGS(&created)), S_OK);
  ComPtr<IDispatch> sub;
  EXPECT_EQ(created.As(&sub), S_OK);
  return sub;
}

using TableOperation = std::function<void(Session, const TableTarget&)>;
const char* const kStatistics = terms::kTablesCodeName;
const Value kOldTable = Value::Text("an old table");

// The test DLL reads this moment as the local date and time: a weekday
// before the day's draws are complete.
constexpr LocalDateTime kNow{{2026, 3, 10}, 12, 0, 0};
LocalDateTime Now() { return kNow; }

// The engine's own table operation `write`, as the tests run it natively:
// the session and target, then `parameters`, then the test's clock.
template <typename... Parameters>
TableOperation Engine(auto write, Parameters... parameters) {
  return [=](Session call, const TableTarget& at) { write(call, at, parameters..., Now); };
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
  // Both flags, as Visual Basic calls a member it cannot tell from a property.
  hr = object->Invoke(ids[0], IID_NULL, 1033, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, nullptr, &exception,
                      &badArgument);
  win::UniqueBstr description(exception.bstrDescription), source(exception.bstrSource), help(exception.bstrHelpFile);
  return {hr, win::Utf8FromBstr(description.get()), exception.scode, badArgument};
}

CallResult Call(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {}) {
  return CallNamed(object, name, std::move(args), {});
}

// An argument of the given type holding `pointer`: a reference, or an object by value.
VARIANT Arg(VARTYPE type, void* pointer) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  v.byref = pointer;
  return v;
}

// Sup with both objects by reference of their declared type, as VBA passes them.
CallResult Sup(IDispatch* sub, IDispatch* book) {
  ComPtr<IDispatch> application = testing::FakeApplication();
  IDispatch* app = application.Get();
  return Call(sub, L"sup", {Arg(VT_BYREF | VT_DISPATCH, &app), Arg(VT_BYREF | VT_DISPATCH, &book)});
}
CallResult Sup(IDispatch* sub, const std::shared_ptr<MemoryWorkbook>& workbook) {
  return Sup(sub, testing::FakeWorkbook(workbook).Get());
}

// A workbook whose results are up to date whatever the hour.
std::shared_ptr<MemoryWorkbook> UpToDateWorkbook() {
  auto book = NewStandardWorkbook(kNow.date);
  book->SheetByCodeName("Sheet1")->Set(5, 1, Value::Date(SerialFromCivil(kNow.date)));
  return book;
}

// Up to date, with four North draws ending today (lô 07 and 00 each day),
// and a request for every day of the last ten.
std::shared_ptr<MemoryWorkbook> FourDrawsWorkbook() {
  auto book = NewStandardWorkbook(kNow.date);
  auto results = book->SheetByCodeName("Sheet1");
  const int64_t today = DaysFromCivil(kNow.date);
  for (int32_t i = 0; i < 4; ++i) {
    results->Set(5 + i, 1, Value::Date(SerialFromCivil(CivilFromDays(today - 3 + i))));
    results->Set(5 + i, 3, Value::Text("12307"));
    results->Set(5 + i, 4, Value::Text("45600"));
  }
  book->SheetByCodeName("Sheet3")->Set(1, 2, Value::Date(SerialFromCivil(CivilFromDays(today - 10))));
  book->SheetByCodeName(kStatistics)->Set(10, 3, kOldTable);
  return book;
}

// The statistics sheet of `book` against the table the engine itself
// writes at B3 of a fresh FourDrawsWorkbook, over the area any table clears;
// both start with an old table's cell at C10.
void ExpectEnginesTable(MemoryWorkbook& book, const TableOperation& engine, const std::string& what) {
  auto expected = FourDrawsWorkbook();
  Session native;
  native.SetApplication(std::make_shared<MemoryApplication>());
  native.SetWorkbook(expected);
  native.BindSheets();
  engine(native, TableTarget{kStatistics, 3, 2});
  const RangeRef area = *ParseAddress("A1:Z1100");
  EXPECT_EQ(book.SheetByCodeName(kStatistics)->Read(area), expected->SheetByCodeName(kStatistics)->Read(area)) << what;
}

// A new instance bound by Sup to a FourDrawsWorkbook, with B3 of its
// statistics sheet as a macro hands a range over.
struct Bound {
  std::shared_ptr<MemoryWorkbook> book = FourDrawsWorkbook();
  ComPtr<IDispatch> workbook = testing::FakeWorkbook(book);
  ComPtr<IDispatch> sub = CreateSub();
  CallResult sup = Sup(sub.Get(), workbook.Get());
  ComPtr<IDispatch> b3 = testing::FakeRange(workbook.Get(), book->SheetByCodeName(kStatistics), "B3");

  // Drops the test's own references: the DLL must then hold none either.
  void ExpectAllReleased(const std::string& what) {
    b3.Reset();
    workbook.Reset();
    sub.Reset();
    EXPECT_EQ(HostStats().liveObjects, 0) << what << ": every reference the DLL took was released";
  }
};

class ComServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostStats() = {};
    testing::HostEvents() = {};
    Export<void STDAPICALLTYPE(int, int, int, int, int)>("PradimaSetTestClock")(kNow.date.year, kNow.date.month,
                                                                                kNow.date.day, kNow.hour, kNow.minute);
  }
};

// An event macro runs inside the call that fired it. Whether it binds
// another workbook or ends the session by dropping an instance, the running
// call ends on its own workbook; later calls see what the macro did.
TEST_F(ComServerTest, AnEventMacroDuringACallChangesTheSessionOnlyForLaterCalls) {
  for (const char* method : {"ThongKeLo", "kieuSo", "LoGan"}) {
    for (const bool nestedSup : {true, false}) {
      SCOPED_TRACE(std::string(method) + (nestedSup ? ", a nested Sup" : ", a drop"));
      HostStats() = {};
      Bound bound;
      ASSERT_EQ(bound.sup.hr, S_OK);
      IDispatch* const sub = bound.sub.Get();
      auto other = UpToDateWorkbook();
      if (method[0] != 'k') {
        ASSERT_EQ(Call(sub, L"kieuSo", {*win::VariantOf(L"2 Con").get()}).hr, S_OK);
      }
      bool fired = false;
      testing::HostEvents().afterCellChange = [&] {
        if (fired) return;
        fired = true;
        if (nestedSup) {
          EXPECT_EQ(Sup(sub, other).hr, S_OK);
        } else {
          CreateSub().Reset();
        }
      };
      const CallResult r = method[0] == 'L'   ? Call(sub, L"LoGan", {Arg(VT_DISPATCH, bound.b3.Get())})
                           : method[0] == 'T' ? Call(sub, L"ThongKeLo")
                                              : Call(sub, L"kieuSo", {*win::VariantOf(L"2 Con").get()});
      testing::HostEvents() = {};
      ASSERT_TRUE(fired);
      ASSERT_EQ(r.hr, S_OK) << r.description;
      const auto control = bound.book->SheetByCodeName("Sheet3");
      EXPECT_EQ(control->Get(102, 6), Value::Text("99")) << "the whole list";
      if (method[0] == 'T') {
        EXPECT_EQ(control->Get(1, 6), Value::Text(" * Tổng số ngày thống kê: 4"));
        EXPECT_EQ(control->Get(10, 7), Value::Number(4)) << "07";
        EXPECT_TRUE(control->Get(11, 7).IsEmpty()) << "08 never drawn";
      }
      if (method[0] == 'L') ExpectEnginesTable(*bound.book, Engine(WriteLoGanTable, 20), method);
      EXPECT_EQ(other->calls("Value.set") + other->calls("ClearContents"), 0) << "nothing went to the other workbook";
      EXPECT_EQ(HostStats().cellDragAndDrop, (std::vector<bool>{false, !nestedSup}));
      const CallResult later = Call(sub, L"ThongKeLo");
      if (nestedSup) {
        EXPECT_EQ(other->SheetByCodeName("Sheet3")->Get(1, 6), Value::Text(" * Tổng số ngày thống kê: 0"));
      } else {
        EXPECT_EQ(later.description, "the spreadsheet application is not bound");
      }
      bound.ExpectAllReleased(method);
    }
  }
}

// Each table method, late-bound, writes the engine's own table for the same
// request where Dich says, the old table cleared; an optional parameter left
// out, or passed as missing, takes its default.
TEST_F(ComServerTest, EachTableMethodWritesTheEnginesTableWhereDichSays) {
  const UniqueVariant nam = win::VariantOf(L"nam"), three = win::VariantOf(int32_t{3}),
                      five = win::VariantOf(int32_t{5}), after = win::VariantOf(L"07,00");
  VARIANT missing = Arg(VT_ERROR, nullptr);
  missing.scode = DISP_E_PARAMNOTFOUND;
  enum class Form { Value, Reference, InVariant, Text };
  const struct {
    const char* what;
    const wchar_t* method;
    Form dich;
    std::vector<VARIANT> rest;
    TableOperation engine;
  } cases[] = {
      {"LoGan, 5 rows", L"LoGan", Form::Reference, {*five.get()}, Engine(WriteLoGanTable, 5)},
      {"LoGan, SoDong missing", L"LoGan", Form::InVariant, {missing}, Engine(WriteLoGanTable, 20)},
      {"LoGan, an address", L"LoGan", Form::Text, {*five.get()}, Engine(WriteLoGanTable, 5)},
      {"ThongKeDe, Kieu left out", L"ThongKeDe", Form::InVariant, {}, Engine(WriteDeTable, "tuan")},
      {"ThongKeDe, by year", L"ThongKeDe", Form::Text, {*nam.get()}, Engine(WriteDeTable, "nam")},
      {"LoXien, both left out", L"LoXien", Form::Text, {}, Engine(WriteLoXienTable, 2, 20)},
      {"LoXien, threes, 5 rows", L"LoXien", Form::Value, {*three.get(), *five.get()}, Engine(WriteLoXienTable, 3, 5)},
      {"LoXien, Co missing", L"LoXien", Form::Reference, {missing, *five.get()}, Engine(WriteLoXienTable, 2, 5)},
      {"LoRoi", L"LoRoi", Form::Reference, {}, Engine(WriteLoRoiTable)},
      {"BacNho", L"BacNho", Form::InVariant, {*after.get()}, Engine(WriteBacNhoTable, "07,00", 20)},
  };
  for (const auto& c : cases) {
    HostStats() = {};
    Bound bound;
    ASSERT_EQ(bound.sup.hr, S_OK) << c.what;
    HostStats().screenUpdating.clear();
    IDispatch* pointer = bound.b3.Get();
    VARIANT held = Arg(VT_DISPATCH, pointer);
    const UniqueVariant text = win::VariantOf(L"B3");
    std::vector<VARIANT> args{c.dich == Form::Value       ? held
                              : c.dich == Form::Reference ? Arg(VT_BYREF | VT_DISPATCH, &pointer)
                              : c.dich == Form::InVariant ? Arg(VT_BYREF | VT_VARIANT, &held)
                                                          : *text.get()};
    args.insert(args.end(), c.rest.begin(), c.rest.end());
    const CallResult r = Call(bound.sub.Get(), c.method, args);
    ASSERT_EQ(r.hr, S_OK) << c.what << ": " << r.description;
    ExpectEnginesTable(*bound.book, c.engine, c.what);
    EXPECT_EQ(HostStats().screenUpdating, (std::vector<bool>{false, true})) << c.what;
    if (c.dich == Form::Value) {
      // Early bound, as a client compiled against the type library calls it.
      ComPtr<_Sub2> typed;
      ASSERT_EQ(bound.sub.As(&typed), S_OK);
      bound.book->SheetByCodeName(kStatistics)->Set(10, 3, kOldTable);
      EXPECT_EQ(typed->LoGan(held, 7), S_OK) << c.what;
      ExpectEnginesTable(*bound.book, Engine(WriteLoGanTable, 7), std::string(c.what) + ", early bound");
    }
    bound.ExpectAllReleased(c.what);
  }
}

// The thread's session ends with an instance a caller held, not with one
// never handed out (that instances share it, the event macro test shows). Sup
// fetches the missing days through the DLL's own fetcher; what the pages hold
// becomes rows as the engine's tests check.
TEST_F(ComServerTest, OnlyAnInstanceHandedOutEndsTheSession) {
  CreateSub().Reset();
  testing::FixtureSite site(testing::StandardPages, PRADIMA_TEST_PORT);
  // Before 18:41 the last day to fetch is yesterday.
  const int64_t endDay = DaysFromCivil(kNow.date) - 1;
  auto book = NewStandardWorkbook(kNow.date);
  auto results = book->SheetByCodeName("Sheet1");
  results->Set(5, 1, Value::Date(SerialFromCivil(CivilFromDays(endDay - 3))));
  ComPtr<IDispatch> sub = CreateSub();
  const CallResult r = Sup(sub.Get(), book);
  ASSERT_EQ(r.hr, S_OK) << r.description;
  EXPECT_EQ(site.request_count(), 9u);
  EXPECT_EQ(results->Get(8, 1), Value::Date(SerialFromCivil(CivilFromDays(endDay))));
  EXPECT_EQ(results->Get(8, 3), Value::Text(testing::FixturePrize(CivilFromDays(endDay), '2', 1, 1)));
  ComPtr<IClassFactory> notOurs;
  ASSERT_EQ(Factory()->CreateInstance(nullptr, IID_PPV_ARGS(&notOurs)), E_NOINTERFACE);
  EXPECT_EQ(Call(sub.Get(), L"ThongKeLo").hr, S_OK) << "the session outlives the instance never handed out";
  sub.Reset();
  EXPECT_EQ(HostStats().cellDragAndDrop, (std::vector<bool>{false, true}));
  char format[32] = {};
  // The system applies the format as the user's own override.
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format);
  EXPECT_STREQ(format, "dd/MM/yyyy");
}

// An error reaches the macro with its number and a description that says what
// and where; the screen updates again when a run fails.
TEST_F(ComServerTest, ErrorsReachTheMacroWithTheirNumberAndDescription) {
  const auto misnamed = [](MemoryWorkbook& book) {
    book.DefineName("CaiDatMien", book.SheetByCodeName("Sheet3"), *ParseAddress("A1:H7"));
  };
  const auto refusing = [](MemoryWorkbook&) {
    testing::HostEvents().afterApplicationPut = [](const std::wstring& property) {
      if (property == L"ScreenUpdating") throw Error(0, "the application refused");
    };
  };
  const auto closed = [](MemoryWorkbook&) { testing::HostEvents().lookupFailure = RPC_E_DISCONNECTED; };
  const struct {
    const char* what;
    std::function<void(MemoryWorkbook&)> prepare;  // before Sup
    uint32_t scode;
    const char* description;  // ending in ": ", the system's text follows
    std::vector<bool> screen;
  } cases[] = {
      {"the application's error as it came",
       misnamed,
       0x800A03EC,
       "Range: the name 'CaiDatMien' refers to the sheet 'ThongKe', not to 'CaiDat'",
       {false, true}},
      {"an error with neither scode nor wCode", refusing, 0x800A03EC, "the application refused", {false}},
      {"a closed workbook in Sup", closed, uint32_t(RPC_E_DISCONNECTED), "looking up the member WorkSheets: ", {}},
  };
  for (const auto& c : cases) {
    HostStats() = {};
    auto book = UpToDateWorkbook();
    ComPtr<IDispatch> sub = CreateSub();
    c.prepare(*book);
    CallResult r = Sup(sub.Get(), book);
    if (r.hr == S_OK) r = Call(sub.Get(), L"ThongKeLo");
    testing::HostEvents() = {};
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION) << c.what;
    EXPECT_EQ(static_cast<uint32_t>(r.scode), c.scode) << c.what;
    const std::string expected = c.description;
    EXPECT_EQ(expected.ends_with(": ") ? r.description.substr(0, expected.size()) : r.description, expected) << c.what;
    EXPECT_EQ(HostStats().screenUpdating, c.screen) << c.what;
  }
}

// Objects by value, by reference, as IUnknown or by name; the number type as
// text, as a type-library-driven dispatch coerces it. A wrong type fails
// before anything runs, naming the argument (its index in rgvarg); a value out
// of range, or a target elsewhere, fails with error 5 saying which. A refused
// call changes nothing.
TEST_F(ComServerTest, ArgumentsAsALateBoundCallerPassesThem) {
  Bound bound;
  ASSERT_EQ(bound.sup.hr, S_OK);
  const auto control = bound.book->SheetByCodeName("Sheet3");
  ComPtr<IDispatch> application = testing::FakeApplication();
  VARIANT app = Arg(VT_DISPATCH, application.Get()), wb = Arg(VT_DISPATCH, bound.workbook.Get()),
          unknownApp = Arg(VT_UNKNOWN, application.Get()), unknownWb = Arg(VT_UNKNOWN, bound.workbook.Get());
  auto elsewhere = UpToDateWorkbook();
  ComPtr<IDispatch> otherWorkbook = testing::FakeWorkbook(elsewhere);
  ComPtr<IDispatch> foreign = testing::FakeRange(otherWorkbook.Get(), elsewhere->SheetByCodeName(kStatistics), "B3");
  ComPtr<IDispatch> controlRange = testing::FakeRange(bound.workbook.Get(), control, "A1");
  const VARIANT dich = Arg(VT_DISPATCH, bound.b3.Get()), nothing = Arg(VT_DISPATCH, nullptr),
                null = Arg(VT_NULL, nullptr), empty = Arg(VT_EMPTY, nullptr), other = Arg(VT_DISPATCH, foreign.Get()),
                request = Arg(VT_DISPATCH, controlRange.Get());
  VARIANT missing = Arg(VT_ERROR, nullptr);
  missing.scode = DISP_E_PARAMNOTFOUND;
  const UniqueVariant word = win::VariantOf(L"hai"), number = win::VariantOf(int32_t{7}),
                      zero = win::VariantOf(int32_t{0}), notACell = win::VariantOf(L"B"),
                      huge = win::VariantFromValue(Value::Number(1e10));
  const VARIANT seven = *number.get();
  win::UniqueBstr threeDigits = win::MakeBstr(L"3 Con"), twoDigits = win::MakeBstr(L"2 Con");
  // `engine.kieuSo Sheet3.Range("B6")`: the range itself, read through its default property
  ComPtr<IDispatch> range = testing::FakeObject({{L"Value", [&](auto&, VARIANT* result) {
                                                    result->vt = VT_BSTR;
                                                    result->bstrVal = SysAllocString(threeDigits.get());
                                                  }}});
  BSTR byReference = twoDigits.get();
  UniqueVariant held = win::VariantOf(int32_t{3});  // a Variant variable holding a number
  const struct {
    const char* what;
    const wchar_t* method;
    std::vector<VARIANT> args;
    std::vector<std::pair<const wchar_t*, VARIANT>> named;
    const char* text;  // the last number kieuSo lists, or a part of error 5's description
    HRESULT hr = DISP_E_EXCEPTION;
    UINT badArgument = UINT(-1);
  } cases[] = {
      // as a script engine passes its variables: references to VARIANTs
      {"by reference", L"SUP", {Arg(VT_BYREF | VT_VARIANT, &app), Arg(VT_BYREF | VT_VARIANT, &wb)}, {}, nullptr, S_OK},
      {"by value", L"Sup", {app, wb}, {}, nullptr, S_OK},
      {"as IUnknown", L"Sup", {unknownApp, unknownWb}, {}, nullptr, S_OK},
      {"by name", L"Sup", {}, {{L"thisworkbook", wb}, {L"ExcelApp", app}}, nullptr, S_OK},
      {"by position, then by name", L"Sup", {app}, {{L"ThisWorkBook", wb}}, nullptr, S_OK},
      {"text by reference", L"kieuSo", {Arg(VT_BYREF | VT_BSTR, &byReference)}, {}, "99", S_OK},
      {"a Range object", L"kieuSo", {Arg(VT_DISPATCH, range.Get())}, {}, "999", S_OK},
      {"a Range by name", L"kieuSo", {}, {{L"LOAISO", Arg(VT_DISPATCH, range.Get())}}, "999", S_OK},
      // neither type: "Full" then lists 0 alone
      {"a number in a Variant", L"kieuSo", {Arg(VT_BYREF | VT_VARIANT, held.get())}, {}, "0", S_OK},
      {"Empty", L"kieuSo", {empty}, {}, "0", S_OK},
      {"a number for ExcelApp", L"Sup", {seven, wb}, {}, nullptr, DISP_E_TYPEMISMATCH, 1},
      {"a number by name", L"Sup", {}, {{L"ThisWorkBook", seven}, {L"ExcelApp", app}}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"Null for loaiSo", L"kieuSo", {null}, {}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"an unknown name", L"Sup", {}, {{L"ExcelApp", app}, {L"Book", wb}}, nullptr, DISP_E_UNKNOWNNAME},
      {"ExcelApp twice", L"Sup", {app}, {{L"ExcelApp", wb}}, nullptr, DISP_E_PARAMNOTFOUND},
      {"one argument short", L"Sup", {app}, {}, nullptr, DISP_E_BADPARAMCOUNT},
      {"no loaiSo", L"kieuSo", {}, {}, nullptr, DISP_E_BADPARAMCOUNT},
      {"no such method", L"NoSuchMethod", {}, {}, nullptr, DISP_E_UNKNOWNNAME},
      {"a number for Dich", L"LoGan", {seven}, {}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"Nothing for Dich", L"LoGan", {nothing}, {}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"the workbook for Dich", L"LoGan", {wb, seven}, {}, nullptr, DISP_E_TYPEMISMATCH, 1},
      {"a word for SoDong", L"LoGan", {dich, *word.get()}, {}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"too large for SoDong", L"LoGan", {dich, *huge.get()}, {}, nullptr, DISP_E_OVERFLOW, 0},
      {"no Dich", L"LoGan", {}, {}, nullptr, DISP_E_BADPARAMCOUNT},
      {"Dich missing", L"LoGan", {missing}, {}, nullptr, DISP_E_PARAMNOTOPTIONAL},
      {"an argument too many", L"LoGan", {dich, seven, seven}, {}, nullptr, DISP_E_BADPARAMCOUNT},
      {"another workbook's range", L"LoGan", {other}, {}, "Dich: the range is on the sheet Sheet4 of another workbook"},
      {"not an address", L"LoGan", {*notACell.get()}, {}, "Dich: \"B\" is not the address of a cell"},
      {"the control sheet's request", L"LoGan", {request}, {}, "Sheet3"},
      {"SoDong 0", L"LoGan", {dich, *zero.get()}, {}, "SoDong"},
      {"Null for Kieu", L"ThongKeDe", {dich, null}, {}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"Null for Sau by name", L"BacNho", {dich}, {{L"Sau", null}}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"a word for Co by name", L"LoXien", {dich}, {{L"co", *word.get()}}, nullptr, DISP_E_TYPEMISMATCH, 0},
      {"no Sau", L"BacNho", {dich}, {}, nullptr, DISP_E_BADPARAMCOUNT},
      {"Sau missing", L"BacNho", {dich, missing}, {}, nullptr, DISP_E_PARAMNOTOPTIONAL},
      {"Kieu neither", L"ThongKeDe", {dich, *word.get()}, {}, "Kieu"},
      {"Co 7", L"LoXien", {dich, seven}, {}, "Co"},
      {"Sau without a number", L"BacNho", {dich, *word.get()}, {}, "Sau"},
  };
  const auto writes = [&] {
    return bound.book->calls("Value.set") + bound.book->calls("ClearContents") + elsewhere->calls("Value.set");
  };
  for (const auto& c : cases) {
    const auto before = writes();
    const CallResult r = CallNamed(bound.sub.Get(), c.method, c.args, c.named);
    ASSERT_EQ(r.hr, c.hr) << c.what << ": " << r.description;
    EXPECT_EQ(r.badArgument, c.badArgument) << c.what;
    if (FAILED(c.hr)) {
      EXPECT_EQ(writes(), before) << c.what << ": a refused call changes nothing";
    }
    if (c.hr == DISP_E_EXCEPTION) {
      EXPECT_EQ(static_cast<uint32_t>(r.scode), 0x800A0005u) << c.what;
      EXPECT_NE(r.description.find(c.text), std::string::npos) << c.what << ": " << r.description;
    } else if (c.text) {
      // kieuSo lists from F3 to its last number
      const int32_t lastRow = 3 + std::stoi(c.text);
      EXPECT_EQ(control->Get(lastRow, 6), Value::Text(c.text)) << c.what;
      EXPECT_TRUE(control->Get(lastRow + 1, 6).IsEmpty()) << c.what;
    }
  }
  EXPECT_EQ(HostStats().cellDragAndDrop, std::vector<bool>(6, false)) << "six bindings";
  EXPECT_EQ(byReference, twoDigits.get()) << "loaiSo is left as it was";
  EXPECT_EQ(held->vt, VT_I4) << "the caller's variable is never changed";
  EXPECT_EQ(held->lVal, 3);
  control->Set(4, 2, Value::Text("Tùy Chọn"));
  EXPECT_EQ(Call(bound.sub.Get(), L"kieuSo", {Arg(VT_BYREF | VT_VARIANT, held.get())}).description,
            "the number type \"3\" has no saved custom list; it must be 2 Con or 3 Con")
      << "the number as its decimal text";
}

// A caller reading the type library finds the ids and parameter positions
// Invoke takes; _Sub, as clients compiled against it know it, keeps its three
// methods with their ids, and nothing else. A caller without an EXCEPINFO, or
// through the interface, still learns an error.
TEST_F(ComServerTest, TheTypeLibraryMatchesInvokeAndKeepsTheFirstInterface) {
  ComPtr<IDispatch> sub = CreateSub();
  ComPtr<ITypeInfo> info, dual, first;
  ASSERT_EQ(sub->GetTypeInfo(0, 1033, &info), S_OK);
  for (std::vector<const wchar_t*> names :
       {std::vector{L"Sup", L"ExcelApp", L"ThisWorkBook"}, std::vector{L"kieuSo", L"loaiSo"}, std::vector{L"ThongKeLo"},
        std::vector{L"LoGan", L"Dich", L"SoDong"}, std::vector{L"ThongKeDe", L"Dich", L"Kieu"},
        std::vector{L"LoXien", L"Dich", L"Co", L"SoDong"}, std::vector{L"LoRoi", L"Dich"},
        std::vector{L"BacNho", L"Dich", L"Sau", L"SoDong"}}) {
    const auto count = static_cast<UINT>(names.size());
    std::vector<DISPID> fromLibrary(count), fromInvoke(count);
    const auto list = const_cast<LPOLESTR*>(names.data());
    ASSERT_EQ(info->GetIDsOfNames(list, count, fromLibrary.data()), S_OK) << *list;
    ASSERT_EQ(sub->GetIDsOfNames(IID_NULL, list, count, 1033, fromInvoke.data()), S_OK) << *list;
    EXPECT_EQ(fromLibrary, fromInvoke) << *list;
  }
  ComPtr<ITypeLib> library;
  UINT index = 0;
  HREFTYPE vtable = 0;
  ASSERT_EQ(info->GetContainingTypeLib(&library, &index), S_OK);
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID__Sub, &dual), S_OK);
  ASSERT_EQ(dual->GetRefTypeOfImplType(-1, &vtable), S_OK);
  ASSERT_EQ(dual->GetRefTypeInfo(vtable, &first), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(first->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->cFuncs, 3);
  first->ReleaseTypeAttr(attributes);
  const wchar_t* names[] = {L"Sup", L"kieuSo", L"ThongKeLo"};
  std::vector<MEMBERID> ids(3);
  for (UINT n = 0; n < 3; ++n) ASSERT_EQ(first->GetIDsOfNames(const_cast<LPOLESTR*>(&names[n]), 1, &ids[n]), S_OK);
  EXPECT_EQ(ids, (std::vector<MEMBERID>{1, 2, 3}));
  // Before Sup, with no EXCEPINFO or through the interface
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(sub.As(&support), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__Sub), S_OK);
  DISPPARAMS none{};
  // ThongKeLo by its id, pinned above
  EXPECT_EQ(static_cast<uint32_t>(sub->Invoke(3, IID_NULL, 1033, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr)),
            0x800A005Bu);
  ComPtr<_Sub> typed;
  ASSERT_EQ(sub.As(&typed), S_OK);
  EXPECT_EQ(static_cast<uint32_t>(typed->ThongKeLo()), 0x800A005Bu);
  ComPtr<IErrorInfo> error;
  ASSERT_EQ(GetErrorInfo(0, &error), S_OK);
  win::UniqueBstr description;
  error->GetDescription(description.put());
  EXPECT_EQ(win::Utf8FromBstr(description.get()), "the spreadsheet application is not bound");
}

// The box a call shows, read as the user sees it once it is set up, then
// closed with OK, on the caller's thread.
std::wstring shownCaption, shownText;
LRESULT CALLBACK ReadAndClose(int code, WPARAM sent, LPARAM parameter) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(parameter);
  if (code == HC_ACTION && message->message == WM_INITDIALOG) {
    wchar_t buffer[512] = {};
    GetWindowTextW(message->hwnd, buffer, 512);
    shownCaption = buffer;
    GetDlgItemTextW(message->hwnd, 0xFFFF, buffer, 512);
    shownText = buffer;
    PostMessageW(message->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  return CallNextHookEx(nullptr, code, sent, parameter);
}

TEST_F(ComServerTest, AMalformedCustomListShowsItsMessageBox) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
  Bound bound;
  ASSERT_EQ(bound.sup.hr, S_OK);
  const auto control = bound.book->SheetByCodeName("Sheet3");
  control->Set(4, 2, Value::Text("Tùy Chọn"));
  control->Set(3, 6, Value::Text("5"));
  const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, ReadAndClose, nullptr, GetCurrentThreadId());
  const CallResult r = Call(bound.sub.Get(), L"ThongKeLo");
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(r.hr, S_OK) << "a message does not stop the run";
  EXPECT_EQ(shownCaption, L"Th\u00f4ng B\u00e1o");
  EXPECT_EQ(win::Utf8FromWide(shownText.c_str(), shownText.size()),
            "Số nhập vào ít nhất phải là số có 2 chữ số.\r\nSố bị lỗi: 5");
}

}  // namespace
}  // namespace pradima
