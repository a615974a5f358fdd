// Registration of the class, its ProgID and the type library, machine-wide
// (regsvr32) or for the current user only (regsvr32 /n /i:user), which
// needs no administrator rights.
//
// The 32-bit and the 64-bit DLL may be registered side by side: class keys
// live apart in the two registry views, but the ProgID and the type library
// keys are shared. Each scope is changed alone: the machine's classes or the
// user's, never the merged classes root, which would send writes to a
// per-user copy of a key.
//
// The type library calls write the classes root. Since Vista SP1 they ignore
// an override of that root unless per-user type library registration was
// enabled first: without it a standard user's registration would write the
// machine's keys and be refused.
#include <wrl/client.h>

#include <string>
#include <vector>

#include "base/win/com_owners.h"
#include "entry/module.h"
#include "entry/registration_calls.h"
#include "entry/registry_snapshot.h"
#include "entry/type_library.h"

namespace pradima::entry {
namespace {

using win::UniqueHkey;

constexpr const wchar_t* kProgId = L"Pradima.Sub";
constexpr const wchar_t* kClassName = L"Pradima.Sub";
#ifdef _WIN64
constexpr SYSKIND kSystemKind = SYS_WIN64;
constexpr const wchar_t* kSystemName = L"win64";
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr SYSKIND kSystemKind = SYS_WIN32;
constexpr const wchar_t* kSystemName = L"win32";
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;  // ignored on 32-bit Windows: there it is this view
#endif

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_Sub); }
std::wstring TypeLibKey() { return L"TypeLib\\" + GuidText(LIBID_Pradima); }
std::wstring InterfaceKey(REFIID iid) { return L"Interface\\" + GuidText(iid); }
const IID* const kInterfaces[] = {&IID__Sub, &IID__Sub2};

// The type library's version; 1.0 had _Sub alone.
constexpr WORD kMajor = 1;
constexpr WORD kMinor = 1;
constexpr const wchar_t* kVersion = L"1.1";
constexpr const wchar_t* kEarlierVersion = L"1.0";
std::wstring EntryKey(const wchar_t* version) {  // 409: locale 1033
  return TypeLibKey() + L"\\" + version + L"\\409\\" + kSystemName;
}

HKEY ScopeRoot(bool perUser) { return perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HRESULT OpenClassesRoot(bool perUser, UniqueHkey& classes) {
  return HRESULT_FROM_WIN32(RegCreateKeyExW(ScopeRoot(perUser), L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                                            nullptr, classes.put(), nullptr));
}

HRESULT SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  UniqueHkey handle;
  const LSTATUS status = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  return HRESULT_FROM_WIN32(RegSetValueExW(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

HRESULT DeleteTree(HKEY root, const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(root, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(root, key.c_str());
    return S_OK;
  }
  return HRESULT_FROM_WIN32(status);
}

// The names of a key's subkeys; none when it does not exist.
std::vector<std::wstring> Subkeys(HKEY root, const std::wstring& key) {
  std::vector<std::wstring> names;
  UniqueHkey handle;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(handle.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

// An upgrade takes over this bitness's entry of version 1.0: a workbook that
// references 1.0 then loads 1.1, the greatest minor version of its major
// version. The other bitness's entry stays; the version's key goes once no
// locale is left in it (FLAGS and HELPDIR describe the version, not an entry).
HRESULT RemoveEarlierEntry(HKEY classes) {
  const std::wstring version = TypeLibKey() + L"\\" + kEarlierVersion;
  HRESULT hr = DeleteTree(classes, EntryKey(kEarlierVersion));
  const std::wstring locale = version + L"\\409";
  if (SUCCEEDED(hr) && Subkeys(classes, locale).empty()) hr = DeleteTree(classes, locale);
  bool entriesLeft = false;
  for (const std::wstring& name : Subkeys(classes, version))
    entriesLeft |= _wcsicmp(name.c_str(), L"FLAGS") != 0 && _wcsicmp(name.c_str(), L"HELPDIR") != 0;
  if (SUCCEEDED(hr) && !entriesLeft) hr = DeleteTree(classes, version);
  return hr;
}

// Whether the DLL of the other bitness is registered in the same scope.
bool OtherBitnessRegistered(bool perUser) {
  UniqueHkey server;
  const std::wstring key = L"Software\\Classes\\" + ClassKey() + L"\\InprocServer32";
  return RegOpenKeyExW(ScopeRoot(perUser), key.c_str(), 0, KEY_READ | kOtherView, server.put()) == ERROR_SUCCESS;
}

// Runs a type library call with the classes root pointing at one scope's
// classes only, so that it reads and writes that scope alone.
template <typename Call>
HRESULT WithClassesRoot(HKEY classes, Call&& call) {
  const RegistrationCalls& calls = CurrentRegistrationCalls();
  HRESULT hr = HRESULT_FROM_WIN32(calls.overrideClassesRoot(classes));
  if (FAILED(hr)) return hr;
  if (calls.enablePerUserTypeLibraries) calls.enablePerUserTypeLibraries();
  hr = call();
  calls.overrideClassesRoot(nullptr);
  return hr;
}

HRESULT Unregister(bool perUser) {
  UniqueHkey classes;
  HRESULT hr = OpenClassesRoot(perUser, classes);
  if (FAILED(hr)) return hr;
  hr = DeleteTree(classes.get(), ClassKey());
  const auto keep = [&](HRESULT next) {
    if (SUCCEEDED(hr)) hr = next;
  };
  // The ProgID and the type library's keys are shared by both bitnesses:
  // while the other DLL still uses them, only this bitness's entry of the
  // type library and this view's interface keys go.
  if (OtherBitnessRegistered(perUser)) {
    keep(DeleteTree(classes.get(), EntryKey(kVersion)));
    for (const IID* iid : kInterfaces) keep(DeleteTree(classes.get(), InterfaceKey(*iid)));
    return hr;
  }
  keep(DeleteTree(classes.get(), kProgId));
  // Absent already is fine.
  WithClassesRoot(classes.get(), [] {
    return CurrentRegistrationCalls().unregisterTypeLibrary(LIBID_Pradima, kMajor, kMinor, 1033, kSystemKind);
  });
  return hr;
}

HRESULT Register(bool perUser) {
  std::wstring path;
  HRESULT hr = ModulePath(path);
  if (FAILED(hr)) return hr;
  UniqueHkey classes;
  hr = OpenClassesRoot(perUser, classes);
  if (FAILED(hr)) return hr;
  // What this call may change, to put back on failure: an upgrade that
  // fails leaves the working registration as it was.
  RegistrySnapshot before;
  for (const std::wstring& key : {ClassKey(), std::wstring(kProgId), TypeLibKey()}) before.Take(classes.get(), key);
  for (const IID* iid : kInterfaces) before.Take(classes.get(), InterfaceKey(*iid));
  const std::wstring clsid = GuidText(CLSID_Sub);
  const std::wstring classKey = ClassKey();
  const auto set = [&](const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    if (SUCCEEDED(hr)) hr = SetValue(classes.get(), key, name, value);
  };
  set(classKey, nullptr, kClassName);
  set(classKey + L"\\InprocServer32", nullptr, path);
  set(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  set(classKey + L"\\ProgID", nullptr, kProgId);
  set(classKey + L"\\TypeLib", nullptr, GuidText(LIBID_Pradima));
  set(classKey + L"\\Version", nullptr, kVersion);
  set(kProgId, nullptr, kClassName);
  set(std::wstring(kProgId) + L"\\CLSID", nullptr, clsid);
  if (SUCCEEDED(hr)) {
    // The type library registers the dual interfaces with it.
    const RegistrationCalls& calls = CurrentRegistrationCalls();
    Microsoft::WRL::ComPtr<ITypeLib> library;
    hr = calls.loadTypeLibrary(path.c_str(), &library);
    if (SUCCEEDED(hr))
      hr = WithClassesRoot(classes.get(), [&] { return calls.registerTypeLibrary(library.Get(), path.c_str()); });
  }
  if (SUCCEEDED(hr)) hr = RemoveEarlierEntry(classes.get());
  if (FAILED(hr)) before.Restore();
  return hr;
}

}  // namespace
}  // namespace pradima::entry

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return pradima::entry::Register(false); }
extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return pradima::entry::Unregister(false); }

// regsvr32 /n /i:user registers for the current user; /u /n /i:user removes
// it. No command is machine-wide, as DllRegisterServer; any other is refused.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command) {
  const bool perUser = command && *command;
  if (perUser && _wcsicmp(command, L"user") != 0) return E_INVALIDARG;
  return install ? pradima::entry::Register(perUser) : pradima::entry::Unregister(perUser);
}
