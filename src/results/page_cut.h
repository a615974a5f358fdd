#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pradima {

inline constexpr std::string_view kNorthStartMarker = "<td class=\"giaidb\">";
inline constexpr std::string_view kStationStartMarker = "<td class=\"giai8\">";
inline constexpr std::string_view kEndMarker = "</table></tr></table>";

// Cuts the prize pieces out of a results page: from the first start marker
// (included) to the first end marker after it (excluded), split at every
// "</div>"; the text after the last "</div>" is a piece too. No start marker
// (the empty page included) gives nullopt; a start marker without an end
// marker after it raises an invalid-argument error. The pieces view the page.
std::optional<std::vector<std::string_view>> CutPage(std::string_view page, std::string_view startMarker);

// The prize text of a piece: what follows its last ">", each "+" made a
// blank, leading and trailing blanks removed.
std::string CleanCell(std::string_view piece);

// A prize text: one or more digits and nothing else.
bool IsPrizeText(std::string_view text);

}  // namespace pradima
