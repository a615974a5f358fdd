#pragma once
// The tool's own words in the language the user's locale asks for, through
// gettext (domain "pradima"); the English text is the key. Words the
// workbook stores (regions, weekdays, set names) come from the core as they
// are and never pass through here.
#include <initializer_list>
#include <string>
#include <string_view>

namespace pradima::cli {

// Takes the language of messages and the character type from the
// environment, as gettext chooses them (LC_ALL, LC_MESSAGES, LANG, and
// LANGUAGE unless the locale is C); numbers keep the C locale's '.'. The
// catalogue is looked for in share/locale beside the folder of the running
// program (/usr/bin/pradima: /usr/share/locale; the build tree mirrors
// that), else in /usr/share/locale.
void UseTheUsersLanguage();

// The catalogue's text for `english`, or `english` when it has none.
const char* Tr(const char* english);

// Tr(english) with {1}, {2}, ... replaced by the arguments in that order, so
// that a translation may put them where its language wants them.
std::string TrFormat(const char* english, std::initializer_list<std::string_view> args);

// Marks a text that is translated where it is shown, by Tr or TrFormat, so
// that the catalogue tools find it; the text itself, unchanged.
constexpr const char* TrLater(const char* english) { return english; }

}  // namespace pradima::cli
