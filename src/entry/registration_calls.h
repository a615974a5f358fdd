#pragma once
// The system calls of registration whose behaviour differs between Windows
// versions, behind one seam: the test build of the DLL can be handed
// stand-ins that behave as Windows documents where Wine differs.
#include <windows.h>
#include <oleauto.h>

namespace pradima::entry {

struct RegistrationCalls {
  // RegOverridePredefKey of HKEY_CLASSES_ROOT; nullptr gives the system's back.
  LSTATUS(WINAPI* overrideClassesRoot)(HKEY classes);
  // oleaut32's OaEnablePerUserTLibRegistration, or nullptr where oleaut32
  // does not export it (Windows before Vista SP1 honours the override anyway).
  void(WINAPI* enablePerUserTypeLibraries)();
  HRESULT(WINAPI* loadTypeLibrary)(LPCOLESTR path, ITypeLib** library);
  HRESULT(WINAPI* registerTypeLibrary)(ITypeLib* library, LPCOLESTR path);
  HRESULT(WINAPI* unregisterTypeLibrary)(REFGUID library, WORD major, WORD minor, LCID locale, SYSKIND kind);
};

// The calls registration makes: the system's, unless stand-ins were set.
const RegistrationCalls& CurrentRegistrationCalls();
void SetRegistrationCalls(const RegistrationCalls* calls);

}  // namespace pradima::entry
