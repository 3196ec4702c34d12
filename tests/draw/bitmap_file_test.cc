#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>

#include "draw/surface.h"
#include "support/file_size_limit.h"
#include "support/session.h"

namespace tambri {
namespace {

// The little-endian number of `size` bytes at `at`.
std::uint32_t le(const std::string& b, size_t at, size_t size = 4) {
  std::uint32_t v = 0;
  for (size_t k = size; k-- > 0;) v = v << 8 | static_cast<std::uint8_t>(b[at + k]);
  return v;
}

constexpr size_t kPixelOffset = 14 + 40 + 1024;

TEST(BitmapFile, HeadersPaletteBottomUpRowsAndPaddedRegions) {
  test::TempDir dir;
  GraphicsSurface s;
  s.gfx_set_palette_rgb(20, 0x010203);  // blue 1, green 2, red 3
  s.gfx_set_color(7);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 0, 0);  // top-left pixel
  s.gfx_set_color(20);
  s.gfx_rectangle_px(kGfxFilled, 799, 629, 799, 629);  // bottom-right pixel
  const std::string path = (dir / "bild_c.bmp").string();
  test::write_file(path, std::string(700000, 'x'));             // replaced
  ASSERT_TRUE(s.gfx_save_bitmap(path + "  ", 0, 0, 800, 630));  // trailing blanks of the field
  std::string b = test::read_file(path);
  ASSERT_EQ(b.size(), kPixelOffset + 800 * 630);
  EXPECT_EQ(b.substr(0, 2), "BM");
  // Offset, size: file size, reserved, pixel offset, header size, width,
  // height (positive: bottom-up), planes, bits, no compression, image size,
  // colours used.
  const size_t at[] = {2, 6, 10, 14, 18, 22, 26, 28, 30, 34, 46}, size[] = {4, 4, 4, 4, 4, 4, 2, 2, 4, 4, 4};
  const std::uint32_t value[] = {
      static_cast<std::uint32_t>(b.size()), 0, kPixelOffset, 40, 800, 630, 1, 8, 0, 800 * 630, 256};
  for (int n = 0; n < 11; ++n) EXPECT_EQ(le(b, at[n], size[n]), value[n]) << "at " << at[n];
  // Palette entries blue, green, red, 0, each 0-63 component times 4.
  EXPECT_EQ(le(b, 54 + 4 * 0), 0u);
  EXPECT_EQ(le(b, 54 + 4 * 1), 0x0000A8u);  // start-up blue (0, 0, 42)
  EXPECT_EQ(le(b, 54 + 4 * 15), 0xFCFCFCu);
  EXPECT_EQ(le(b, 54 + 4 * 20), 0x0C0804u);
  EXPECT_EQ(static_cast<int>(b[kPixelOffset + 799]), 20);  // the first stored row is the bottom one
  EXPECT_EQ(static_cast<int>(b[kPixelOffset + 629 * 800]), 7);

  s.gfx_set_color(9);
  s.gfx_rectangle_px(kGfxFilled, 3, 2, 3, 2);
  ASSERT_TRUE(s.gfx_save_bitmap(path, 3, 2, 1, 1));  // corners sorted: 3 x 2 pixels, rows of 4 bytes
  b = test::read_file(path);
  ASSERT_EQ(b.size(), kPixelOffset + 2 * 4);
  EXPECT_EQ(le(b, 18), 3u);
  EXPECT_EQ(le(b, 22), 2u);
  EXPECT_EQ(b.substr(kPixelOffset), std::string("\0\0\x09\0\0\0\0\0", 8));
}

TEST(BitmapFile, FailuresAreReportedAndAFailedWriteLeavesTheOldFileAndNoDebris) {
  test::TempDir dir;
  GraphicsSurface s;
  EXPECT_FALSE(s.gfx_save_bitmap((dir / "fehlt" / "a.bmp").string(), 0, 0, 800, 630));
  EXPECT_FALSE(s.gfx_save_bitmap("            ", 0, 0, 800, 630));
  test::write_file(dir / "alt.bmp", "alt");
  const int status = test::with_file_size_limit(
      4096, [&] { return s.gfx_save_bitmap((dir / "alt.bmp").string(), 0, 0, 800, 630) ? 1 : 0; });
  EXPECT_EQ(status, 0);  // the save reported its failure
  EXPECT_EQ(test::read_file(dir / "alt.bmp"), "alt");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

}  // namespace
}  // namespace tambri
