#include "text/message.h"

#include <cstdint>

#include "base/error.h"
#include "text/telex.h"

namespace pradima {

int32_t ShowMessage(MessageSink& sink, const std::string& prompt, int32_t style, std::string_view telexTitle) {
  const int64_t systemStyle = int64_t{style} + kSystemModal;
  if (systemStyle > INT32_MAX) {
    throw Error(VbError::Overflow, "message style " + std::to_string(style) + " plus the system-modal flag overflows");
  }
  return sink.Show(prompt, static_cast<int32_t>(systemStyle), TelexToUnicode(telexTitle));
}

}  // namespace pradima
