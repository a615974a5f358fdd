#include "text/telex.h"

#include <cctype>

#include "base/utf.h"

namespace pradima {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty() || text.find(from) == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
    out.append(text, start, at - start);
    out += to;
  }
  out.append(text, start, std::string::npos);
  text = std::move(out);
}

std::string Encode(char32_t cp) { return Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(cp))); }

}  // namespace

std::string TelexToUnicode(std::string_view text) {
  std::string work(text);
  for (const TelexRule& rule : kTelexRules) {
    const std::string lower(rule.sequence);
    std::string allUpper = lower;
    for (char& c : allUpper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string firstUpper = lower;
    firstUpper[0] = allUpper[0];
    const std::string small = Encode(rule.lower);
    const std::string capital = Encode(rule.upper);
    ReplaceAll(work, lower, small);
    ReplaceAll(work, allUpper, capital);
    ReplaceAll(work, firstUpper, capital);
  }
  return work;
}

}  // namespace pradima
