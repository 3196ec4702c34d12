#pragma once
// Whether a picture shows a text at a place of the character grid: the text
// is drawn on a fresh surface at the same cells and the cells compared pixel
// by pixel with the pixels the picture showed. An empty text asks for blank
// cells, `count` of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "draw/surface.h"
#include "text/text_width.h"

namespace tambri::test {

inline void expect_text(const std::vector<std::uint8_t>& shown, int row, int column, const std::string& text,
                        int count = 0) {
  const int length = text.empty() ? count : utf8_length(text);
  GraphicsSurface reference;
  reference.gfx_set_text_window(row, column, row, column + length - 1);
  reference.gfx_set_text_color(15);
  reference.gfx_text(text);
  int ink = 0, differing = 0;
  for (int y = (row - 1) * 16; y < row * 16; ++y) {
    for (int x = (column - 1) * 8; x < (column - 1 + length) * 8; ++x) {
      ink += reference.pixel(x, y) != 0;
      differing += reference.pixel(x, y) != shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)];
    }
  }
  EXPECT_EQ(ink > 0, !text.empty()) << '"' << text << '"';
  EXPECT_EQ(differing, 0) << '"' << text << "\" at " << row << ", " << column;
}

}  // namespace tambri::test
