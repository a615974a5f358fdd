#include "xlsx/zip_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

#include "xlsx/deflate.h"
#include "base/file_error.h"

namespace pradima::xlsx {
namespace {

// The fastest deflate: a results sheet of twenty years saves in a fraction
// of what zlib takes, and about as small as zlib at its fastest.
constexpr int kCompressionLevel = 1;
constexpr uint16_t kUtf8Names = 0x0800;
constexpr uint16_t kVersionNeeded = 20;
constexpr uint64_t kLargest = std::numeric_limits<uint32_t>::max() - 1;

void Put16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// The time as the archive's directory keeps it: local time, two-second steps, from 1980.
void DosTime(std::time_t moment, uint16_t& time, uint16_t& date) {
  std::tm local{};
  if (moment <= 0 || !localtime_r(&moment, &local) || local.tm_year < 80) {
    time = 0;
    date = (1 << 5) | 1;  // 1 January 1980
    return;
  }
  time = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  date = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
}

}  // namespace

ZipWriter::ZipWriter(const std::string& path, const std::string& shownAs, bool exclusive)
    : path_(path), shownAs_(shownAs.empty() ? path : shownAs) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
  const int descriptor = ::open(path.c_str(), flags, 0666);
  if (descriptor < 0)
    Fail("cannot create " + shownAs_ + (errno == EEXIST ? ": the file exists" : ": " + SystemReason(errno)));
  file_ = ::fdopen(descriptor, "wb");
  if (!file_) {
    const int error = errno;
    ::close(descriptor);
    Fail("cannot create " + shownAs_ + ": " + SystemReason(error));
  }
}

// A package given up on the way leaves no file behind.
ZipWriter::~ZipWriter() {
  if (!file_) return;
  std::fclose(file_);
  ::unlink(path_.c_str());
}

void ZipWriter::Write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    Fail("cannot write " + shownAs_ + ": " + SystemReason(errno));
  offset_ += bytes.size();
}

void ZipWriter::AddDeflated(const std::string& name, std::string_view plain) {
  AddEntry(name, 8, std::time(nullptr), Crc32(plain), plain.size(), Deflate(plain, kCompressionLevel));
}

void ZipWriter::AddStored(const StoredPart& part) {
  AddEntry(part.name, part.method, part.modified, part.crc, part.size, part.bytes);
}

void ZipWriter::AddEntry(const std::string& name, uint16_t method, std::time_t modified, uint32_t crc, uint64_t size,
                         std::string_view stored) {
  if (size > kLargest || stored.size() > kLargest || offset_ > kLargest || entries_.size() >= 0xFFFF ||
      name.size() > 0xFFFF)
    Fail("cannot write " + shownAs_ + ": the part " + name + " makes it larger than a workbook file can be");
  Entry entry{name,
              method,
              0,
              0,
              crc,
              static_cast<uint32_t>(stored.size()),
              static_cast<uint32_t>(size),
              static_cast<uint32_t>(offset_)};
  DosTime(modified, entry.time, entry.date);
  std::string header;
  Put32(header, 0x04034b50);
  Put16(header, kVersionNeeded);
  Put16(header, kUtf8Names);
  Put16(header, entry.method);
  Put16(header, entry.time);
  Put16(header, entry.date);
  Put32(header, entry.crc);
  Put32(header, entry.storedSize);
  Put32(header, entry.size);
  Put16(header, static_cast<uint16_t>(name.size()));
  Put16(header, 0);
  header += name;
  Write(header);
  Write(stored);
  entries_.push_back(std::move(entry));
}

void ZipWriter::Finish() {
  if (offset_ > kLargest) Fail("cannot write " + shownAs_ + ": it is larger than a workbook file can be");
  const auto directoryStart = static_cast<uint32_t>(offset_);
  std::string directory;
  for (const Entry& entry : entries_) {
    Put32(directory, 0x02014b50);
    Put16(directory, (3 << 8) | kVersionNeeded);  // made on a Unix system
    Put16(directory, kVersionNeeded);
    Put16(directory, kUtf8Names);
    Put16(directory, entry.method);
    Put16(directory, entry.time);
    Put16(directory, entry.date);
    Put32(directory, entry.crc);
    Put32(directory, entry.storedSize);
    Put32(directory, entry.size);
    Put16(directory, static_cast<uint16_t>(entry.name.size()));
    Put16(directory, 0);  // extra field
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0100644u << 16);
    Put32(directory, entry.offset);
    directory += entry.name;
  }
  Write(directory);
  std::string end;
  Put32(end, 0x06054b50);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, static_cast<uint16_t>(entries_.size()));
  Put16(end, static_cast<uint16_t>(entries_.size()));
  Put32(end, static_cast<uint32_t>(directory.size()));
  Put32(end, directoryStart);
  Put16(end, 0);
  Write(end);
  // On the disk before the file takes the workbook's name: a crash after
  // the rename finds the new file whole.
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
    Fail("cannot write " + shownAs_ + ": " + SystemReason(errno));
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) {
    const int error = errno;
    ::unlink(path_.c_str());
    Fail("cannot write " + shownAs_ + ": " + SystemReason(error));
  }
}

}  // namespace pradima::xlsx
