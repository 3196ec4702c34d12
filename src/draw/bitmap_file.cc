#include "draw/bitmap_file.h"

#include <string_view>
#include <vector>

#include "text/files.h"

namespace tambri {
namespace {

void put16(std::vector<char>& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::vector<char>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

bool write_indexed_bmp(const std::string& path, const IndexedImage& image,
                       const std::array<std::uint32_t, 256>& palette) {
  if (image.width <= 0 || image.height <= 0) return false;
  const auto width = static_cast<std::uint32_t>(image.width);
  const auto height = static_cast<std::uint32_t>(image.height);
  const std::uint32_t row_bytes = (width + 3) / 4 * 4;
  const std::uint32_t headers = 14 + 40 + 256 * 4;
  const std::uint32_t image_bytes = row_bytes * height;

  std::vector<char> out;
  out.reserve(headers + image_bytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, headers + image_bytes);  // file size
  put32(out, 0);                      // two reserved words
  put32(out, headers);                // offset of the pixels
  put32(out, 40);                     // information header size
  put32(out, width);
  put32(out, height);  // positive: rows bottom-up
  put16(out, 1);       // planes
  put16(out, 8);       // bits per pixel
  put32(out, 0);       // no compression
  put32(out, image_bytes);
  put32(out, 2835);  // 72 dpi in pixels per metre, both directions
  put32(out, 2835);
  put32(out, 256);  // palette entries used
  put32(out, 0);    // all of them important
  for (std::uint32_t colour : palette) {
    out.push_back(static_cast<char>(((colour >> 16) & 0x3F) * 4));
    out.push_back(static_cast<char>(((colour >> 8) & 0x3F) * 4));
    out.push_back(static_cast<char>((colour & 0x3F) * 4));
    out.push_back(0);
  }
  for (int y = image.height - 1; y >= 0; --y) {
    const std::uint8_t* row = image.pixels + static_cast<long>(y) * image.stride;
    out.insert(out.end(), row, row + width);
    out.insert(out.end(), row_bytes - width, 0);
  }

  // Written beside the old file and renamed over it when complete, so a
  // failed write never leaves a truncated bitmap under the name.
  return replace_file(path, std::string_view(out.data(), out.size())) == ReplaceResult::kDone;
}

}  // namespace tambri
