#include "text/message.h"

#include "session/error.h"
#include "text/telex.h"

namespace pradima {

int32_t ShowMessage(MessageSink& sink, const std::string& prompt, int32_t style, std::string_view telexTitle) {
  int32_t systemStyle = 0;
  if (__builtin_add_overflow(style, kSystemModal, &systemStyle)) {
    throw Error(VbError::Overflow, "message style " + std::to_string(style) + " plus the system-modal flag overflows");
  }
  return sink.Show(prompt, systemStyle, TelexToUnicode(telexTitle));
}

}  // namespace pradima
