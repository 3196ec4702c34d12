#pragma once
// Uncompressed 8-bit indexed Windows bitmap files.
#include <array>
#include <cstdint>
#include <string>

namespace tambri {

// A rectangle of an 8-bit index image: `pixels` points at its top-left pixel,
// rows are `stride` bytes apart.
struct IndexedImage {
  const std::uint8_t* pixels;
  int stride;
  int width;
  int height;
};

// Writes `image` as a BMP file: 'BM' file header, 40-byte information header,
// 256 palette entries (blue, green, red, 0) with each 0-63 component of the
// 0x00BBGGRR `palette` times 4, rows bottom-up and padded to 4 bytes. The file
// is created or replaced; false when it cannot be written completely, and
// then an old file of that name is left as it was.
bool write_indexed_bmp(const std::string& path, const IndexedImage& image,
                       const std::array<std::uint32_t, 256>& palette);

}  // namespace tambri
