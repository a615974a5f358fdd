#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>
#include <utility>

#include "base/concat.h"
#include "base/file_error.h"

namespace pradima {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void CannotWrite(const std::string& shown, const std::string& reason) {
  Fail(Concat("cannot write ", shown, ": ", reason));
}

// A new file of our own beside `target`; its name. The umask applies to
// the mode asked here, as for any new file.
std::string CreateTemporary(const fs::path& target, const std::string& shown) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string prefix = TemporaryPrefix(target) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = (folder / (prefix + std::to_string(attempt))).string();
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      ::close(descriptor);
      return temporary;
    }
    if (errno != EEXIST) CannotWrite(shown, "cannot create a file beside it: " + SystemReason(errno));
  }
  CannotWrite(shown, "cannot create a file beside it: too many left there by other runs");
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

std::string TemporaryPrefix(const fs::path& target) { return Concat(".", target.filename().string(), ".pradima-"); }

void ReplaceFile(const fs::path& path, const std::string& shown,
                 const std::function<void(const std::string& temporary)>& write) {
  fs::path target = path;
  std::error_code error;
  if (fs::is_symlink(target, error)) {
    target = fs::canonical(path, error);
    if (error) CannotWrite(shown, "the link points to no file it can replace: " + error.message());
  }
  const std::string temporary = CreateTemporary(target, shown);
  try {
    write(temporary);
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
      // Only the superuser may give a file away; the group is kept where we
      // belong to it. The mode comes after, as a change of owner clears the
      // set-id bits.
      if (::chown(temporary.c_str(), existing.st_uid, existing.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::chown(temporary.c_str(), static_cast<uid_t>(-1), existing.st_gid);
      }
      if (::chmod(temporary.c_str(), existing.st_mode & 07777) != 0) CannotWrite(shown, SystemReason(errno));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0)
      Fail(Concat("cannot replace ", shown, ": ", SystemReason(errno)));
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
}

}  // namespace pradima
