#include "cli/chart_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "base/file_error.h"
#include "base/files.h"
#include "cli/translate.h"

namespace pradima::cli {

std::optional<std::string> ChartPathProblem(const std::string& chart, const std::string& book) {
  if (!HasExtension(chart, ".svg")) return TrFormat("--chart {1} is not an SVG file name: it must end in .svg", {chart});
  std::error_code error;
  if (std::filesystem::equivalent(chart, book, error)) return TrFormat("--chart {1} is the workbook itself", {chart});
  // Checked before the run, so that stats does not save its counts and then fail on the chart.
  const std::filesystem::path folder = std::filesystem::path(chart).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, error))
    return TrFormat("--chart {1}: its folder {2} does not exist", {chart, folder.string()});
  return std::nullopt;
}

void WriteChartFile(const std::string& path, std::string_view svg) {
  const std::string shown = TrFormat("the chart {1}", {path});
  ReplaceFile(path, shown, [&](const std::string& temporary) {
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (descriptor < 0) Fail(TrFormat("cannot write {1}: {2}", {shown, SystemReason(errno)}));
    const int error = WriteAll(descriptor, svg);
    // A descriptor is closed by the call even when it fails.
    if (::close(descriptor) != 0 && error == 0) Fail(TrFormat("cannot write {1}: {2}", {shown, SystemReason(errno)}));
    if (error != 0) Fail(TrFormat("cannot write {1}: {2}", {shown, SystemReason(error)}));
  });
}

}  // namespace pradima::cli
