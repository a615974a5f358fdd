#pragma once
// The tool's own words in the language the user's locale asks for, through
// gettext (domain "pradima"); the English text is the key. Words the
// workbook stores (regions, weekdays, set names) come from the core as they
// are and never pass through here.
#include <initializer_list>
#include <string>
#include <string_view>

namespace pradima::cli {

// The catalogue's text for `english`, or `english` when it has none.
const char* Tr(const char* english);

// Tr(english) with {1}, {2}, ... replaced by the arguments in that order, so
// that a translation may put them where its language wants them.
std::string TrFormat(const char* english, std::initializer_list<std::string_view> args);

}  // namespace pradima::cli
