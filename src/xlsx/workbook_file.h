#pragma once
#include <filesystem>
#include <functional>
#include <string>

namespace pradima::xlsx {

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

  // Replaces the target through a temporary file beside it (see
  // ReplaceFile). A file claimed only to read is never replaced.
  void Replace(const std::function<void(const std::string& temporary)>& write);

 private:
  WorkbookFile() = default;
  std::string path_;
  std::filesystem::path target_;
  int lock_ = -1;
  FileAccess access_ = FileAccess::Write;
};

}  // namespace pradima::xlsx
