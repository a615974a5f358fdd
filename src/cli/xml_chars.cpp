#include "cli/xml_chars.h"

#include <cstdio>

namespace pradima::cli {

std::optional<CodePoint> DecodeUtf8(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return CodePoint{lead, 1};
  size_t length;
  char32_t value;
  char32_t smallest;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
  return CodePoint{value, length};
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

}  // namespace pradima::cli
