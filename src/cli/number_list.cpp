#include "cli/number_list.h"

#include "cli/translate.h"

namespace pradima::cli {

namespace {

// The item without the spaces around it.
std::string Trimmed(const std::string& item) {
  const size_t first = item.find_first_not_of(' ');
  return first == std::string::npos ? "" : item.substr(first, item.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<std::string> SplitNumberList(const std::string& text) {
  std::vector<std::string> numbers;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    numbers.push_back(Trimmed(text.substr(start, comma - start)));
  numbers.push_back(Trimmed(text.substr(start)));
  return numbers;
}

std::optional<std::string> NumberListProblem(const std::string& text) {
  const std::vector<std::string> numbers = SplitNumberList(text);
  for (size_t i = 0; i < numbers.size(); ++i) {
    const std::string& number = numbers[i];
    const std::string place = std::to_string(i + 1);
    if (number.empty()) return TrFormat("number {1} is missing (numbers are separated by commas, as in 07,12,345)", {place});
    if (number.find_first_not_of("0123456789") != std::string::npos)
      return TrFormat("number {1} \"{2}\" is not digits only (as in 07,12,345)", {place, number});
  }
  return std::nullopt;
}

}  // namespace pradima::cli
