#include "xlsx/deflate.h"

#include <libdeflate.h>
#include <sys/mman.h>

#include <cstdint>

#include <memory>
#include <new>

namespace pradima::xlsx {
namespace {

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// A string of `size` bytes, for a large one in huge pages where the system
// gives them on request: a results sheet's text is tens of megabytes, and
// touching it page by page is a good part of reading it.
std::string LargeBuffer(size_t size) {
  std::string buffer;
  buffer.reserve(size);
#ifdef MADV_HUGEPAGE  // Linux
  constexpr size_t kHugePage = size_t{2} << 20;
  if (size >= 4 * kHugePage) {
    const auto start = reinterpret_cast<uintptr_t>(buffer.data());
    const uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = (start + size) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // a hint only
  }
#endif
  buffer.resize(size);
  return buffer;
}

}  // namespace

std::string Inflate(std::string_view stream, size_t size) {
  const std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(libdeflate_alloc_decompressor());
  if (!decompressor) throw std::bad_alloc();
  std::string plain = LargeBuffer(size);
  size_t produced = 0;
  const libdeflate_result result = libdeflate_deflate_decompress(decompressor.get(), stream.data(), stream.size(),
                                                                 plain.data(), plain.size(), &produced);
  if (result != LIBDEFLATE_SUCCESS || produced != size) return {};
  return plain;
}

std::string Deflate(std::string_view plain, int level) {
  const std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(libdeflate_alloc_compressor(level));
  if (!compressor) throw std::bad_alloc();
  std::string stream(libdeflate_deflate_compress_bound(compressor.get(), plain.size()), '\0');
  const size_t size =
      libdeflate_deflate_compress(compressor.get(), plain.data(), plain.size(), stream.data(), stream.size());
  stream.resize(size);
  return stream;
}

uint32_t Crc32(std::string_view bytes) { return libdeflate_crc32(0, bytes.data(), bytes.size()); }

}  // namespace pradima::xlsx
