#pragma once
#include <string_view>

namespace pradima::cli {

// Writes all of `text` to the descriptor; returns 0, or the system's error
// number when the output cannot take it (a full disk, a closed descriptor).
// A reader that went away (a pipe closed early, as by `head`) is no failure:
// it asked for no more. SIGPIPE must be ignored for that to be seen.
int WriteOutput(int descriptor, std::string_view text);

}  // namespace pradima::cli
