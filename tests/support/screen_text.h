#pragma once
// Whether a picture shows texts at places of the character grid: each text
// is drawn on a fresh surface at the same cells and the cells compared pixel
// by pixel with the pixels the picture showed. An empty text asks for
// `blanks` blank cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "draw/surface.h"
#include "text/text_width.h"

namespace tambri::test {

struct ShownText {
  int row, column;
  std::string text;
  int blanks = 0;
};

inline void expect_texts(const std::vector<std::uint8_t>& shown, std::initializer_list<ShownText> texts) {
  for (const ShownText& t : texts) {
    const int length = t.text.empty() ? t.blanks : utf8_length(t.text);
    GraphicsSurface reference;
    reference.gfx_set_text_window(t.row, t.column, t.row, t.column + length - 1);
    reference.gfx_set_text_color(15);
    reference.gfx_text(t.text);
    int ink = 0, differing = 0;
    for (int y = (t.row - 1) * 16; y < t.row * 16; ++y) {
      for (int x = (t.column - 1) * 8; x < (t.column - 1 + length) * 8; ++x) {
        ink += reference.pixel(x, y) != 0;
        differing += reference.pixel(x, y) != shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)];
      }
    }
    EXPECT_EQ(ink > 0, !t.text.empty()) << '"' << t.text << '"';
    EXPECT_EQ(differing, 0) << '"' << t.text << "\" at " << t.row << ", " << t.column;
  }
}

}  // namespace tambri::test
