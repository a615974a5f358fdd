#pragma once
#include <string>

namespace pradima::cli {

// The usage of one command ("init", "update", "numbers", "stats", "gan", "roi", "bacnho"),
// or of them all for any other name.
std::string UsageOf(const std::string& command);

// The line after a usage error, which points to the usage of `command` (of
// them all when it is empty) rather than print it all.
std::string HelpPointer(const std::string& command);

}  // namespace pradima::cli
