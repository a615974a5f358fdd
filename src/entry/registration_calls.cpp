#include "entry/registration_calls.h"

namespace pradima::entry {
namespace {

LSTATUS WINAPI OverrideClassesRoot(HKEY classes) { return RegOverridePredefKey(HKEY_CLASSES_ROOT, classes); }

HRESULT WINAPI LoadTypeLibrary(LPCOLESTR path, ITypeLib** library) {
  return LoadTypeLibEx(path, REGKIND_NONE, library);
}

HRESULT WINAPI RegisterTypeLibrary(ITypeLib* library, LPCOLESTR path) {
  return RegisterTypeLib(library, const_cast<LPOLESTR>(path), nullptr);
}

// Debian's mingw headers do not declare it: it is looked up by name.
using EnablePerUser = void(WINAPI*)();
EnablePerUser EnablePerUserExport() {
  const HMODULE oleaut = GetModuleHandleW(L"oleaut32.dll");
  return oleaut ? reinterpret_cast<EnablePerUser>(
                      reinterpret_cast<void*>(GetProcAddress(oleaut, "OaEnablePerUserTLibRegistration")))
                : nullptr;
}

const RegistrationCalls* standIns = nullptr;

}  // namespace

const RegistrationCalls& CurrentRegistrationCalls() {
  if (standIns) return *standIns;
  static const RegistrationCalls system{OverrideClassesRoot, EnablePerUserExport(), LoadTypeLibrary,
                                        RegisterTypeLibrary, UnRegisterTypeLib};
  return system;
}

void SetRegistrationCalls(const RegistrationCalls* calls) { standIns = calls; }

}  // namespace pradima::entry
