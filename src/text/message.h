#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pradima {

// Where the engine's messages go: a system-modal message box in the DLL,
// standard error in the command-line tool, a recorder in tests.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows prompt and title (both Unicode) with the style the system gets;
  // returns the id of the button that closed the message.
  virtual int32_t Show(const std::string& prompt, int32_t systemStyle, const std::string& title) = 0;
};

inline constexpr int32_t kSystemModal = 0x1000;
inline constexpr int32_t kInformationIcon = 64;

// Shows prompt unchanged under the Telex title converted, with the caller's
// style plus the system-modal flag. A style whose sum leaves the 32-bit range
// is an overflow, raised before anything is shown.
int32_t ShowMessage(MessageSink& sink, const std::string& prompt, int32_t style, std::string_view telexTitle);

}  // namespace pradima
