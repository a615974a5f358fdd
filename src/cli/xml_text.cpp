#include "cli/xml_text.h"

#include "cli/xml_chars.h"

namespace pradima::cli {

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

}  // namespace pradima::cli
