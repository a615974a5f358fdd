#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace pradima::cli {

// Why `chart` cannot name the chart of a run on the workbook `book` (it ends
// in .svg, and is not the workbook itself); none when it can.
std::optional<std::string> ChartPathProblem(const std::string& chart, const std::string& book);

// Writes `svg` to `path` through a temporary file beside it that is renamed
// over it, so that no reader ever sees half a picture and a failed write
// leaves the old file whole. A symbolic link stays a link and the file it
// points to is replaced; a file replaced keeps its permissions, a new one
// takes those the user's umask allows. Raises Error naming the path.
void WriteChartFile(const std::string& path, std::string_view svg);

}  // namespace pradima::cli
