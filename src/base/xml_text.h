#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pradima {

// Text as XML character data or an attribute value. Whatever the text holds,
// the markup stays well-formed: a character XML 1.0 cannot carry, or a byte
// that is no UTF-8, becomes U+FFFD, and a carriage return is written as a
// reference so that reading the markup back keeps it.
void AppendXmlEscaped(std::string& out, std::string_view text);

// A character that an XML 1.0 document may hold.
bool IsXmlChar(char32_t c);

// Why a text cannot go into a workbook as it is ("is not valid UTF-8 (byte 3)",
// "holds the character U+0007"); none when it can.
std::optional<std::string> UnstorableTextProblem(std::string_view text);

inline std::string XmlEscaped(std::string_view text) {
  std::string out;
  AppendXmlEscaped(out, text);
  return out;
}

}  // namespace pradima
