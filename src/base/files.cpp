#include "base/files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>

#include "base/concat.h"
#include "base/file_error.h"

namespace pradima {
namespace {

namespace fs = std::filesystem;

// A file name longer than this is cut in the names of its temporaries:
// with the rest of such a name it would pass the 255 bytes a name may have.
constexpr size_t kLongestWholeName = 64;
constexpr size_t kKeptOfALongName = 48;

// The temporary being written, for a signal handler: the name is complete
// before the flag says so, and the flag goes down before the name changes.
char pendingName[PATH_MAX];
std::atomic<bool> temporaryPending = false;
static_assert(std::atomic<bool>::is_always_lock_free);

int SystemMove(const char* from, const char* to, bool replace) {
  if (replace) return ::rename(from, to) == 0 ? 0 : errno;
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without that rename: a second name, which is refused for
  // an existing file too, then the temporary's name goes.
  if (::link(from, to) != 0) return errno;
  ::unlink(from);
  return 0;
}

int SystemSyncFolder(const char* folder) {
  const int descriptor = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return errno;
  const int error = ::fsync(descriptor) == 0 ? 0 : errno;
  ::close(descriptor);
  return error;
}

PlacingCalls placingCalls{SystemMove, SystemSyncFolder};

fs::path FolderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// A temporary file beside a target, from its creation to the rename that
// puts it in place; removed if it never gets there, by a signal too.
class Temporary {
 public:
  // The file, new and empty; the umask applies to the mode asked here, as
  // for any new file. `failure` begins the error ("cannot write <shown>").
  Temporary(const fs::path& target, const std::string& failure) {
    const std::string prefix = Concat(TemporaryPrefix(target), std::to_string(::getpid()), "-");
    for (int attempt = 0; attempt < 100; ++attempt) {
      name_ = (FolderOf(target) / (prefix + std::to_string(attempt))).string();
      // Noted before it exists: a signal right after the creation finds it.
      Note();
      const int descriptor = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (descriptor >= 0) {
        ::close(descriptor);
        return;
      }
      const int error = errno;
      Unnote();
      if (error == ENOENT) Fail(Concat(failure, ": its folder ", FolderOf(target).string(), " does not exist"));
      if (error != EEXIST) Fail(Concat(failure, ": cannot make a temporary file beside it: ", SystemReason(error)));
    }
    Fail(Concat(failure, ": cannot make a temporary file beside it: too many are left there by other runs"));
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    if (placed_) return;
    ::unlink(name_.c_str());
    Unnote();
  }

  const std::string& name() const { return name_; }

  // Gives it the name of `target`; 0 or the system's error number.
  int MoveTo(const fs::path& target, bool replace) {
    const int error = placingCalls.move(name_.c_str(), target.c_str(), replace);
    if (error != 0) return error;
    // A signal between the rename and this finds no file of that name.
    Unnote();
    placed_ = true;
    return 0;
  }

 private:
  void Note() {
    temporaryPending = false;
    noted_ = name_.size() < sizeof pendingName;
    if (!noted_) return;
    std::memcpy(pendingName, name_.c_str(), name_.size() + 1);
    temporaryPending = true;
  }
  void Unnote() {
    if (noted_) temporaryPending = false;
    noted_ = false;
  }

  std::string name_;
  bool noted_ = false;
  bool placed_ = false;
};

// The new name of `target` flushed to the disk with its folder.
void SyncFolder(const fs::path& target, const std::string& shown) {
  const int error = placingCalls.syncFolder(FolderOf(target).c_str());
  // A folder we may not read, or a file system that cannot flush one: the
  // file is in place, as well kept as that system keeps any file.
  if (error == 0 || error == EINVAL || error == ENOTSUP || error == EACCES || error == EPERM) return;
  Fail(Concat(shown, " is written, but its folder cannot be flushed to the disk, so a power loss may still lose it: ",
              SystemReason(error)));
}

}  // namespace

bool HasExtension(const std::string& path, std::string_view extension) {
  const std::string name = fs::path(path).filename().string();
  if (name.size() <= extension.size()) return false;
  return std::equal(extension.begin(), extension.end(), name.end() - static_cast<std::ptrdiff_t>(extension.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                    });
}

int WriteAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

std::string TemporaryPrefix(const fs::path& target) {
  std::string name = target.filename().string();
  if (name.size() > kLongestWholeName) {
    uint32_t sum = 2166136261u;  // FNV-1a of the whole name
    for (const char c : name) sum = (sum ^ static_cast<unsigned char>(c)) * 16777619u;
    size_t cut = kKeptOfALongName;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", sum);
    name = Concat(std::string_view(name).substr(0, cut), "~", hex);
  }
  return Concat(".", name, ".pradima-");
}

void ReplaceFile(const fs::path& path, const std::string& shown,
                 const std::function<void(const std::string& temporary)>& write) {
  const std::string failure = "cannot write " + shown;
  fs::path target = path;
  std::error_code error;
  if (fs::is_symlink(target, error)) {
    target = fs::canonical(path, error);
    if (error) Fail(Concat(failure, ": the link points to no file it can replace: ", error.message()));
  }
  Temporary temporary(target, failure);
  write(temporary.name());
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    // Only the superuser may give a file away; the group is kept where we
    // belong to it. The mode comes after, as a change of owner clears the
    // set-id bits.
    if (::chown(temporary.name().c_str(), existing.st_uid, existing.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::chown(temporary.name().c_str(), static_cast<uid_t>(-1), existing.st_gid);
    }
    if (::chmod(temporary.name().c_str(), existing.st_mode & 07777) != 0)
      Fail(Concat(failure, ": ", SystemReason(errno)));
  }
  if (const int moved = temporary.MoveTo(target, true))
    Fail(Concat("cannot replace ", shown, ": ", SystemReason(moved)));
  SyncFolder(target, shown);
}

void CreateNewFile(const fs::path& path, const std::string& shown,
                   const std::function<void(const std::string& temporary)>& write) {
  const std::string failure = "cannot create " + shown;
  Temporary temporary(path, failure);
  write(temporary.name());
  if (const int moved = temporary.MoveTo(path, false))
    Fail(Concat(failure, ": ", moved == EEXIST ? "a file of that name was made meanwhile" : SystemReason(moved)));
  SyncFolder(path, shown);
}

void RemoveTemporaryInProgress() noexcept {
  if (temporaryPending) ::unlink(pendingName);
}

PlacingCalls SystemPlacingCalls() { return {SystemMove, SystemSyncFolder}; }

PlacingCalls SetPlacingCalls(const PlacingCalls& calls) { return std::exchange(placingCalls, calls); }

}  // namespace pradima
