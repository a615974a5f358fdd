#include "base/fill_in.h"

#include <vector>

namespace pradima {

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> values) {
  const std::vector<std::string_view> given(values);
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    // {N} with one digit names value N; any other brace is itself.
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9' && static_cast<size_t>(pattern[i + 1] - '1') < given.size()) {
      text += given[static_cast<size_t>(pattern[i + 1] - '1')];
      i += 2;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace pradima
