#include "xlsx/zip_package.h"

#include <zip.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "xlsx/deflate.h"
#include "base/file_error.h"
#include "xlsx/zip_writer.h"

namespace pradima::xlsx {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveCloser>;

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
  std::string content(static_cast<size_t>(stored), '\0');
  const zip_int64_t read = zip_fread(file.get(), content.data(), stored);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stored) Fail("cannot read " + part + " of " + path_);
  if (!deflated) return content;
  std::string plain = Inflate(content, static_cast<size_t>(stat.size));
  if (plain.size() != stat.size || Crc32(plain) != stat.crc)
    Fail("the part " + part + " of " + path_ + " is damaged: it does not inflate to what the archive says it holds");
  return plain;
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
