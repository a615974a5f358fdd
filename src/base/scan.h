#pragma once
// Reading small texts from the front: dates, times and numbers typed by hand.
#include <cstddef>
#include <string_view>

namespace pradima {

// Up to maxDigits decimal digits, at least one, taken off the front of text.
inline bool TakeNumber(std::string_view& text, size_t maxDigits, int& number) {
  size_t n = 0;
  int result = 0;
  while (n < text.size() && n < maxDigits && text[n] >= '0' && text[n] <= '9') {
    result = result * 10 + (text[n] - '0');
    ++n;
  }
  if (n == 0) return false;
  text.remove_prefix(n);
  number = result;
  return true;
}

// The character c taken off the front of text, if it is there.
inline bool TakeChar(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace pradima
