#pragma once
// Whether a picture shows a text at a place of the character grid: the text
// is drawn on a fresh surface at the same cells and the cells compared pixel
// by pixel with the pixels the picture showed.
#include <cstdint>
#include <string_view>
#include <vector>

#include "draw/surface.h"
#include "text/text_width.h"

namespace tambri::test {

struct TextCheck {
  int ink = 0;        // pixels the reference text sets (0: nothing to compare)
  int differing = 0;  // pixels of the cells that differ from the picture
};

inline TextCheck compare_text(const std::vector<std::uint8_t>& shown, int row, int column, std::string_view text,
                              int colour = 15) {
  const int length = utf8_length(text);
  GraphicsSurface reference;
  reference.gfx_set_text_window(row, column, row, column + length - 1);
  reference.gfx_set_text_color(colour);
  reference.gfx_text(text);
  TextCheck check;
  for (int y = (row - 1) * 16; y < row * 16; ++y) {
    for (int x = (column - 1) * 8; x < (column - 1 + length) * 8; ++x) {
      check.ink += reference.pixel(x, y) != 0;
      check.differing += reference.pixel(x, y) != shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)];
    }
  }
  return check;
}

}  // namespace tambri::test

// The text must show at (row, column) of the window, cell for cell.
#define EXPECT_SHOWS_TEXT(shown, row, column, text)                                 \
  do {                                                                             \
    const ::tambri::test::TextCheck check_ = ::tambri::test::compare_text(shown, row, column, text); \
    EXPECT_GT(check_.ink, 0) << (text);                                            \
    EXPECT_EQ(check_.differing, 0) << (text) << " at " << (row) << ", " << (column); \
  } while (0)

namespace tambri::test {

// Whether `count` cells from (row, column) show nothing but index 0.
inline bool blank_cells(const std::vector<std::uint8_t>& shown, int row, int column, int count) {
  for (int y = (row - 1) * 16; y < row * 16; ++y) {
    for (int x = (column - 1) * 8; x < (column - 1 + count) * 8; ++x) {
      if (shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)] != 0) return false;
    }
  }
  return true;
}

}  // namespace tambri::test
