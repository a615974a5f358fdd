#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pradima::xlsx {

// Raw deflate streams, as a zip package stores its parts, made and read in
// one call each.

// The bytes a stream inflates to, which must be `size` bytes; empty when the
// stream is damaged or holds another size.
std::string Inflate(std::string_view stream, size_t size);
// The stream of `plain` at compression level `level` (1 fastest to 12 smallest).
std::string Deflate(std::string_view plain, int level);
// The CRC-32 that a zip package keeps of each part.
uint32_t Crc32(std::string_view bytes);

}  // namespace pradima::xlsx
