#include "base/win/hresult.h"

#include <cstdio>

#include "base/error.h"
#include "base/utf.h"

namespace pradima::win {

void ThrowIfFailed(HRESULT hr, const std::string& what) {
  if (SUCCEEDED(hr)) return;
  wchar_t* message = nullptr;
  std::string text = what;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr) &&
      message) {
    std::string system = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(message), wcslen(message)));
    LocalFree(message);
    while (!system.empty() && (system.back() == '\n' || system.back() == '\r' || system.back() == ' '))
      system.pop_back();
    text += ": " + system;
  } else {
    char code[16];
    snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    text += ": error " + std::string(code);
  }
  throw Error(static_cast<int32_t>(hr), text);
}

}  // namespace pradima::win
