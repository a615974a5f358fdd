#pragma once
#include <string>
#include <string_view>

namespace pradima {

// The texts one after another, in one allocation. Markup is built with it
// rather than with `"literal" + std::string(...)`, in which GCC 12 sees an
// overlapping copy that cannot happen (-Wrestrict).
template <typename... Texts>
std::string Concat(const Texts&... texts) {
  const std::string_view parts[] = {std::string_view(texts)...};
  size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string joined;
  joined.reserve(size);
  for (const std::string_view part : parts) joined += part;
  return joined;
}

}  // namespace pradima
