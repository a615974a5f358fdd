// Registration through regsvr32, machine-wide and per user, and the
// embedded type library.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "base/win/com_owners.h"
#include "pradima_h.h"
#include "session/win/variant_value.h"
#include "win/wine_process.h"

namespace pradima {
namespace {

using testing::RunProcess;
using testing::WindowsPath;

using Microsoft::WRL::ComPtr;

std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return L"(none)";
  return buffer;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

std::wstring Text(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// Wine's classes root does not merge the user's classes: per user, the
// tests check the keys written, not activation.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

const std::wstring kClassKey = L"Software\\Classes\\CLSID\\" + Text(CLSID_Sub);
const std::wstring kProgIdKey = L"Software\\Classes\\Pradima.Sub";
const std::wstring kTypeLibKey = L"Software\\Classes\\TypeLib\\" + Text(LIBID_Pradima);
const std::wstring kInterfaceKey = L"Software\\Classes\\Interface\\" + Text(IID__Sub);

HKEY OtherScope(HKEY root) { return root == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

void ExpectRegistered(HKEY root, const std::wstring& dll) {
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\InprocServer32", nullptr), dll);
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\ProgID", nullptr), L"Pradima.Sub");
  EXPECT_EQ(ReadValue(root, kClassKey + L"\\TypeLib", nullptr), Text(LIBID_Pradima));
  EXPECT_EQ(ReadValue(root, kProgIdKey + L"\\CLSID", nullptr), Text(CLSID_Sub));
  EXPECT_TRUE(KeyExists(root, kTypeLibKey + L"\\1.0"));
  EXPECT_TRUE(KeyExists(root, kInterfaceKey));
  // Each scope changes its own keys only.
  for (const std::wstring& key : {kClassKey, kProgIdKey, kTypeLibKey, kInterfaceKey})
    EXPECT_FALSE(KeyExists(OtherScope(root), key)) << "the other scope holds " << std::string(key.begin(), key.end());
  if (root == HKEY_CURRENT_USER && UnderWine()) return;
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"Pradima.Sub", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_Sub);
  ComPtr<IDispatch> sub;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sub)), S_OK);
}

void ExpectUnregistered(HKEY root) {
  EXPECT_FALSE(KeyExists(root, kClassKey));
  EXPECT_FALSE(KeyExists(root, kProgIdKey));
  EXPECT_FALSE(KeyExists(root, kTypeLibKey + L"\\1.0"));
  CLSID clsid{};
  EXPECT_NE(CLSIDFromProgID(L"Pradima.Sub", &clsid), S_OK);
}

std::wstring Register(const std::wstring& dll, HKEY root, bool install) {
  return std::wstring(L"regsvr32.exe /s ") + (install ? L"" : L"/u ") +
         (root == HKEY_CURRENT_USER ? L"/n /i:user " : L"") + L"\"" + dll + L"\"";
}

TEST(Registration, PerUserWithoutAdministratorRightsAndBackAgain) {
  const std::wstring dll = WindowsPath(PRADIMA_TEST_DLL);
  ASSERT_EQ(RunProcess(Register(dll, HKEY_CURRENT_USER, true)), 0u);
  ExpectRegistered(HKEY_CURRENT_USER, dll);
  ASSERT_EQ(RunProcess(Register(dll, HKEY_CURRENT_USER, false)), 0u);
  ExpectUnregistered(HKEY_CURRENT_USER);
}

TEST(Registration, MachineWideAndBackAgain) {
  const std::wstring dll = WindowsPath(PRADIMA_TEST_DLL);
  ASSERT_EQ(RunProcess(Register(dll, HKEY_LOCAL_MACHINE, true)), 0u);
  ExpectRegistered(HKEY_LOCAL_MACHINE, dll);
  ASSERT_EQ(RunProcess(Register(dll, HKEY_LOCAL_MACHINE, false)), 0u);
  ExpectUnregistered(HKEY_LOCAL_MACHINE);
}

// The 32-bit DLL registered beside the 64-bit one, in either scope: its class
// key lives in the 32-bit view, the ProgID is shared.
TEST(Registration, UnregisteringOneBitnessKeepsTheProgIdTheOtherUses) {
  const std::wstring dll = WindowsPath(PRADIMA_TEST_DLL);
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    const wchar_t* scope = root == HKEY_CURRENT_USER ? L"per user" : L"machine-wide";
    win::UniqueHkey other;
    ASSERT_EQ(RegCreateKeyExW(root, (kClassKey + L"\\InprocServer32").c_str(), 0, nullptr, 0,
                              KEY_WRITE | KEY_WOW64_32KEY, nullptr, other.put(), nullptr),
              ERROR_SUCCESS);
    other.reset();
    if (KeyExists(root, kClassKey)) {
      // Windows keeps the user's class keys apart per view; Wine keeps one.
      RegDeleteTreeW(root, kClassKey.c_str());
      RegDeleteKeyW(root, kClassKey.c_str());
      ASSERT_TRUE(UnderWine() && root == HKEY_CURRENT_USER) << "the two views are apart";
      std::printf("note: Wine keeps one view of the user's class keys; the per-user case is checked on Windows only\n");
      continue;
    }

    ASSERT_EQ(RunProcess(Register(dll, root, true)), 0u) << scope;
    ASSERT_EQ(RunProcess(Register(dll, root, false)), 0u) << scope;
    EXPECT_FALSE(KeyExists(root, kClassKey)) << scope;
    EXPECT_EQ(ReadValue(root, kProgIdKey + L"\\CLSID", nullptr), Text(CLSID_Sub)) << scope << ": the ProgID stays";

    RegDeleteKeyExW(root, (kClassKey + L"\\InprocServer32").c_str(), KEY_WOW64_32KEY, 0);
    RegDeleteKeyExW(root, kClassKey.c_str(), KEY_WOW64_32KEY, 0);
    // Alone now: unregistering removes the ProgID too.
    ASSERT_EQ(RunProcess(Register(dll, root, true)), 0u) << scope;
    ASSERT_EQ(RunProcess(Register(dll, root, false)), 0u) << scope;
    ExpectUnregistered(root);
  }
}

// A per-user copy of the type library's keys is the user's own: a
// machine-wide registration and unregistration leave it as it was.
TEST(Registration, MachineWideRegistrationLeavesTheUsersKeysAlone) {
  const std::wstring dll = WindowsPath(PRADIMA_TEST_DLL);
  const std::wstring userCopy = kTypeLibKey + L"\\1.0";
  win::UniqueHkey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, userCopy.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  const wchar_t mark[] = L"the user's own";
  RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(mark), sizeof mark);
  key.reset();
  ASSERT_EQ(RunProcess(Register(dll, HKEY_LOCAL_MACHINE, true)), 0u);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, userCopy));
  ASSERT_EQ(RunProcess(Register(dll, HKEY_LOCAL_MACHINE, false)), 0u);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, userCopy, nullptr), mark);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userCopy + L"\\0"));
  RegDeleteTreeW(HKEY_CURRENT_USER, kTypeLibKey.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, kTypeLibKey.c_str());
}

// A DLL whose path is longer than MAX_PATH registers its whole path.
TEST(Registration, ALongModulePathIsRegisteredWhole) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(L"\\\\?\\") + temp;
  for (int i = 0; i < 6; ++i) {
    folder += L"a-folder-name-of-fifty-characters-to-make-it-long-" + std::to_wstring(i) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  const std::wstring dll = folder + L"PradimaTestSite.dll";
  ASSERT_GT(dll.size(), static_cast<size_t>(MAX_PATH + 20));
  ASSERT_TRUE(CopyFileW(WindowsPath(PRADIMA_TEST_DLL).c_str(), dll.c_str(), FALSE));
  // regsvr32 itself stops at MAX_PATH: the DLL is loaded and asked directly.
  HMODULE module = LoadLibraryW(dll.c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
  const auto install = reinterpret_cast<Install>(reinterpret_cast<void*>(GetProcAddress(module, "DllInstall")));
  const HRESULT hr = install(TRUE, L"user");
  if (UnderWine() && hr == TYPE_E_CANTLOADLIBRARY) {
    // Wine loads no type library from so long a path: the registration fails
    // and leaves nothing behind, least of all a truncated path.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClassKey));
    std::printf("note: Wine loads no type library from a path over MAX_PATH; the whole path is checked on Windows\n");
  } else {
    ASSERT_EQ(hr, S_OK);
    wchar_t loaded[4096] = {};
    GetModuleFileNameW(module, loaded, 4096);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", nullptr), loaded);
    EXPECT_GT(wcslen(loaded), static_cast<size_t>(MAX_PATH)) << "the whole path, not the first MAX_PATH units";
    ASSERT_EQ(install(FALSE, L"user"), S_OK);
  }
  ExpectUnregistered(HKEY_CURRENT_USER);
  FreeLibrary(module);
  DeleteFileW(dll.c_str());
}

TEST(TypeLibrary, DescribesTheLibraryTheClassAndItsDualInterface) {
  ComPtr<ITypeLib> library;
  ASSERT_EQ(LoadTypeLibEx(WindowsPath(PRADIMA_TEST_DLL).c_str(), REGKIND_NONE, &library), S_OK);
  TLIBATTR* libraryAttributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&libraryAttributes), S_OK);
  EXPECT_EQ(libraryAttributes->guid, LIBID_Pradima);
  EXPECT_EQ(libraryAttributes->wMajorVerNum, 1);
  EXPECT_EQ(libraryAttributes->wMinorVerNum, 0);
  EXPECT_EQ(libraryAttributes->lcid, 1033u);
  library->ReleaseTLibAttr(libraryAttributes);
  win::UniqueBstr name;
  library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(win::Utf8FromBstr(name.get()), "Pradima");

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_Sub, &coclass), S_OK);
  TYPEATTR* classAttributes = nullptr;
  coclass->GetTypeAttr(&classAttributes);
  EXPECT_EQ(classAttributes->typekind, TKIND_COCLASS);
  EXPECT_TRUE(classAttributes->wTypeFlags & TYPEFLAG_FCANCREATE);
  coclass->ReleaseTypeAttr(classAttributes);
  coclass->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(win::Utf8FromBstr(name.get()), "Sub");

  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID__Sub, &dispatch), S_OK);
  TYPEATTR* attributes = nullptr;
  dispatch->GetTypeAttr(&attributes);
  const WORD expected = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;
  EXPECT_EQ(attributes->wTypeFlags & expected, expected);
  dispatch->ReleaseTypeAttr(attributes);
  // The vtable side of the dual interface: the three methods, in order.
  HREFTYPE reference = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference), S_OK);
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeInfo(reference, &vtable), S_OK);
  vtable->GetTypeAttr(&attributes);
  ASSERT_EQ(attributes->cFuncs, 3);
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
  vtable->ReleaseTypeAttr(attributes);
  const struct {
    const char* name;
    SHORT params;
  } methods[] = {{"Sup", 2}, {"kieuSo", 1}, {"ThongKeLo", 0}};
  for (UINT i = 0; i < 3; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(i, &function), S_OK);
    vtable->GetDocumentation(function->memid, name.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(win::Utf8FromBstr(name.get()), methods[i].name);
    EXPECT_EQ(function->cParams, methods[i].params);
    for (SHORT p = 0; p < function->cParams; ++p) {
      const ELEMDESC& param = function->lprgelemdescParam[p];
      EXPECT_EQ(param.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT), PARAMFLAG_FIN | PARAMFLAG_FOUT);
      EXPECT_EQ(param.tdesc.vt, VT_PTR) << "by reference";
      EXPECT_EQ(param.tdesc.lptdesc->vt, i == 0 ? VT_DISPATCH : VT_BSTR);
    }
    vtable->ReleaseFuncDesc(function);
  }
}

}  // namespace
}  // namespace pradima
