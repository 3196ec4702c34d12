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

TEST(PngFile, HoldsTheSurfacesPixelsThroughItsPalette) {
  test::TempDir dir;
  GraphicsSurface s;
  for (int k = 0; k < 144; ++k) {
    s.gfx_set_palette_rgb(k, (k % 64) | ((k * 7) % 64) << 8 | ((k * 13) % 64) << 16);
    s.gfx_set_color(k);
    s.gfx_rectangle_px(kGfxFilled, 5 * k, (3 * k) % 600, 5 * k + 40, (3 * k) % 600 + 25);
  }
  s.gfx_text(" Äquicolor <Return>");
  const std::string path = (dir / "bild.png").string();
  ASSERT_TRUE(s.save_png(path, 0, 0, 800, 630));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  ASSERT_EQ(image.width, 800u);
  ASSERT_EQ(image.height, 630u);
  int differing = 0;
  for (int y = 0; y < 630; ++y) {
    for (int x = 0; x < 800; ++x) {
      const std::uint32_t c = s.palette()[s.pixel(x, y)];  // 0-63 components, red lowest
      const std::uint8_t* got = &rgb[3 * (static_cast<size_t>(y) * 800 + x)];
      differing += got[0] != (c & 0x3F) * 4 || got[1] != (c >> 8 & 0x3F) * 4 || got[2] != (c >> 16 & 0x3F) * 4;
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace tambri
