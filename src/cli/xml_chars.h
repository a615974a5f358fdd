#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pradima::cli {

// The code point that starts at `at` and its length in bytes; none when the
// bytes there are no well-formed UTF-8 (a stray byte, an overlong form, a
// surrogate or a value past U+10FFFF).
struct CodePoint {
  char32_t value;
  size_t length;
};
std::optional<CodePoint> DecodeUtf8(std::string_view text, size_t at);

// A character that an XML 1.0 document may hold.
bool IsXmlChar(char32_t c);

// Why a text cannot go into a workbook as it is ("is not valid UTF-8 at byte 3",
// "holds the control character U+0007"); none when it can.
std::optional<std::string> UnstorableTextProblem(std::string_view text);

}  // namespace pradima::cli
