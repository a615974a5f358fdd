#pragma once
// Paths and child processes for the Windows tests under Wine.
#include <windows.h>

#include <algorithm>
#include <string>

#include "session/win/variant_value.h"

namespace pradima::testing {

// A path of the build tree as a Windows path on Wine's Z: drive.
inline std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = L"Z:" + win::WideFromUtf8(unixPath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

// Runs a command line and returns its exit code, or -1 when it did not start.
inline DWORD RunProcess(std::wstring command, DWORD timeoutMs = 120000) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return static_cast<DWORD>(-1);
  }
  WaitForSingleObject(process.hProcess, timeoutMs);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

}  // namespace pradima::testing
