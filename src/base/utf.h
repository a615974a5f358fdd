#pragma once
#include <string>
#include <string_view>

namespace pradima {

// UTF-8 is the engine's text; UTF-16 is what COM and the spreadsheet count in.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Appends one character, a code point up to U+10FFFF, as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace pradima
