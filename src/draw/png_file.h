#pragma once
// The same indexed image as a PNG file (palette, 8 bits per pixel), for
// viewers and documents that do not take Windows bitmaps.
#include <array>
#include <cstdint>
#include <string>

#include "draw/bitmap_file.h"

namespace tambri {

// Writes `image` with the 256 palette entries (each 0-63 component of the
// 0x00BBGGRR colour times 4, as in the bitmap), so both files show the same
// pixels. Created or replaced as a whole; false when it cannot be written.
bool write_indexed_png(const std::string& path, const IndexedImage& image,
                       const std::array<std::uint32_t, 256>& palette);

}  // namespace tambri
