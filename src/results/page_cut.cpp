#include "results/page_cut.h"

#include "base/error.h"

namespace pradima {

std::optional<std::vector<std::string_view>> CutPage(std::string_view page, std::string_view startMarker) {
  const size_t start = page.find(startMarker);
  if (start == std::string_view::npos) return std::nullopt;
  const size_t end = page.find(kEndMarker, start);
  if (end == std::string_view::npos) throw Error(VbError::InvalidArgument, "start marker without end marker");
  const std::string_view cut = page.substr(start, end - start);
  constexpr std::string_view kSeparator = "</div>";
  std::vector<std::string_view> pieces;
  size_t from = 0;
  for (size_t at; (at = cut.find(kSeparator, from)) != std::string_view::npos; from = at + kSeparator.size()) {
    pieces.push_back(cut.substr(from, at - from));
  }
  pieces.push_back(cut.substr(from));
  return pieces;
}

std::string CleanCell(std::string_view piece) {
  const size_t lastTag = piece.rfind('>');
  if (lastTag != std::string_view::npos) piece.remove_prefix(lastTag + 1);
  std::string text(piece);
  for (char& c : text)
    if (c == '+') c = ' ';
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsPrizeText(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace pradima
