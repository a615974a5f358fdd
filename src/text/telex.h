#pragma once
#include <string>
#include <string_view>

namespace pradima {

// Turns text typed in the Telex convention into Unicode with precomposed
// Vietnamese letters: "Thoong Baso" gives "Thông Báo". Pure; every input,
// the empty one included, gives a result. UTF-8 in and out: every Telex
// sequence is ASCII, and ASCII bytes never occur inside a multi-byte UTF-8
// character, so replacing over bytes is the same as over UTF-16 code units.
std::string TelexToUnicode(std::string_view text);

struct TelexRule {
  std::string_view sequence;  // lower case, as stored
  char32_t lower;
  char32_t upper;
};
// The 73 rules in the order they are applied.
extern const TelexRule kTelexRules[73];

}  // namespace pradima
