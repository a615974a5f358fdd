#pragma once
// Reading the registry, for the Windows tests and the package probe.
#include <windows.h>

#include <string>

namespace pradima::testing {

// A string value, or "(none)"; view KEY_WOW64_32KEY reads the 32-bit view.
inline std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name = nullptr, REGSAM view = 0) {
  wchar_t buffer[4096] = {};
  DWORD size = sizeof buffer;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) return L"(none)";
  const LSTATUS status = RegGetValueW(handle, nullptr, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS ? buffer : L"(none)";
}

inline bool KeyExists(HKEY root, const std::wstring& key, REGSAM view = 0) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

// Every subkey and value under a key, one a line, to compare whole trees.
inline std::wstring Tree(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return L"";
  std::wstring tree = key + L"\n";
  wchar_t name[256];
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256, size = sizeof data, type = 0;
    if (RegEnumValueW(handle, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    tree += L"  " + std::wstring(name, nameLength) + L" = " +
            (type == REG_SZ ? std::wstring(reinterpret_cast<wchar_t*>(data)) : std::to_wstring(size) + L" bytes") + L"\n";
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    if (RegEnumKeyExW(handle, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    tree += Tree(root, key + L"\\" + std::wstring(name, nameLength));
  }
  RegCloseKey(handle);
  return tree;
}

inline void DeleteKey(HKEY root, const std::wstring& key, REGSAM view = 0) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | view, &handle) == ERROR_SUCCESS) {
    RegDeleteTreeW(handle, nullptr);
    RegCloseKey(handle);
  }
  RegDeleteKeyExW(root, key.c_str(), view, 0);
}

}  // namespace pradima::testing
