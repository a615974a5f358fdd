#include "cli/standard_output.h"

#include <unistd.h>

#include <cerrno>

namespace pradima::cli {

int WriteOutput(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno == EPIPE ? 0 : errno;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

}  // namespace pradima::cli
