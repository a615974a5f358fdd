#pragma once
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace pradima::xlsx {

// A part as a zip package stores it: its bytes as stored (deflated or not)
// with what the archive keeps about them.
struct StoredPart {
  std::string name;
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint32_t crc = 0;
  uint64_t size = 0;  // of the plain bytes
  std::time_t modified = 0;
  std::string bytes;  // as stored
};

// Writes a new zip package part by part, then its central directory. Parts
// are deflated here in one call each (libdeflate, far faster than zlib at
// the same size), or copied as another package stored them. Raises Error
// naming `shownAs` when the file cannot be written or grows beyond what a
// package without 64-bit extensions holds.
class ZipWriter {
 public:
  // `exclusive`: refuse a file that exists. A writer gone before Finish
  // removes the file.
  ZipWriter(const std::string& path, const std::string& shownAs, bool exclusive);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  void AddDeflated(const std::string& name, std::string_view plain);
  void AddStored(const StoredPart& part);
  // The central directory, then the file flushed to the disk and closed.
  void Finish();

 private:
  struct Entry {
    std::string name;
    uint16_t method;
    uint16_t time, date;
    uint32_t crc;
    uint32_t storedSize, size;
    uint32_t offset;
  };
  void AddEntry(const std::string& name, uint16_t method, std::time_t modified, uint32_t crc, uint64_t size,
                std::string_view stored);
  void Write(std::string_view bytes);

  std::string path_;
  std::string shownAs_;
  std::FILE* file_ = nullptr;
  uint64_t offset_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace pradima::xlsx
