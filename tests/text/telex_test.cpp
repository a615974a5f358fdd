#include "text/telex.h"

#include <gtest/gtest.h>

#include "support/data_files.h"
#include "text/composed_text.h"

namespace pradima {
namespace {

TEST(Telex, ConvertsToPrecomposedUnicode) {
  for (const std::vector<std::string>& c : testing::DataTable("telex.tsv")) {
    EXPECT_EQ(TelexToUnicode(c[0]), c[1]) << c[0];
  }
}

// The combining mark a key puts on the letter `base`: the doubled letter a
// circumflex, w a breve on a and a horn on o and u, then the five tones.
std::string MarkOf(char base, char key) {
  switch (key) {
    case 'w': return base == 'a' ? "\u0306" : "\u031B";
    case 'f': return "\u0300";
    case 's': return "\u0301";
    case 'r': return "\u0309";
    case 'x': return "\u0303";
    case 'j': return "\u0323";
    case '~': return "";
    default: return key == base ? "\u0302" : "?";
  }
}

// Every rule but đ, which no mark makes, gives its letter with the marks of
// its keys, in all three case forms and amid other text.
TEST(Telex, EveryRuleGivesItsLetterWithTheMarksOfItsKeys) {
  for (const TelexRule& rule : kTelexRules) {
    const std::string lower(rule.sequence);
    if (lower == "dd") continue;
    std::string marks;
    for (size_t i = 1; i < lower.size(); ++i) marks += MarkOf(lower[0], lower[i]);
    std::string upper = lower;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const std::string small = ComposeLatin(lower.substr(0, 1) + marks);
    const std::string capital = ComposeLatin(upper.substr(0, 1) + marks);
    EXPECT_EQ(TelexToUnicode("1 " + lower + " 2"), "1 " + small + " 2") << lower;
    EXPECT_EQ(TelexToUnicode(upper), capital) << upper;
    EXPECT_EQ(TelexToUnicode(upper.substr(0, 1) + lower.substr(1)), capital) << lower;
  }
}

}  // namespace
}  // namespace pradima
