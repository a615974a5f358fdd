#pragma once
// Registry keys as they stood before a change, with every value and subkey,
// to put back exactly when the change fails.
#include <windows.h>

#include <string>
#include <vector>

namespace pradima::entry {

class RegistrySnapshot {
 public:
  // Remembers the key under root, or that there is none; root stays open
  // until Restore.
  void Take(HKEY root, const std::wstring& key);
  // Removes what was added since and writes back what was there.
  void Restore() const;

 private:
  struct Value {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };
  struct Key {
    std::wstring name;
    std::vector<Value> values;
    std::vector<Key> subkeys;
  };
  struct Taken {
    HKEY root;
    bool existed;
    Key key;
  };
  static void Read(HKEY handle, Key& key);
  static void Write(HKEY parent, const Key& key);

  std::vector<Taken> taken_;
};

}  // namespace pradima::entry
