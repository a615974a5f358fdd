#pragma once
#include <windows.h>

namespace pradima::entry {

// Live objects and server locks, so DllCanUnloadNow answers honestly.
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void LockServer(bool lock) noexcept;
bool CanUnload() noexcept;

HMODULE ThisModule() noexcept;

}  // namespace pradima::entry
