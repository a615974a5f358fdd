#include "xlsx/xml_tokens.h"

#include "base/utf.h"

namespace pradima::xlsx {
namespace {

// The character a numeric reference ("#65", "#x41") names, or 0.
uint32_t NumericReference(std::string_view name) {
  const bool hex = name.size() > 1 && name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 7) return 0;
  uint32_t code = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return 0;
    code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code > 0x10FFFF || surrogate ? 0 : code;
}

}  // namespace

bool AppendCharacters(std::string_view raw, std::string& out) {
  size_t at = 0;
  while (at < raw.size()) {
    size_t special = at;
    while (special < raw.size() && raw[special] != '&' && raw[special] != '\r') ++special;
    if (special == raw.size()) {
      out.append(raw.substr(at));
      return true;
    }
    out.append(raw.substr(at, special - at));
    const size_t semicolon = raw.find(';', special);
    if (raw[special] == '\r' || semicolon == std::string_view::npos) return false;
    const std::string_view name = raw.substr(special + 1, semicolon - special - 1);
    if (name == "lt") {
      out += '<';
    } else if (name == "gt") {
      out += '>';
    } else if (name == "amp") {
      out += '&';
    } else if (name == "quot") {
      out += '"';
    } else if (name == "apos") {
      out += '\'';
    } else if (name.starts_with('#')) {
      const uint32_t code = NumericReference(name);
      if (code == 0) return false;
      AppendUtf8(out, code);
    } else {
      return false;
    }
    at = semicolon + 1;
  }
  return true;
}

}  // namespace pradima::xlsx
