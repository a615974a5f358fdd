#include <windows.h>

#include "text/message.h"
#include "text/utf.h"

namespace pradima {

int32_t MessageBoxSink::Show(const std::string& prompt, int32_t systemStyle, const std::string& title) {
  const std::u16string widePrompt = Utf8ToUtf16(prompt);
  const std::u16string wideTitle = Utf8ToUtf16(title);
  return MessageBoxW(GetForegroundWindow(), reinterpret_cast<const wchar_t*>(widePrompt.c_str()),
                     reinterpret_cast<const wchar_t*>(wideTitle.c_str()), static_cast<UINT>(systemStyle));
}

}  // namespace pradima
