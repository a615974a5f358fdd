#include "base/xml_text.h"

#include <cstdio>

#include "base/utf.h"

namespace pradima {

void AppendXmlEscaped(std::string& out, std::string_view text) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  for (size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (static_cast<unsigned char>(c) >= 0x80) {
      const std::optional<CodePoint> point = DecodeUtf8(text, at);
      if (point && IsXmlChar(point->value)) {
        out.append(text.substr(at, point->length));
        at += point->length;
      } else {
        out += kReplacement;
        at += point ? point->length : 1;
      }
      continue;
    }
    ++at;
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': out += "&#13;"; break;
      default:
        if (IsXmlChar(static_cast<unsigned char>(c))) out += c;
        else out += kReplacement;
    }
  }
}

bool IsXmlChar(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

std::optional<std::string> UnstorableTextProblem(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const std::optional<CodePoint> point = DecodeUtf8(text, at);
    if (!point) return "is not valid UTF-8 (byte " + std::to_string(at + 1) + ")";
    if (!IsXmlChar(point->value)) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(point->value));
      return std::string("holds the character ") + name + ", which a workbook cannot store";
    }
    at += point->length;
  }
  return std::nullopt;
}

}  // namespace pradima
