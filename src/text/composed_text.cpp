#include "text/composed_text.h"

#include <algorithm>
#include <optional>

#include "base/utf.h"
#include "text/composition_table.h"

namespace pradima {
namespace {

// The canonical combining class of the marks of the table; 0 for any other character.
int CombiningClass(char16_t unit) {
  switch (unit) {
    case 0x031B: return 216;  // horn
    case 0x0323: return 220;  // dot below
    case 0x0300:
    case 0x0301:
    case 0x0302:
    case 0x0303:
    case 0x0306:
    case 0x0309: return 230;
    default: return 0;
  }
}

std::optional<char16_t> Composed(char16_t first, char16_t mark) {
  const auto table = LatinCompositions();
  const auto found = std::lower_bound(table.begin(), table.end(), std::pair(first, mark),
                                      [](const Composition& c, auto key) { return std::pair(c.first, c.mark) < key; });
  if (found == table.end() || found->first != first || found->mark != mark) return std::nullopt;
  return found->composed;
}

// A composed letter of the table as its letter and marks, the marks in the order written.
void AppendDecomposed(std::u16string& out, char16_t unit) {
  for (const Composition& c : LatinCompositions()) {
    if (c.composed != unit) continue;
    AppendDecomposed(out, c.first);
    out += c.mark;
    return;
  }
  out += unit;
}

// Marks of different classes that follow one letter go in the order of their classes.
void OrderMarks(std::u16string& text) {
  for (size_t start = 0; start < text.size();) {
    size_t end = start;
    while (end < text.size() && CombiningClass(text[end]) != 0) ++end;
    std::stable_sort(text.begin() + static_cast<std::ptrdiff_t>(start), text.begin() + static_cast<std::ptrdiff_t>(end),
                     [](char16_t a, char16_t b) { return CombiningClass(a) < CombiningClass(b); });
    start = end + 1;
  }
}

// Each mark joins the letter before it unless a mark of the same or a higher class
// stands between them uncomposed.
std::u16string Compose(const std::u16string& text) {
  std::u16string out;
  size_t letter = std::u16string::npos;
  int lastClass = 0;
  for (const char16_t unit : text) {
    const int combiningClass = CombiningClass(unit);
    if (combiningClass != 0 && letter != std::u16string::npos && lastClass < combiningClass) {
      if (const auto composed = Composed(out[letter], unit)) {
        out[letter] = *composed;
        continue;
      }
    }
    if (combiningClass == 0) {
      letter = out.size();
      lastClass = 0;
    } else {
      lastClass = combiningClass;
    }
    out += unit;
  }
  return out;
}

}  // namespace

std::string ComposeLatin(std::string_view text) {
  // Plain ASCII, the common case, has nothing to compose.
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::string(text);
  std::u16string decomposed;
  for (const char16_t unit : Utf8ToUtf16(text)) AppendDecomposed(decomposed, unit);
  OrderMarks(decomposed);
  return Utf16ToUtf8(Compose(decomposed));
}

}  // namespace pradima
