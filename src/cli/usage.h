#pragma once
#include <string>

namespace pradima::cli {

// The usage of one command ("init", "update", "numbers", "stats", "gan"),
// or of them all for any other name.
std::string UsageOf(const std::string& command);

}  // namespace pradima::cli
