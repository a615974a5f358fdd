// Registration, machine-wide and per user. Where Windows and Wine differ,
// the DLL's system calls are stood in for by a model of what Windows
// documents; what only Windows can show is named in the test.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "entry/registration_calls.h"
#include "entry/type_library.h"
#include "support/win/registry_keys.h"
#include "support/win/test_dll.h"
#include "support/win/wine_process.h"

namespace pradima {
namespace {

using entry::RegistrationCalls;
using testing::KeyExists;
using testing::ReadValue;
using testing::Tree;

std::wstring Text(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kClassKey = kClasses + L"CLSID\\" + Text(CLSID_Sub);
const std::wstring kProgIdKey = kClasses + L"Pradima.Sub";
const std::wstring kTypeLibKey = kClasses + L"TypeLib\\" + Text(LIBID_Pradima);
const std::wstring kInterfaceKey = kClasses + L"Interface\\" + Text(IID__Sub);
const std::wstring kInterface2Key = kClasses + L"Interface\\" + Text(IID__Sub2);
const std::wstring kEntry = L"\\409\\win64";  // locale 1033, this bitness
const std::wstring kDll = testing::WindowsPath(PRADIMA_TEST_DLL);

HRESULT Install(BOOL install, const wchar_t* command, HMODULE dll = testing::TestDll()) {
  return testing::Export<HRESULT STDAPICALLTYPE(BOOL, LPCWSTR)>("DllInstall", dll)(install, command);
}
void UseCalls(const RegistrationCalls* calls, HMODULE dll = testing::TestDll()) {
  testing::Export<void STDAPICALLTYPE(const RegistrationCalls*)>("PradimaSetTestRegistrationCalls", dll)(calls);
}

// Windows as its documentation describes it, where Wine differs: since Vista
// SP1 the type library calls ignore an override of the classes root unless
// OaEnablePerUserTLibRegistration came first, and then write the merged
// classes root: into the user's copy of a key where there is one, else into
// the machine's keys, which a standard user may not write.
struct Windows {
  bool exportsEnabling = true;  // false: before Vista SP1, which honours the override (as Wine 8 does)
  bool standardUser = true;
  bool refuseTypeLibrary = false;  // the type library call fails whatever it is asked
  bool enabled = false;
  HKEY classesRoot = nullptr;
  std::wstring loadedPath = {};
} windows;

LSTATUS WINAPI OverrideClassesRoot(HKEY classes) {
  windows.classesRoot = classes;
  return RegOverridePredefKey(HKEY_CLASSES_ROOT, classes);
}
void WINAPI EnablePerUser() { windows.enabled = true; }

// Wine loads no type library from a path over MAX_PATH: the library comes
// from the DLL's own short path, the path asked for is kept.
HRESULT WINAPI LoadTypeLibrary(LPCOLESTR path, ITypeLib** library) {
  windows.loadedPath = path;
  return LoadTypeLibEx(kDll.c_str(), REGKIND_NONE, library);
}

template <typename Call>
HRESULT AsWindows(Call call) {
  if (windows.refuseTypeLibrary) return TYPE_E_REGISTRYACCESS;
  if (!windows.classesRoot || windows.enabled || !windows.exportsEnabling) return call();
  if (windows.standardUser) return TYPE_E_REGISTRYACCESS;
  HKEY merged = nullptr;
  RegOpenKeyExW(KeyExists(HKEY_CURRENT_USER, kTypeLibKey) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                L"Software\\Classes", 0, KEY_ALL_ACCESS, &merged);
  RegOverridePredefKey(HKEY_CLASSES_ROOT, merged);
  const HRESULT hr = call();
  RegOverridePredefKey(HKEY_CLASSES_ROOT, windows.classesRoot);
  RegCloseKey(merged);
  return hr;
}
HRESULT WINAPI RegisterTypeLibrary(ITypeLib* library, LPCOLESTR path) {
  return AsWindows([&] { return RegisterTypeLib(library, const_cast<LPOLESTR>(path), nullptr); });
}
HRESULT WINAPI UnregisterTypeLibrary(REFGUID library, WORD major, WORD minor, LCID locale, SYSKIND kind) {
  return AsWindows([&] { return UnRegisterTypeLib(library, major, minor, locale, kind); });
}

class Registration : public ::testing::Test {
 protected:
  // Stand-ins for the system's calls, modelling Windows as set in `windows`.
  const RegistrationCalls* StandIn(const Windows& model) {
    windows = model;
    static RegistrationCalls calls;
    calls = {OverrideClassesRoot, model.exportsEnabling ? EnablePerUser : nullptr, LoadTypeLibrary, RegisterTypeLibrary,
             UnregisterTypeLibrary};
    UseCalls(&calls);
    return &calls;
  }
  void TearDown() override {
    UseCalls(nullptr);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      for (const std::wstring& key : {kClassKey, kProgIdKey, kTypeLibKey, kInterfaceKey, kInterface2Key}) {
        testing::DeleteKey(root, key);
        testing::DeleteKey(root, key, KEY_WOW64_32KEY);
      }
  }
};

void ExpectRegistered(HKEY root, const std::wstring& dll, const char* scope) {
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\InprocServer32"), dll) << scope;
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment") << scope;
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\TypeLib"), Text(LIBID_Pradima)) << scope;
  EXPECT_EQ(ReadValue(root, kProgIdKey + L"\\CLSID"), Text(CLSID_Sub)) << scope;
  EXPECT_EQ(ReadValue(root, kTypeLibKey + L"\\1.1" + kEntry), dll) << scope;
  EXPECT_FALSE(KeyExists(root, kTypeLibKey + L"\\1.0" + kEntry)) << scope;
  EXPECT_EQ(ReadValue(root, kInterfaceKey + L"\\TypeLib", L"Version"), L"1.1") << scope;
  EXPECT_EQ(ReadValue(root, kInterface2Key + L"\\TypeLib", L"Version"), L"1.1") << scope;
}

void ExpectNothingIn(HKEY root, const char* scope) {
  for (const std::wstring& key :
       {kClassKey, kProgIdKey, kTypeLibKey + L"\\1.0", kTypeLibKey + L"\\1.1", kInterfaceKey, kInterface2Key})
    EXPECT_FALSE(KeyExists(root, key)) << scope << ": " << std::string(key.begin(), key.end());
}

std::wstring Regsvr32(bool install, bool perUser) {
  return std::wstring(L"regsvr32.exe /s ") + (install ? L"" : L"/u ") + (perUser ? L"/n /i:user " : L"") + L"\"" +
         kDll + L"\"";
}

// Machine-wide, Wine shows it all, activation included. Per user, Wine's
// classes root does not merge the user's classes: the keys are checked, and
// CreateObject from them is left to Windows (and to the package check, which
// follows the keys as COM does).
TEST_F(Registration, ThroughRegsvr32InBothScopesAndBack_PerUserActivationLeftToWindows) {
  for (const bool perUser : {false, true}) {
    const HKEY root = perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const char* scope = perUser ? "per user" : "machine-wide";
    ASSERT_EQ(testing::RunProcess(Regsvr32(true, perUser)), 0u) << scope;
    ExpectRegistered(root, kDll, scope);
    ExpectNothingIn(perUser ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, scope);
    if (!perUser) {
      Microsoft::WRL::ComPtr<IDispatch> sub;
      EXPECT_EQ(CoCreateInstance(CLSID_Sub, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sub)), S_OK);
      // A workbook referencing 1.0 loads 1.1: LoadRegTypeLib takes the greatest minor version at or above it.
      Microsoft::WRL::ComPtr<ITypeLib> library;
      ASSERT_EQ(LoadRegTypeLib(LIBID_Pradima, 1, 0, 1033, &library), S_OK);
      TLIBATTR* attributes = nullptr;
      ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
      EXPECT_EQ(attributes->wMajorVerNum * 100 + attributes->wMinorVerNum, 101);
      library->ReleaseTLibAttr(attributes);
      Microsoft::WRL::ComPtr<ITypeInfo> info;
      EXPECT_EQ(library->GetTypeInfoOfGuid(IID__Sub2, &info), S_OK);
    }
    ASSERT_EQ(testing::RunProcess(Regsvr32(false, perUser)), 0u) << scope;
    ExpectNothingIn(root, scope);
  }
}

// A standard user, or an administrator without elevation, registers and
// unregisters for themselves; an administrator's machine-wide registration
// leaves the user's own copy of the type library's keys as it was. No command
// is machine-wide, "user" per user; a typo changes nothing.
TEST_F(Registration, TypeLibraryCallsStayInTheirScopeAsWindowsDocumentsThem) {
  const struct {
    const char* what;
    Windows model;
    const wchar_t* command;
    HRESULT expected = S_OK;
  } cases[] = {
      {"a standard user, per user", {}, L"user"},
      {"before Vista SP1, per user", {.exportsEnabling = false}, L"User"},
      {"an elevated administrator, machine-wide", {.standardUser = false}, nullptr},
      {"an empty command, machine-wide", {.standardUser = false}, L""},
      {"a typo", {.standardUser = false}, L"usr", E_INVALIDARG},
  };
  for (const auto& c : cases) {
    StandIn(c.model);
    const bool perUser = c.command && *c.command;
    const HKEY root = perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const HKEY other = perUser ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (!perUser) RegSetKeyValueW(other, (kTypeLibKey + L"\\1.0").c_str(), nullptr, REG_SZ, L"", sizeof L"");
    const std::wstring otherBefore = Tree(other, kTypeLibKey);
    ASSERT_EQ(Install(TRUE, c.command), c.expected) << c.what;
    if (c.expected == S_OK) ExpectRegistered(root, kDll, c.what);
    EXPECT_FALSE(KeyExists(other, kClassKey)) << c.what;
    EXPECT_EQ(Tree(other, kTypeLibKey), otherBefore) << c.what;
    ASSERT_EQ(Install(FALSE, c.command), c.expected) << c.what;
    ExpectNothingIn(root, c.what);
    EXPECT_EQ(Tree(other, kTypeLibKey), otherBefore) << c.what;
    TearDown();
  }
}

// An upgrade over a working registration that fails puts back exactly what
// was there.
TEST_F(Registration, AFailedRegistrationLeavesTheWorkingOneAsItWas) {
  const auto everything = [] {
    std::wstring trees;
    for (const std::wstring& key : {kClassKey, kProgIdKey, kTypeLibKey, kInterfaceKey, kInterface2Key})
      trees += Tree(HKEY_CURRENT_USER, key);
    return trees;
  };
  StandIn({});
  ASSERT_EQ(Install(TRUE, L"user"), S_OK);
  RegSetKeyValueW(HKEY_CURRENT_USER, (kClassKey + L"\\InprocServer32").c_str(), nullptr, REG_SZ,
                  L"C:\\old\\Pradima.dll", sizeof L"C:\\old\\Pradima.dll");
  const std::wstring before = everything();
  StandIn({.refuseTypeLibrary = true});
  EXPECT_EQ(Install(TRUE, L"user"), TYPE_E_REGISTRYACCESS);
  EXPECT_EQ(everything(), before);
}

// The 32-bit DLL registered beside this one keeps the ProgID and the shared
// type library keys; this bitness's entry and this view's interface keys go.
// Wine keeps one view of the user's class keys: the per-user case is left to
// Windows.
TEST_F(Registration, UnregisteringOneBitnessKeepsWhatTheOtherUses_PerUserViewsLeftToWindows) {
  StandIn({.standardUser = false});
  // the 32-bit DLL, upgraded already, and its 1.0 entry, left behind by an older package
  for (const wchar_t* version : {L"\\1.1", L"\\1.0"})
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, (kTypeLibKey + version + L"\\409\\win32").c_str(), nullptr, REG_SZ,
                    L"C:\\x86.dll", sizeof L"C:\\x86.dll");
  HKEY other = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kClassKey + L"\\InprocServer32").c_str(), 0, nullptr, 0,
                            KEY_WRITE | KEY_WOW64_32KEY, nullptr, &other, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(other);
  ASSERT_EQ(Install(TRUE, nullptr), S_OK);
  ASSERT_EQ(Install(FALSE, nullptr), S_OK);
  for (const std::wstring& key : {kClassKey, kTypeLibKey + L"\\1.1" + kEntry, kInterfaceKey, kInterface2Key})
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << std::string(key.begin(), key.end());
  for (const wchar_t* version : {L"\\1.1", L"\\1.0"})
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kTypeLibKey + version + L"\\409\\win32"), L"C:\\x86.dll");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProgIdKey + L"\\CLSID"), Text(CLSID_Sub));
}

// An upgrade takes over this bitness's 1.0 entry, whatever its scope: a
// workbook referencing 1.0 then loads 1.1. The other bitness's entry stays
// until its own DLL is upgraded, and 1.0 with it. LoadRegTypeLib takes the
// greatest minor version at or above the one asked for, so with 1.0's key gone
// 1.0 resolves to 1.1, as the regsvr32 test loads it. Wine's classes root does
// not merge the user's classes: there the keys are checked, and loading
// through them is left to Windows.
TEST_F(Registration, AnUpgradeTakesOverTheEarlierVersionsEntry_PerUserLoadingLeftToWindows) {
  const struct {
    const char* what;
    const wchar_t* command;
    bool otherBitness;
  } cases[] = {
      {"machine-wide, alone", nullptr, false},
      {"machine-wide, beside the 32-bit 1.0", nullptr, true},
      {"per user, alone", L"user", false},
      {"per user, beside the 32-bit 1.0", L"user", true},
  };
  for (const auto& c : cases) {
    StandIn({.standardUser = c.command != nullptr});
    const HKEY root = c.command ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring earlier = kTypeLibKey + L"\\1.0";
    for (const wchar_t* key : {L"\\FLAGS", L"\\HELPDIR", L"\\409\\win64", L"\\409\\win32"})
      if (c.otherBitness || std::wstring(key) != L"\\409\\win32")
        RegSetKeyValueW(root, (earlier + key).c_str(), nullptr, REG_SZ, L"C:\\old.dll", sizeof L"C:\\old.dll");
    ASSERT_EQ(Install(TRUE, c.command), S_OK) << c.what;
    EXPECT_TRUE(KeyExists(root, kTypeLibKey + L"\\1.1" + kEntry)) << c.what;
    EXPECT_EQ(KeyExists(root, earlier), c.otherBitness) << c.what << ": the earlier version's key";
    EXPECT_FALSE(KeyExists(root, earlier + kEntry)) << c.what << ": this bitness's earlier entry";
    EXPECT_EQ(ReadValue(root, earlier + L"\\409\\win32"), c.otherBitness ? L"C:\\old.dll" : L"(none)") << c.what;
    ASSERT_EQ(Install(FALSE, c.command), S_OK) << c.what;
    EXPECT_FALSE(KeyExists(root, kTypeLibKey + L"\\1.1")) << c.what;
    EXPECT_EQ(KeyExists(root, earlier), c.otherBitness) << c.what;
    EXPECT_EQ(ReadValue(root, earlier + L"\\409\\win32"), c.otherBitness ? L"C:\\old.dll" : L"(none)") << c.what;
    TearDown();
  }
}

// A DLL whose path is longer than MAX_PATH registers its whole path.
TEST_F(Registration, ALongModulePathIsRegisteredWhole) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(L"\\\\?\\") + temp;
  for (int i = 0; i < 6; ++i) {
    folder += L"a-folder-name-of-fifty-characters-to-make-it-long-" + std::to_wstring(i) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  const std::wstring dll = folder + L"PradimaTestSite.dll";
  ASSERT_TRUE(CopyFileW(kDll.c_str(), dll.c_str(), FALSE));
  const RegistrationCalls* calls = StandIn({});
  // regsvr32 itself stops at MAX_PATH: the DLL is loaded and asked directly.
  HMODULE module = LoadLibraryW(dll.c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  UseCalls(calls, module);
  ASSERT_EQ(Install(TRUE, L"user", module), S_OK);
  wchar_t loaded[4096] = {};
  GetModuleFileNameW(module, loaded, 4096);
  EXPECT_GT(wcslen(loaded), static_cast<size_t>(MAX_PATH + 20));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32"), loaded);
  EXPECT_EQ(windows.loadedPath, loaded) << "the type library of the whole path";
  FreeLibrary(module);
  DeleteFileW(dll.c_str());
}

}  // namespace
}  // namespace pradima
