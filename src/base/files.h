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

// The prefix of the temporary files that write `target`: a file that starts
// with it is left from a run that was killed. Short whatever the name, so
// that a temporary can be made beside any file: a long name is cut, and a
// checksum of the whole name stands for the rest.
std::string TemporaryPrefix(const std::filesystem::path& target);

// Has `write` put the new content into a temporary file of its own beside
// the file at `path`, gives it that file's permissions and, where the system allows
// it, owner and group (a new file: the permissions the umask allows), and
// renames it over that file, so that no reader ever sees half a file. A
// symbolic link stays a link and the file it points to is replaced. The
// folder is flushed to the disk after the rename, so that the new file
// outlives a power loss. On failure the file is as it was and no temporary
// is left. Errors say "cannot write <shown>: ...".
void ReplaceFile(const std::filesystem::path& path, const std::string& shown,
                 const std::function<void(const std::string& temporary)>& write);

// The same for a file that must not exist: the temporary takes the name
// only while no file has it, so the new file is there whole or not at all.
// Errors say "cannot create <shown>: ...".
void CreateNewFile(const std::filesystem::path& path, const std::string& shown,
                   const std::function<void(const std::string& temporary)>& write);

// Removes the temporary file that ReplaceFile or CreateNewFile is writing,
// if any: for the handler of a signal that ends the process, which must
// leave no temporary behind. Async-signal-safe; one file at a time.
void RemoveTemporaryInProgress() noexcept;

// The calls that put a temporary in place, apart so that a test can watch
// their order or stop a run between them. Each returns 0 or the system's
// error number.
struct PlacingCalls {
  // Renames `from` to `to`; with `replace` false, only while no file is named `to`.
  int (*move)(const char* from, const char* to, bool replace);
  // Flushes the entries of the folder to the disk.
  int (*syncFolder)(const char* folder);
};
PlacingCalls SystemPlacingCalls();
// Puts `calls` in place of those in use, which it returns.
PlacingCalls SetPlacingCalls(const PlacingCalls& calls);

}  // namespace pradima
