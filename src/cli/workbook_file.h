#pragma once
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>

namespace pradima::cli {

// What a run does with a workbook file.
enum class FileAccess {
  Write,  // reads it and may replace it
  Read,   // only reads it
};

// The file of a workbook that a run may change, held from opening to the
// end of the run. A symbolic link is followed: its target is the file read
// and replaced, and the link stays. A file nobody may write is refused, and
// so is a file that another run holds (the lock is released when the run
// ends, however it ends). A run that only reads needs neither: a file is
// always replaced whole, so it reads the old file or the new one.
class WorkbookFile {
 public:
  // `path` as the user named it; raises Error saying what stands in the way.
  static WorkbookFile Claim(const std::string& path, FileAccess access = FileAccess::Write);
  WorkbookFile(WorkbookFile&& other) noexcept;
  WorkbookFile& operator=(WorkbookFile&& other) noexcept;
  WorkbookFile(const WorkbookFile&) = delete;
  WorkbookFile& operator=(const WorkbookFile&) = delete;
  ~WorkbookFile();

  // The file itself, links followed.
  const std::filesystem::path& target() const { return target_; }

  // Has `write` write the new content into a temporary file of its own
  // beside the target, gives that file the target's permissions and owner
  // (the owner where the system allows it) and renames it over the target.
  // On failure the target is as it was and no temporary is left. A file
  // claimed only to read is never replaced.
  void Replace(const std::function<void(const std::string& temporary)>& write);

 private:
  WorkbookFile() = default;
  std::string path_;
  std::filesystem::path target_;
  int lock_ = -1;
  FileAccess access_ = FileAccess::Write;
  mode_t mode_ = 0;
  uid_t owner_ = 0;
  gid_t group_ = 0;
};

// The prefix of the temporary files of a workbook's saves: a file that
// starts with it is left from a run that was killed, once the lock is ours.
std::string TemporaryPrefix(const std::filesystem::path& target);

}  // namespace pradima::cli
