#pragma once
// The DLL built for the tests, and its exports, for the COM tests.
#include <windows.h>

#include "support/win/wine_process.h"

namespace pradima::testing {

inline HMODULE TestDll() {
  static HMODULE dll = LoadLibraryW(WindowsPath(PRADIMA_TEST_DLL).c_str());
  return dll;
}

// An export of `module` as a function of the given type.
template <typename Function>
Function* Export(const char* name, HMODULE module = TestDll()) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace pradima::testing
