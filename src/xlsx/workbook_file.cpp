#include "xlsx/workbook_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "base/file_error.h"
#include "base/files.h"

namespace pradima::xlsx {
namespace {

namespace fs = std::filesystem;

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Removes the temporaries that a killed run left beside the target.
void RemoveStaleTemporaries(const fs::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code error;
  for (fs::directory_iterator entry(target.parent_path(), error), end; !error && entry != end; entry.increment(error)) {
    if (entry->path().filename().string().starts_with(prefix) && entry->is_regular_file(error)) {
      std::error_code ignored;
      fs::remove(entry->path(), ignored);
    }
  }
}

}  // namespace

WorkbookFile WorkbookFile::Claim(const std::string& path, FileAccess access) {
  WorkbookFile file;
  file.path_ = path;
  file.access_ = access;
  std::error_code error;
  file.target_ = fs::canonical(path, error);
  if (error) Fail(path + ": " + (error == std::errc::no_such_file_or_directory ? "no such file" : error.message()));
  const std::string target = file.target_.string();

  struct stat status;
  if (::stat(target.c_str(), &status) != 0) Fail(path + ": " + SystemReason(errno));
  if (!S_ISREG(status.st_mode)) Fail(path + " is not a regular file");
  if (access == FileAccess::Read) return file;
  // The write bits count even for the superuser: a file made read-only stays so.
  if ((status.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
    Fail(path + " is read-only; pradima changes only a workbook you may write (chmod u+w " + path + ")");

  // The lock is on the file a run reads. A run that finished meanwhile has
  // put a new file there, which is the one to lock.
  for (int attempt = 0;; ++attempt) {
    file.lock_ = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.lock_ < 0) Fail(path + ": " + SystemReason(errno));
    if (::flock(file.lock_, LOCK_EX | LOCK_NB) != 0) {
      const int reason = errno;
      if (reason == EWOULDBLOCK) Fail(path + " is in use by another pradima run; try again when that run has finished");
      Fail("cannot lock " + path + ": " + SystemReason(reason));
    }
    struct stat locked, current;
    if (::fstat(file.lock_, &locked) == 0 && ::stat(target.c_str(), &current) == 0 && SameFile(locked, current)) break;
    ::close(std::exchange(file.lock_, -1));
    if (attempt == 10) Fail(path + " keeps being replaced by other programs; try again later");
  }
  RemoveStaleTemporaries(file.target_);
  return file;
}

WorkbookFile::WorkbookFile(WorkbookFile&& other) noexcept { *this = std::move(other); }

WorkbookFile& WorkbookFile::operator=(WorkbookFile&& other) noexcept {
  if (this != &other) {
    if (lock_ >= 0) ::close(lock_);
    path_ = std::move(other.path_);
    target_ = std::move(other.target_);
    lock_ = std::exchange(other.lock_, -1);
    access_ = other.access_;
  }
  return *this;
}

WorkbookFile::~WorkbookFile() {
  if (lock_ >= 0) ::close(lock_);
}

void WorkbookFile::Replace(const std::function<void(const std::string& temporary)>& write) {
  if (access_ == FileAccess::Read) Fail("cannot write " + path_ + ": it was opened to be read only");
  ReplaceFile(target_, path_, write);
}

}  // namespace pradima::xlsx
