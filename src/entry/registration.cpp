// Registration of the class, its ProgID and the type library, machine-wide
// (regsvr32) or for the current user only (regsvr32 /n /i:user), which
// needs no administrator rights.
#include <wrl/client.h>

#include <string>

#include "entry/module.h"
#include "pradima_h.h"

// Exported by oleaut32 since Windows Vista; mingw's headers do not declare them.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* path, OLECHAR* helpDirectory);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID library, WORD major, WORD minor, LCID locale,
                                                   SYSKIND kind);

namespace pradima::entry {
namespace {

constexpr const wchar_t* kProgId = L"Pradima.Sub";
constexpr const wchar_t* kClassName = L"Pradima.Sub";
#ifdef _WIN64
constexpr SYSKIND kSystemKind = SYS_WIN64;
#else
constexpr SYSKIND kSystemKind = SYS_WIN32;
#endif

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(ThisModule(), path, MAX_PATH);
  return std::wstring(path, length);
}

HRESULT SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(HKEY root, const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(root, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(root, key.c_str());
    return S_OK;
  }
  return HRESULT_FROM_WIN32(status);
}

// The classes root of the machine or of the current user.
HKEY OpenClassesRoot(bool perUser) {
  HKEY classes = nullptr;
  RegCreateKeyExW(perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &classes, nullptr);
  return classes;
}

HRESULT Unregister(bool perUser);

HRESULT Register(bool perUser) {
  HKEY classes = OpenClassesRoot(perUser);
  if (!classes) return E_ACCESSDENIED;
  const std::wstring clsid = GuidText(CLSID_Sub);
  const std::wstring classKey = L"CLSID\\" + clsid;
  HRESULT hr = S_OK;
  const auto set = [&](const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    if (SUCCEEDED(hr)) hr = SetValue(classes, key, name, value);
  };
  set(classKey, nullptr, kClassName);
  set(classKey + L"\\InprocServer32", nullptr, ModulePath());
  set(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  set(classKey + L"\\ProgID", nullptr, kProgId);
  set(classKey + L"\\TypeLib", nullptr, GuidText(LIBID_Pradima));
  set(classKey + L"\\Version", nullptr, L"1.0");
  set(kProgId, nullptr, kClassName);
  set(std::wstring(kProgId) + L"\\CLSID", nullptr, clsid);
  RegCloseKey(classes);
  if (SUCCEEDED(hr)) {
    // The type library registers the dual interface _Sub with it.
    Microsoft::WRL::ComPtr<ITypeLib> library;
    const std::wstring path = ModulePath();
    hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (SUCCEEDED(hr)) {
      hr = perUser ? RegisterTypeLibForUser(library.Get(), const_cast<wchar_t*>(path.c_str()), nullptr)
                   : RegisterTypeLib(library.Get(), const_cast<wchar_t*>(path.c_str()), nullptr);
    }
  }
  if (FAILED(hr)) Unregister(perUser);
  return hr;
}

HRESULT Unregister(bool perUser) {
  HKEY classes = OpenClassesRoot(perUser);
  if (!classes) return E_ACCESSDENIED;
  HRESULT hr = DeleteTree(classes, L"CLSID\\" + GuidText(CLSID_Sub));
  const HRESULT progId = DeleteTree(classes, kProgId);
  if (SUCCEEDED(hr)) hr = progId;
  RegCloseKey(classes);
  const HRESULT library = perUser ? UnRegisterTypeLibForUser(LIBID_Pradima, 1, 0, 1033, kSystemKind)
                                  : UnRegisterTypeLib(LIBID_Pradima, 1, 0, 1033, kSystemKind);
  (void)library;  // absent already is fine
  return hr;
}

}  // namespace
}  // namespace pradima::entry

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return pradima::entry::Register(false); }
extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return pradima::entry::Unregister(false); }

// regsvr32 /n /i:user registers for the current user; /u /n /i:user removes it.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command) {
  const bool perUser = command && _wcsicmp(command, L"user") == 0;
  return install ? pradima::entry::Register(perUser) : pradima::entry::Unregister(perUser);
}
