#include "cli/chart_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/concat.h"
#include "cli/file_error.h"
#include "cli/xlsx_workbook.h"

namespace pradima::cli {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void CannotWrite(const std::string& path, const std::string& reason) {
  Fail(Concat("cannot write the chart ", path, ": ", reason));
}

// A new file of our own beside `target`, named after it; its descriptor, and its name in `temporary`.
int CreateTemporary(const fs::path& target, std::string& temporary, const std::string& path) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = (folder / Concat(".", target.filename().string(), ".pradima-", std::to_string(::getpid()), "-",
                                 std::to_string(attempt)))
                    .string();
    // The umask applies to the mode asked here, as for any new file.
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) return descriptor;
    if (errno != EEXIST) CannotWrite(path, "cannot create a file beside it: " + SystemReason(errno));
  }
  CannotWrite(path, "cannot create a file beside it: too many left there by other runs");
}

void WriteAll(int descriptor, std::string_view text, const std::string& path) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) CannotWrite(path, SystemReason(errno));
    text.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

std::optional<std::string> ChartPathProblem(const std::string& chart, const std::string& book) {
  if (!HasExtension(chart, ".svg")) return Concat("--chart ", chart, " is no chart file name: it ends in .svg");
  std::error_code error;
  if (fs::equivalent(chart, book, error)) return Concat("--chart ", chart, " is the workbook itself");
  return std::nullopt;
}

void WriteChartFile(const std::string& path, std::string_view svg) {
  fs::path target = path;
  std::error_code error;
  if (fs::is_symlink(target, error)) {
    target = fs::canonical(path, error);
    if (error) CannotWrite(path, "the link points to no file it can replace: " + error.message());
  }
  std::string temporary;
  int descriptor = CreateTemporary(target, temporary, path);
  try {
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        ::fchmod(descriptor, existing.st_mode & 07777) != 0)
      CannotWrite(path, SystemReason(errno));
    WriteAll(descriptor, svg, path);
    // A descriptor is closed by the call even when it fails; only the file is left to remove.
    if (::close(std::exchange(descriptor, -1)) != 0) CannotWrite(path, SystemReason(errno));
    if (::rename(temporary.c_str(), target.c_str()) != 0) CannotWrite(path, SystemReason(errno));
  } catch (...) {
    if (descriptor >= 0) ::close(descriptor);
    ::unlink(temporary.c_str());
    throw;
  }
}

}  // namespace pradima::cli
