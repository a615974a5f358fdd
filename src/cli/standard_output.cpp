#include "cli/standard_output.h"

#include <cerrno>

#include "base/files.h"

namespace pradima::cli {

int WriteOutput(int descriptor, std::string_view text) {
  const int error = WriteAll(descriptor, text);
  return error == EPIPE ? 0 : error;
}

}  // namespace pradima::cli
