#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace pradima {

// Whether the file name ends with `extension` (".xlsm"), in any case, after
// at least one other character.
bool HasExtension(const std::string& path, std::string_view extension);

// Writes all of `text` to the descriptor; 0, or the system's error number.
int WriteAll(int descriptor, std::string_view text);

// The prefix of the temporary files that replace `target`: a file that
// starts with it is left from a run that was killed.
std::string TemporaryPrefix(const std::filesystem::path& target);

// Has `write` put the new content into a temporary file of its own beside
// the file at `path`, gives it that file's permissions and, where the system allows
// it, owner and group (a new file: the permissions the umask allows), and
// renames it over that file, so that no reader ever sees half a file. A
// symbolic link stays a link and the file it points to is replaced. On
// failure the file is as it was and no temporary is left. Errors say
// "cannot write <shown>: ...".
void ReplaceFile(const std::filesystem::path& path, const std::string& shown,
                 const std::function<void(const std::string& temporary)>& write);

}  // namespace pradima
