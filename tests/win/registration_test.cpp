// Registration through regsvr32, machine-wide and per user, and the
// embedded type library.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "pradima_h.h"
#include "session/win/com_owners.h"
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

// Wine's classes root does not merge the user's classes, and its
// RegisterTypeLibForUser registers the library machine-wide: per user, the
// tests check the keys written and that the type library is registered.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

bool TypeLibraryRegistered(HKEY root, const std::wstring& suffix) {
  const std::wstring key = L"Software\\Classes\\TypeLib\\" + Text(LIBID_Pradima) + suffix;
  return KeyExists(root, key) || (UnderWine() && KeyExists(HKEY_LOCAL_MACHINE, key));
}

void ExpectRegistered(HKEY root, const std::wstring& dll) {
  const std::wstring classKey = L"Software\\Classes\\CLSID\\" + Text(CLSID_Sub);
  EXPECT_EQ(ReadValue(root, classKey + L"\\InprocServer32", nullptr), dll);
  EXPECT_EQ(ReadValue(root, classKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(ReadValue(root, classKey + L"\\ProgID", nullptr), L"Pradima.Sub");
  EXPECT_EQ(ReadValue(root, classKey + L"\\TypeLib", nullptr), Text(LIBID_Pradima));
  EXPECT_EQ(ReadValue(root, L"Software\\Classes\\Pradima.Sub\\CLSID", nullptr), Text(CLSID_Sub));
  EXPECT_TRUE(TypeLibraryRegistered(root, L"\\1.0"));
  if (root == HKEY_CURRENT_USER && UnderWine()) return;
  EXPECT_TRUE(KeyExists(root, L"Software\\Classes\\Interface\\" + Text(IID__Sub)));
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"Pradima.Sub", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_Sub);
  ComPtr<IDispatch> sub;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sub)), S_OK);
}

void ExpectUnregistered(HKEY root) {
  EXPECT_FALSE(KeyExists(root, L"Software\\Classes\\CLSID\\" + Text(CLSID_Sub)));
  EXPECT_FALSE(KeyExists(root, L"Software\\Classes\\Pradima.Sub"));
  EXPECT_FALSE(TypeLibraryRegistered(root, L"\\1.0"));
  CLSID clsid{};
  EXPECT_NE(CLSIDFromProgID(L"Pradima.Sub", &clsid), S_OK);
}

TEST(Registration, PerUserWithoutAdministratorRightsAndBackAgain) {
  const std::wstring dll = WindowsPath(PRADIMA_TEST_DLL);
  ASSERT_EQ(RunProcess(L"regsvr32.exe /s /n /i:user \"" + dll + L"\""), 0u);
  ExpectRegistered(HKEY_CURRENT_USER, dll);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\" + Text(CLSID_Sub)));
  ASSERT_EQ(RunProcess(L"regsvr32.exe /s /u /n /i:user \"" + dll + L"\""), 0u);
  ExpectUnregistered(HKEY_CURRENT_USER);
}

TEST(Registration, MachineWideAndBackAgain) {
  const std::wstring dll = WindowsPath(PRADIMA_TEST_DLL);
  ASSERT_EQ(RunProcess(L"regsvr32.exe /s \"" + dll + L"\""), 0u);
  ExpectRegistered(HKEY_LOCAL_MACHINE, dll);
  ASSERT_EQ(RunProcess(L"regsvr32.exe /s /u \"" + dll + L"\""), 0u);
  ExpectUnregistered(HKEY_LOCAL_MACHINE);
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
