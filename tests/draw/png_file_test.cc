#include "draw/png_file.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "draw/surface.h"
#include "support/session.h"

namespace tambri {
namespace {

// Decodes a PNG into 8-bit RGB rows; empty when libpng refuses it.
std::vector<std::uint8_t> decode_png(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return rgb;
}

// The RGB of pixel (x, y) of an 8-bit BMP: rows bottom-up, palette B, G, R, 0.
std::array<std::uint8_t, 3> bmp_rgb(const std::string& b, int width, int height, int x, int y) {
  const size_t row_bytes = (static_cast<size_t>(width) + 3) / 4 * 4;
  const auto index = static_cast<std::uint8_t>(b[14 + 40 + 1024 + (height - 1 - y) * row_bytes + x]);
  const size_t entry = 54 + 4 * index;
  return {static_cast<std::uint8_t>(b[entry + 2]), static_cast<std::uint8_t>(b[entry + 1]),
          static_cast<std::uint8_t>(b[entry])};
}

TEST(PngFile, HoldsTheSamePixelsAsTheBitmap) {
  test::TempDir dir;
  GraphicsSurface s;
  for (int k = 0; k < 144; ++k) s.gfx_set_palette_rgb(k, (k % 64) | ((k * 7) % 64) << 8 | ((k * 13) % 64) << 16);
  for (int k = 0; k < 144; ++k) {
    s.gfx_set_color(k);
    s.gfx_rectangle_px(kGfxFilled, 5 * k, (3 * k) % 600, 5 * k + 40, (3 * k) % 600 + 25);
  }
  s.gfx_text(" Äquicolor <Return>");
  const std::string bmp = (dir / "bild.bmp").string(), png = (dir / "bild.png").string();
  ASSERT_TRUE(s.gfx_save_bitmap(bmp, 0, 0, 800, 630));
  ASSERT_TRUE(s.save_png(png, 0, 0, 800, 630));
  int width = 0, height = 0;
  const std::vector<std::uint8_t> rgb = decode_png(png, width, height);
  ASSERT_EQ(width, 800);
  ASSERT_EQ(height, 630);
  const std::string b = test::read_file(bmp);
  int differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto expected = bmp_rgb(b, width, height, x, y);
      const std::uint8_t* got = &rgb[3 * (static_cast<size_t>(y) * width + x)];
      differing += got[0] != expected[0] || got[1] != expected[1] || got[2] != expected[2];
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace tambri
