#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pradima {

// UTF-8 is the engine's text; UTF-16 is what COM and the spreadsheet count in.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Appends one character, a code point up to U+10FFFF, as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// The code point that starts at `at` and its length in bytes; none when the
// bytes there are no well-formed UTF-8 (a stray byte, an overlong form, a
// surrogate or a value past U+10FFFF).
struct CodePoint {
  char32_t value;
  size_t length;
};
std::optional<CodePoint> DecodeUtf8(std::string_view text, size_t at);

}  // namespace pradima
