#include "cli/translate.h"

#include <libintl.h>

#include <vector>

namespace pradima::cli {

const char* Tr(const char* english) { return dgettext("pradima", english); }

std::string TrFormat(const char* english, std::initializer_list<std::string_view> args) {
  const std::vector<std::string_view> values(args);
  const std::string_view pattern = Tr(english);
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    // {N} with one digit names argument N; any other brace is itself.
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9' && static_cast<size_t>(pattern[i + 1] - '1') < values.size()) {
      text += values[static_cast<size_t>(pattern[i + 1] - '1')];
      i += 2;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace pradima::cli
