#pragma once
// The files of tests/data whose names begin with a prefix, in name order: literal inputs kept as data.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
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

// A field of a data table with its escapes read: \t, \n, \r and \\ as in C, \xHH as that byte and \uHHHH as
// that character in UTF-8.
inline std::string Unescaped(const std::string& field) {
  std::string text;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      text += field[i];
      continue;
    }
    const char kind = field[++i];
    const size_t digits = kind == 'x' ? 2 : kind == 'u' ? 4 : 0;
    const auto code = digits ? std::stoul(field.substr(i + 1, digits), nullptr, 16) : 0;
    i += digits;
    if (kind == 'x' || (kind == 'u' && code < 0x80)) {
      text += static_cast<char>(code);
    } else if (kind == 'u') {
      if (code >= 0x800) text += static_cast<char>(0xE0 | code >> 12);
      text += static_cast<char>((code >= 0x800 ? 0x80 | (code >> 6 & 0x3F) : 0xC0 | code >> 6));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      text += kind == 't' ? '\t' : kind == 'n' ? '\n' : kind == 'r' ? '\r' : kind;
    }
  }
  return text;
}

// The rows of tests/data/tables/NAME: a case a line (an empty line, one empty field), its fields apart by
// tabs, escapes read; lines that begin with '#' say what the fields hold. A table that is missing or holds no
// row throws, naming the file, so a test never passes over no cases.
inline std::vector<std::vector<std::string>> DataTable(const std::string& name) {
  const std::string path = std::string(PRADIMA_TEST_DATA) + "/tables/" + name;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('#')) continue;
    std::vector<std::string>& fields = rows.emplace_back();
    std::istringstream parts(line + '\t');
    for (std::string field; std::getline(parts, field, '\t');) fields.push_back(Unescaped(field));
  }
  if (rows.empty()) throw std::runtime_error(path + ": no such table, or no row in it");
  return rows;
}

}  // namespace pradima::testing
