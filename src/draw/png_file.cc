#include "draw/png_file.h"

#include <png.h>

#include <string_view>
#include <vector>

#include "text/files.h"

namespace tambri {
namespace {

void append_to(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

// libpng reports errors by longjmp; nothing of ours lives across it but the
// plain buffers below.
bool encode(const IndexedImage& image, const std::array<std::uint32_t, 256>& palette, std::vector<char>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_color> colours(256);
  for (size_t k = 0; k < 256; ++k) {
    const std::uint32_t c = palette[k];
    colours[k] = {static_cast<png_byte>((c & 0x3F) * 4), static_cast<png_byte>(((c >> 8) & 0x3F) * 4),
                  static_cast<png_byte>(((c >> 16) & 0x3F) * 4)};
  }
  std::vector<png_bytep> rows(static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.pixels + static_cast<long>(y) * image.stride);
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, append_to, no_flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, colours.data(), 256);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool write_indexed_png(const std::string& path, const IndexedImage& image,
                       const std::array<std::uint32_t, 256>& palette) {
  if (image.width <= 0 || image.height <= 0) return false;
  std::vector<char> out;
  if (!encode(image, palette, out)) return false;
  return replace_file(path, std::string_view(out.data(), out.size())) == ReplaceResult::kDone;
}

}  // namespace tambri
