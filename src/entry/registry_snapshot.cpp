#include "entry/registry_snapshot.h"

#include "base/win/com_owners.h"

namespace pradima::entry {

using win::UniqueHkey;

void RegistrySnapshot::Take(HKEY root, const std::wstring& key) {
  Taken taken{root, false, Key{key, {}, {}}};
  UniqueHkey handle;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS) {
    taken.existed = true;
    Read(handle.get(), taken.key);
  }
  taken_.push_back(std::move(taken));
}

void RegistrySnapshot::Read(HKEY handle, Key& key) {
  DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  for (DWORD i = 0; i < values; ++i) {
    Value value;
    std::wstring name(longestName + 1, L'\0');
    DWORD nameLength = longestName + 1;
    value.data.resize(longestData);
    DWORD size = longestData;
    if (RegEnumValueW(handle, i, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS)
      continue;
    value.name = name.substr(0, nameLength);
    value.data.resize(size);
    key.values.push_back(std::move(value));
  }
  for (DWORD i = 0; i < subkeys; ++i) {
    std::wstring name(longestSubkey + 1, L'\0');
    DWORD nameLength = longestSubkey + 1;
    if (RegEnumKeyExW(handle, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    Key subkey{name.substr(0, nameLength), {}, {}};
    UniqueHkey child;
    if (RegOpenKeyExW(handle, subkey.name.c_str(), 0, KEY_READ, child.put()) == ERROR_SUCCESS)
      Read(child.get(), subkey);
    key.subkeys.push_back(std::move(subkey));
  }
}

void RegistrySnapshot::Write(HKEY parent, const Key& key) {
  UniqueHkey handle;
  if (RegCreateKeyExW(parent, key.name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, handle.put(), nullptr) !=
      ERROR_SUCCESS)
    return;
  for (const Value& value : key.values)
    RegSetValueExW(handle.get(), value.name.c_str(), 0, value.type, value.data.data(),
                   static_cast<DWORD>(value.data.size()));
  for (const Key& subkey : key.subkeys) Write(handle.get(), subkey);
}

void RegistrySnapshot::Restore() const {
  for (const Taken& taken : taken_) {
    RegDeleteTreeW(taken.root, taken.key.name.c_str());
    RegDeleteKeyW(taken.root, taken.key.name.c_str());
    if (taken.existed) Write(taken.root, taken.key);
  }
}

}  // namespace pradima::entry
