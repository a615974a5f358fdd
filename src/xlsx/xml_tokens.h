#pragma once
// The markup of a part read token by token, for the one-pass worksheet scan:
// only what well-formed markup of a worksheet needs, every step saying
// false where the full parser would read it in ways of its own.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "session/address.h"

namespace pradima::xlsx {

inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

inline bool IsBlank(std::string_view text) {
  for (char c : text)
    if (!IsSpace(c)) return false;
  return true;
}

inline bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
         c == '-' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

// Names are short: a plain loop beats a library search here.
inline size_t PrefixLength(std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i)
    if (name[i] == ':') return i + 1;
  return 0;
}

inline std::string_view LocalName(std::string_view name) { return name.substr(PrefixLength(name)); }
inline std::string_view PrefixOf(std::string_view name) { return name.substr(0, PrefixLength(name)); }

// An attribute's value as the parser gives it: the raw text itself when it
// holds no reference, else resolved into `scratch`. False where the parser
// would change its white space.
// Appends character data with its references resolved. False for what the
// full parser treats in ways of its own: a reference other than the five
// named ones and a plain character number, or a carriage return (the
// parser turns line ends into "\n").
bool AppendCharacters(std::string_view raw, std::string& out);

inline bool AttributeValue(std::string_view raw, std::string& scratch, std::string_view& value) {
  bool plain = true;
  for (char c : raw) {
    if (c == '\t' || c == '\n') return false;
    if (c == '&' || c == '\r') plain = false;
  }
  if (plain) {
    value = raw;
    return true;
  }
  scratch.clear();
  if (!AppendCharacters(raw, scratch)) return false;
  value = scratch;
  return true;
}

// A number of one to nine digits, as an attribute holds a row or a format.
inline bool SmallNumber(std::string_view text, int32_t& number) {
  if (text.empty() || text.size() > 9) return false;
  number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

// The column of a cell reference ("BC12"); `otherwise` for a text that is
// no reference. Most references are plain letters then digits, read here
// directly; anything else goes through the full address reader.
inline int32_t ReferencedColumn(std::string_view reference, int32_t otherwise) {
  size_t i = 0;
  int32_t column = 0;
  while (i < reference.size() && i < 3 && reference[i] >= 'A' && reference[i] <= 'Z')
    column = column * 26 + (reference[i++] - 'A' + 1);
  int32_t row = 0;
  const size_t digits = i;
  while (i < reference.size() && i - digits < 7 && reference[i] >= '0' && reference[i] <= '9')
    row = row * 10 + (reference[i++] - '0');
  if (digits > 0 && i > digits && i == reference.size() && column <= kMaxColumns && row >= 1 && row <= kMaxRows)
    return column;
  const auto range = ParseAddress(reference);
  return range ? range->first.column : otherwise;
}

// Names are compared by the hundred thousand: a plain loop, no library call.
inline bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

enum class Token { StartTag, EndTag, Text, Comment, CData, Instruction, End, Bad };

// The markup of a part, token by token. A start tag's attributes are
// checked as it is read and kept as their text, to be looked up by name.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view xml) : start_(xml.data()), at_(xml.data()), end_(xml.data() + xml.size()) {}

  // Goes on from `offset`, a place between two tokens.
  void MoveTo(size_t offset) { at_ = start_ + offset; }

  Token Next() {
    tokenStart_ = at_;
    if (at_ == end_) return Token::End;
    if (*at_ != '<') {
      const void* next = std::memchr(at_, '<', static_cast<size_t>(end_ - at_));
      const char* stop = next ? static_cast<const char*>(next) : end_;
      text_ = std::string_view(at_, static_cast<size_t>(stop - at_));
      at_ = stop;
      return Token::Text;
    }
    const std::string_view rest(at_, static_cast<size_t>(end_ - at_));
    switch (rest.size() > 1 ? rest[1] : '\0') {
      case '/': {
        const char* p = at_ + 2;
        name_ = Name(p);
        while (p < end_ && IsSpace(*p)) ++p;
        if (name_.empty() || p == end_ || *p != '>') return Token::Bad;
        at_ = p + 1;
        return Token::EndTag;
      }
      case '!':
        if (rest.starts_with("<!--")) return Enclosed(rest, 4, "-->", Token::Comment);
        if (rest.starts_with("<![CDATA[")) return Enclosed(rest, 9, "]]>", Token::CData);
        return Token::Bad;
      case '?': {
        // A declaration stands only at the very start; an instruction names its target.
        if (rest.starts_with("<?xml") && at_ != start_) return Token::Bad;
        const char* p = at_ + 2;
        if (Name(p).empty() || p == end_ || (!IsSpace(*p) && *p != '?')) return Token::Bad;
        return Enclosed(rest, 2, "?>", Token::Instruction);
      }
      default: break;
    }
    return StartTag();
  }

  // The text not read yet, and a step over what a caller read of it itself.
  std::string_view rest() const { return std::string_view(at_, static_cast<size_t>(end_ - at_)); }
  void Advance(size_t count) { at_ += count; }

  // Where the last token starts, and where the next one will.
  size_t tokenOffset() const { return static_cast<size_t>(tokenStart_ - start_); }
  size_t offset() const { return static_cast<size_t>(at_ - start_); }

  std::string_view name() const { return name_; }
  std::string_view text() const { return text_; }
  bool selfClosing() const { return selfClosing_; }

  // Visits the start tag's attributes in order, each name with its raw value.
  template <typename Visit>
  void ForEachAttribute(Visit visit) const {
    const char* p = attributes_.data();
    const char* end = p + attributes_.size();
    for (;;) {
      while (p < end && IsSpace(*p)) ++p;
      if (p == end) return;
      const char* nameStart = p;
      while (*p != '=' && !IsSpace(*p)) ++p;
      const std::string_view name(nameStart, static_cast<size_t>(p - nameStart));
      while (*p != '"' && *p != '\'') ++p;
      const char quote = *p++;
      const char* valueStart = p;
      while (*p != quote) ++p;
      visit(name, std::string_view(valueStart, static_cast<size_t>(p - valueStart)));
      ++p;
    }
  }

  // The raw value of the start tag's first attribute of that name.
  std::optional<std::string_view> Attribute(std::string_view wanted) const {
    std::optional<std::string_view> found;
    ForEachAttribute([&](std::string_view name, std::string_view value) {
      if (!found && name == wanted) found = value;
    });
    return found;
  }

 private:
  Token Enclosed(std::string_view rest, size_t open, std::string_view close, Token token) {
    const size_t stop = rest.find(close, open);
    if (stop == std::string_view::npos) return Token::Bad;
    text_ = rest.substr(0, stop + close.size());
    at_ += text_.size();
    return token;
  }

  // A name starts with a letter, '_', ':' or a character beyond ASCII.
  std::string_view Name(const char*& p) const {
    const char* start = p;
    if (p < end_ && ((*p >= '0' && *p <= '9') || *p == '-' || *p == '.')) return {};
    while (p < end_ && IsNameChar(*p)) ++p;
    return std::string_view(start, static_cast<size_t>(p - start));
  }

  Token StartTag() {
    const char* p = at_ + 1;
    name_ = Name(p);
    if (name_.empty()) return Token::Bad;
    const char* attributesStart = p;
    for (;;) {
      const char* beforeSpace = p;
      while (p < end_ && IsSpace(*p)) ++p;
      if (p == end_) return Token::Bad;
      if (*p == '>' || *p == '/') {
        selfClosing_ = *p == '/';
        if (selfClosing_ && (p + 1 == end_ || p[1] != '>')) return Token::Bad;
        attributes_ = std::string_view(attributesStart, static_cast<size_t>(p - attributesStart));
        at_ = p + (selfClosing_ ? 2 : 1);
        return Token::StartTag;
      }
      if (p == beforeSpace || Name(p).empty()) return Token::Bad;
      while (p < end_ && IsSpace(*p)) ++p;
      if (p == end_ || *p != '=') return Token::Bad;
      ++p;
      while (p < end_ && IsSpace(*p)) ++p;
      if (p == end_ || (*p != '"' && *p != '\'')) return Token::Bad;
      const char quote = *p++;
      while (p < end_ && *p != quote) {
        if (*p == '<') return Token::Bad;
        ++p;
      }
      if (p == end_) return Token::Bad;
      ++p;
    }
  }

  const char* start_;
  const char* at_;
  const char* end_;
  const char* tokenStart_ = nullptr;
  std::string_view name_, text_, attributes_;
  bool selfClosing_ = false;
};

}  // namespace pradima::xlsx
