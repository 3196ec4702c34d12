// PNG copies in the browser, where there is no zlib: the same indexed image
// and palette as the native file, with the pixel rows in stored (uncompressed)
// deflate blocks. Any PNG reader shows the same pixels; the file is larger.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "draw/png_file.h"
#include "text/files.h"

namespace tambri {
namespace {

std::uint32_t crc32(std::string_view bytes, std::uint32_t crc = 0xFFFFFFFFu) {
  for (const char byte : bytes) {
    crc ^= static_cast<std::uint8_t>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void put_u32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void put_chunk(std::string& out, std::string_view type, std::string_view data) {
  put_u32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typed_from = out.size();
  out.append(type).append(data);
  const std::string_view typed(out.data() + typed_from, out.size() - typed_from);
  put_u32(out, ~crc32(typed));
}

// A zlib stream of `raw` in stored blocks of at most 65535 bytes.
std::string stored_zlib(std::string_view raw) {
  std::string out("\x78\x01", 2);
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(raw.size() - at, 0xFFFF);
    const bool last = at + length == raw.size();
    out.push_back(last ? '\x01' : '\x00');
    for (const std::size_t half : {length, length ^ 0xFFFFu}) {
      out.push_back(static_cast<char>(half & 0xFF));
      out.push_back(static_cast<char>((half >> 8) & 0xFF));
    }
    out.append(raw.substr(at, length));
    at += length;
  } while (at < raw.size());
  std::uint32_t a = 1, b = 0;
  for (const char byte : raw) {
    a = (a + static_cast<std::uint8_t>(byte)) % 65521;
    b = (b + a) % 65521;
  }
  put_u32(out, (b << 16) | a);
  return out;
}

}  // namespace

bool write_indexed_png(const std::string& path, const IndexedImage& image,
                       const std::array<std::uint32_t, 256>& palette) {
  if (image.width <= 0 || image.height <= 0) return false;
  std::string header;
  put_u32(header, static_cast<std::uint32_t>(image.width));
  put_u32(header, static_cast<std::uint32_t>(image.height));
  header.append("\x08\x03\x00\x00\x00", 5);  // 8 bits, palette, deflate, no filter method, no interlace
  std::string colours;
  for (const std::uint32_t c : palette) {
    for (const int shift : {0, 8, 16}) colours.push_back(static_cast<char>(((c >> shift) & 0x3F) * 4));
  }
  std::string rows;
  for (int y = 0; y < image.height; ++y) {
    rows.push_back('\0');  // filter: none
    rows.append(reinterpret_cast<const char*>(image.pixels) + static_cast<long>(y) * image.stride,
                static_cast<std::size_t>(image.width));
  }
  std::string out("\x89PNG\r\n\x1A\n", 8);
  put_chunk(out, "IHDR", header);
  put_chunk(out, "PLTE", colours);
  put_chunk(out, "IDAT", stored_zlib(rows));
  put_chunk(out, "IEND", {});
  return replace_file(path, out) == ReplaceResult::kDone;
}

}  // namespace tambri
