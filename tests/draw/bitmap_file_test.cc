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

std::uint32_t u32(const std::string& b, size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint32_t u16(const std::string& b, size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}
int byte(const std::string& b, size_t at) { return static_cast<std::uint8_t>(b[at]); }

constexpr size_t kPixelOffset = 14 + 40 + 1024;

TEST(BitmapFile, WholeWindowHeadersPaletteAndBottomUpRows) {
  test::TempDir dir;
  GraphicsSurface s;
  s.gfx_set_palette_rgb(20, 0x010203);  // blue 1, green 2, red 3
  s.gfx_set_color(7);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 0, 0);  // top-left pixel
  s.gfx_set_color(20);
  s.gfx_rectangle_px(kGfxFilled, 799, 629, 799, 629);  // bottom-right pixel
  const std::string path = (dir / "bild_c.bmp").string();
  ASSERT_TRUE(s.gfx_save_bitmap(path + "  ", 0, 0, 800, 630));  // trailing blanks of the field

  const std::string b = test::read_file(path);
  ASSERT_EQ(b.size(), kPixelOffset + 800 * 630);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(u32(b, 2), b.size());
  EXPECT_EQ(u32(b, 6), 0u);
  EXPECT_EQ(u32(b, 10), kPixelOffset);
  EXPECT_EQ(u32(b, 14), 40u);
  EXPECT_EQ(u32(b, 18), 800u);
  EXPECT_EQ(u32(b, 22), 630u);  // positive height: bottom-up
  EXPECT_EQ(u16(b, 26), 1u);
  EXPECT_EQ(u16(b, 28), 8u);
  EXPECT_EQ(u32(b, 30), 0u);  // uncompressed
  EXPECT_EQ(u32(b, 34), 800u * 630u);
  EXPECT_EQ(u32(b, 46), 256u);
  // Palette entries: blue, green, red, 0, each 0-63 component times 4.
  EXPECT_EQ(u32(b, 54 + 4 * 0), 0u);
  EXPECT_EQ(u32(b, 54 + 4 * 15), 0x00FCFCFCu);
  EXPECT_EQ(byte(b, 54 + 4 * 1 + 0), 168);  // start-up blue (0, 0, 42)
  EXPECT_EQ(byte(b, 54 + 4 * 1 + 2), 0);
  EXPECT_EQ(byte(b, 54 + 4 * 20 + 0), 4);
  EXPECT_EQ(byte(b, 54 + 4 * 20 + 1), 8);
  EXPECT_EQ(byte(b, 54 + 4 * 20 + 2), 12);
  EXPECT_EQ(byte(b, 54 + 4 * 20 + 3), 0);
  // The first stored row is the bottom one.
  EXPECT_EQ(byte(b, kPixelOffset + 799), 20);
  EXPECT_EQ(byte(b, kPixelOffset + 629 * 800), 7);
}

TEST(BitmapFile, RegionRowsArePaddedToFourBytesAndAnExistingFileIsReplaced) {
  test::TempDir dir;
  const std::string path = (dir / "klein.bmp").string();
  test::write_file(path, std::string(700000, 'x'));
  GraphicsSurface s;
  s.gfx_set_color(9);
  s.gfx_rectangle_px(kGfxFilled, 3, 2, 3, 2);
  ASSERT_TRUE(s.gfx_save_bitmap(path, 3, 2, 1, 1));  // corners sorted: 3 x 2 pixels
  const std::string b = test::read_file(path);
  ASSERT_EQ(b.size(), kPixelOffset + 2 * 4);
  EXPECT_EQ(u32(b, 18), 3u);
  EXPECT_EQ(u32(b, 22), 2u);
  EXPECT_EQ(b.substr(kPixelOffset), std::string("\0\0\x09\0\0\0\0\0", 8));
}

TEST(BitmapFile, FileThatCannotBeCreatedReportsFailure) {
  test::TempDir dir;
  GraphicsSurface s;
  EXPECT_FALSE(s.gfx_save_bitmap((dir / "fehlt" / "a.bmp").string(), 0, 0, 800, 630));
  EXPECT_FALSE(s.gfx_save_bitmap("            ", 0, 0, 800, 630));
}

TEST(BitmapFile, AFailedWriteLeavesTheOldFileAndNoDebris) {
  test::TempDir dir;
  test::write_file(dir / "alt.bmp", "alt");
  const std::string path = (dir / "alt.bmp").string();
  const int status = test::with_file_size_limit(4096, [&] {
    GraphicsSurface s;
    return s.gfx_save_bitmap(path, 0, 0, 800, 630) ? 1 : 0;
  });
  EXPECT_EQ(status, 0);  // the save reported its failure
  EXPECT_EQ(test::read_file(dir / "alt.bmp"), "alt");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

}  // namespace
}  // namespace tambri
