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
// The 73 rules in the order they are applied. // Three-key sequences first, so "aaf" is never read as "aa" then "f";
// then the two-key sequences in alphabetical order; the "~" escapes last.
inline constexpr TelexRule kTelexRules[73] = {
    {"aaf", 0x1EA7, 0x1EA6}, {"aaj", 0x1EAD, 0x1EAC}, {"aar", 0x1EA9, 0x1EA8}, {"aas", 0x1EA5, 0x1EA4},
    {"aax", 0x1EAB, 0x1EAA}, {"awf", 0x1EB1, 0x1EB0}, {"awj", 0x1EB7, 0x1EB6}, {"awr", 0x1EB3, 0x1EB2},
    {"aws", 0x1EAF, 0x1EAE}, {"awx", 0x1EB5, 0x1EB4}, {"eef", 0x1EC1, 0x1EC0}, {"eej", 0x1EC7, 0x1EC6},
    {"eer", 0x1EC3, 0x1EC2}, {"ees", 0x1EBF, 0x1EBE}, {"eex", 0x1EC5, 0x1EC4}, {"oof", 0x1ED3, 0x1ED2},
    {"ooj", 0x1ED9, 0x1ED8}, {"oor", 0x1ED5, 0x1ED4}, {"oos", 0x1ED1, 0x1ED0}, {"oox", 0x1ED7, 0x1ED6},
    {"owf", 0x1EDD, 0x1EDC}, {"owj", 0x1EE3, 0x1EE2}, {"owr", 0x1EDF, 0x1EDE}, {"ows", 0x1EDB, 0x1EDA},
    {"owx", 0x1EE1, 0x1EE0}, {"uwf", 0x1EEB, 0x1EEA}, {"uwj", 0x1EF1, 0x1EF0}, {"uwr", 0x1EED, 0x1EEC},
    {"uws", 0x1EE9, 0x1EE8}, {"uwx", 0x1EEF, 0x1EEE}, {"aa", 0x00E2, 0x00C2},  {"af", 0x00E0, 0x00C0},
    {"aj", 0x1EA1, 0x1EA0},  {"ar", 0x1EA3, 0x1EA2},  {"as", 0x00E1, 0x00C1},  {"aw", 0x0103, 0x0102},
    {"ax", 0x00E3, 0x00C3},  {"dd", 0x0111, 0x0110},  {"ee", 0x00EA, 0x00CA},  {"ef", 0x00E8, 0x00C8},
    {"ej", 0x1EB9, 0x1EB8},  {"er", 0x1EBB, 0x1EBA},  {"es", 0x00E9, 0x00C9},  {"ex", 0x1EBD, 0x1EBC},
    {"if", 0x00EC, 0x00CC},  {"ij", 0x1ECB, 0x1ECA},  {"ir", 0x1EC9, 0x1EC8},  {"is", 0x00ED, 0x00CD},
    {"ix", 0x0129, 0x0128},  {"of", 0x00F2, 0x00D2},  {"oj", 0x1ECD, 0x1ECC},  {"oo", 0x00F4, 0x00D4},
    {"or", 0x1ECF, 0x1ECE},  {"os", 0x00F3, 0x00D3},  {"ow", 0x01A1, 0x01A0},  {"ox", 0x00F5, 0x00D5},
    {"uf", 0x00F9, 0x00D9},  {"uj", 0x1EE5, 0x1EE4},  {"ur", 0x1EE7, 0x1EE6},  {"us", 0x00FA, 0x00DA},
    {"uw", 0x01B0, 0x01AF},  {"ux", 0x0169, 0x0168},  {"yf", 0x1EF3, 0x1EF2},  {"yj", 0x1EF5, 0x1EF4},
    {"yr", 0x1EF7, 0x1EF6},  {"ys", 0x00FD, 0x00DD},  {"yx", 0x1EF9, 0x1EF8},  {"a~", 'a', 'A'},
    {"e~", 'e', 'E'},        {"i~", 'i', 'I'},        {"o~", 'o', 'O'},        {"u~", 'u', 'U'},
    {"y~", 'y', 'Y'},
};

}  // namespace pradima
