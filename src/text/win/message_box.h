#pragma once
#include "text/message.h"

namespace pradima::win {

// The message box owned by the foreground window.
class MessageBoxSink final : public MessageSink {
 public:
  int32_t Show(const std::string& prompt, int32_t systemStyle, const std::string& title) override;
};

}  // namespace pradima::win
