#pragma once
#include <optional>
#include <string>
#include <vector>

namespace pradima::cli {

// A list of numbers as typed on the command line: digits only, separated by commas with or without
// spaces around them ("07,12,345", "07, 12").
// What is wrong with the text, naming the item; none when it is such a list.
std::optional<std::string> NumberListProblem(const std::string& text);
// The numbers of a list without problem, in order, as typed ("07" keeps its zero), without the spaces.
std::vector<std::string> SplitNumberList(const std::string& text);

}  // namespace pradima::cli
