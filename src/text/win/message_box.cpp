#include "text/win/message_box.h"

#include <windows.h>

#include "base/utf.h"

namespace pradima::win {

int32_t MessageBoxSink::Show(const std::string& prompt, int32_t systemStyle, const std::string& title) {
  const std::u16string widePrompt = Utf8ToUtf16(prompt);
  const std::u16string wideTitle = Utf8ToUtf16(title);
  return MessageBoxW(GetForegroundWindow(), reinterpret_cast<const wchar_t*>(widePrompt.c_str()),
                     reinterpret_cast<const wchar_t*>(wideTitle.c_str()), static_cast<UINT>(systemStyle));
}

}  // namespace pradima::win
