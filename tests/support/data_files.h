#pragma once
// The files of tests/data whose names begin with a prefix, in name order: literal inputs kept as data.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace pradima::testing {

inline std::vector<std::pair<std::string, std::string>> DataFiles(const std::string& folder,
                                                                  const std::string& prefix) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(PRADIMA_TEST_DATA) + "/" + folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files.emplace_back(name, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace pradima::testing
