#pragma once
#include <windows.h>

#include <string>

namespace pradima::entry {

// Live objects and server locks, so DllCanUnloadNow answers honestly.
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockServer(bool lock) noexcept;
bool CanUnload() noexcept;

HMODULE ThisModule() noexcept;
// The full path of this DLL, however long; a failure when the system gives
// no path, never a truncated one.
HRESULT ModulePath(std::wstring& path) noexcept;

}  // namespace pradima::entry
