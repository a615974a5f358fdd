#include "xlsx/zip_package.h"

#include <zip.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

#include "xlsx/deflate.h"
#include "base/file_error.h"
#include "xlsx/zip_writer.h"

namespace pradima::xlsx {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveCloser>;

// A part name as a package compares it: letters A to Z without case.
std::string Folded(std::string name) {
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

// Readers differ on which of two entries of one name is the part: the
// archive library takes one, other readers the other, so the file means
// different things to different programs.
void RefuseRepeatedNames(zip_t* archive, const std::string& path) {
  std::set<std::string> seen;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
    if (!name) Fail(path + " is not a workbook file (its entry " + std::to_string(i + 1) + " has no readable name)");
    if (!seen.insert(Folded(name)).second)
      Fail(path + " holds the part " + name +
           " twice; programs differ on which copy counts, so pradima does not read it (keep one and save it again)");
  }
}

struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

struct ZipPackage::Archive {
  ArchiveHandle handle;
};

ZipPackage::ZipPackage(const std::string& path, const std::string& shownAs)
    : archive_(std::make_unique<Archive>()), path_(shownAs.empty() ? path : shownAs) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!archive) {
    zip_error_t details;
    zip_error_init_with_code(&details, error);
    const std::string reason = zip_error_strerror(&details);
    zip_error_fini(&details);
    Fail(path_ + " is not a workbook file (" + reason + ")");
  }
  archive_->handle.reset(archive);
  RefuseRepeatedNames(archive, path_);
  std::error_code unknown;
  fileSize_ = std::filesystem::file_size(path, unknown);
  if (unknown) fileSize_ = UINT64_MAX;
}

ZipPackage::~ZipPackage() = default;

bool ZipPackage::Has(const std::string& part) const {
  return zip_name_locate(archive_->handle.get(), part.c_str(), 0) >= 0;
}

std::string ZipPackage::Read(const std::string& part) const {
  zip_stat_t stat;
  if (zip_stat(archive_->handle.get(), part.c_str(), 0, &stat) != 0) Fail(path_ + " has no part " + part);
  if (!(stat.valid & ZIP_STAT_SIZE)) Fail("the part " + Where(part) + " is damaged: the archive gives no size for it");
  const bool deflated = (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_DEFLATE &&
                        (stat.valid & ZIP_STAT_CRC) && (stat.valid & ZIP_STAT_COMP_SIZE);
  // A deflated part is inflated here in one call, a few times faster than
  // through the archive library; anything else goes through the library.
  const zip_flags_t flags = deflated ? ZIP_FL_COMPRESSED : 0;
  std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen(archive_->handle.get(), part.c_str(), flags));
  if (!file) Fail("cannot read " + part + " of " + path_);
  const zip_uint64_t stored = deflated ? stat.comp_size : stat.size;
  // Sizes are checked before anything is set aside for them: a damaged or
  // hostile file may claim any size. Deflate makes at most 1,032 bytes of
  // each byte it stores.
  if (stored > fileSize_ || (deflated && stat.size > stored * 1032 + 1024))
    Fail("the part " + part + " of " + path_ + " is damaged: it claims more bytes than the file can hold");
  // Nothing is inflated beyond the size checked here: the buffer is made
  // that size, and inflating stops at its end.
  if (stat.size > kLargestPart)
    Fail("the part " + Where(part) + " is too large: it inflates to " + std::to_string(stat.size) +
         " bytes, more than the " + std::to_string(kLargestPart >> 20) + " MiB pradima reads of a part");
  std::string content(static_cast<size_t>(stored), '\0');
  const zip_int64_t read = zip_fread(file.get(), content.data(), stored);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stored) Fail("cannot read " + part + " of " + path_);
  if (!deflated) {
    // The library stops where it was asked to; a byte more must be the end (where it checks the CRC).
    char beyond = 0;
    if (zip_fread(file.get(), &beyond, 1) != 0)
      Fail("the part " + Where(part) + " is damaged: it does not inflate to what the archive says it holds");
    return content;
  }
  std::string plain = Inflate(content, static_cast<size_t>(stat.size));
  if (plain.size() != stat.size || Crc32(plain) != stat.crc)
    Fail("the part " + part + " of " + path_ + " is damaged: it does not inflate to what the archive says it holds");
  return plain;
}

std::string ZipPackage::ReadStart(const std::string& part, size_t count) const {
  std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen(archive_->handle.get(), part.c_str(), 0));
  if (!file) Fail("cannot read " + Where(part));
  std::string start(count, '\0');
  size_t filled = 0;
  while (filled < count) {
    const zip_int64_t read = zip_fread(file.get(), start.data() + filled, count - filled);
    if (read < 0) Fail("the part " + Where(part) + " is damaged: it cannot be inflated");
    if (read == 0) break;
    filled += static_cast<size_t>(read);
  }
  start.resize(filled);
  return start;
}

void ZipPackage::WriteTo(const std::string& path, const std::map<std::string, std::string>& replaced,
                         const std::set<std::string>& removed) const {
  // The file written is the package's own anew: errors name the package, not a temporary.
  ZipWriter writer(path, path_, false);
  zip_t* archive = archive_->handle.get();
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  std::set<std::string> written;
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const std::string name = zip_get_name(archive, index, 0);
    if (removed.count(name)) continue;
    // A replaced part keeps its place in the package.
    if (const auto replacement = replaced.find(name); replacement != replaced.end()) {
      writer.AddDeflated(name, replacement->second);
      written.insert(name);
      continue;
    }
    writer.AddStored(StoredPartAt(index, name));
  }
  for (const auto& [name, content] : replaced)
    if (!written.count(name)) writer.AddDeflated(name, content);
  writer.Finish();
}

// The part as stored, compressed bytes and all.
StoredPart ZipPackage::StoredPartAt(uint64_t index, const std::string& name) const {
  zip_t* archive = archive_->handle.get();
  zip_stat_t stat;
  if (zip_stat_index(archive, index, 0, &stat) != 0) Fail("cannot copy " + name + " of " + path_);
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
    Fail("the part " + name + " of " + path_ + " is encrypted; a workbook file holds no encrypted parts");
  if (stat.comp_size > fileSize_)
    Fail("the part " + Where(name) + " is damaged: it claims more bytes than the file can hold");
  StoredPart part{name, static_cast<uint16_t>(stat.comp_method), stat.crc, stat.size, stat.mtime, {}};
  std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive, index, ZIP_FL_COMPRESSED));
  if (!file) Fail("cannot copy " + name + " of " + path_);
  part.bytes.resize(static_cast<size_t>(stat.comp_size));
  const zip_int64_t read = zip_fread(file.get(), part.bytes.data(), stat.comp_size);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.comp_size) Fail("cannot copy " + name + " of " + path_);
  return part;
}

void WritePackage(const std::string& path, const std::map<std::string, std::string>& parts) {
  ZipWriter writer(path, path, true);
  for (const auto& [name, content] : parts) writer.AddDeflated(name, content);
  writer.Finish();
}

}  // namespace pradima::xlsx
