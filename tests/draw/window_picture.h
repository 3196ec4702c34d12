#pragma once
// The picture the window test draws in the driver process: colours from the
// whole palette range the plots use, fills, lines, polygons and text with
// umlauts, in the frame of every picture.
#include <array>
#include <cstdint>

#include "draw/picture_frame.h"
#include "draw/surface.h"

namespace tambri::test {

// Where the frame's " <Return>" goes: text window rows 2-30, columns 85-100,
// cursor row 27, column 5, so absolute row 28, columns 89-97.
inline constexpr PixelRect kPromptPixels{8 * 88, 16 * 27, 8 * 97 - 1, 16 * 28 - 1};

inline void draw_window_test_picture(PictureFrame& frame, GraphicsSurface& s) {
  frame.begin(" TAMBRI: Fensterprobe Äquicolor äöü ÄÖÜ ß");
  for (int n = 0; n < 128; ++n) {
    const std::int32_t r = n * 63 / 127, b = 63 - r, g = (n * 5) % 64;
    s.gfx_set_palette_rgb(16 + n, (b << 16) | (g << 8) | r);
  }
  s.gfx_set_world(0, 0, 0, 16, 16);
  for (int i = 0; i < 16; ++i) {
    for (int j = 0; j < 8; ++j) {
      s.gfx_set_color(16 + (i * 8 + j));
      s.gfx_rectangle(kGfxFilled, i, j, i + 1, j + 1);
    }
  }
  s.gfx_set_color(4);
  const std::array<WorldPoint, 5> star{{{8, 8.5}, {12, 11}, {10, 15.5}, {6, 15}, {4, 10}}};
  s.gfx_polygon(kGfxFilled, star);
  s.gfx_set_color(14);
  s.gfx_polygon(kGfxOutline, star);
  s.gfx_set_color(2);
  for (int k = 0; k <= 16; ++k) {
    s.gfx_move_to(0, 8);
    s.gfx_line_to(k, 16);
  }
  s.gfx_set_viewport(610, 25, 660, 320);
  for (int k = 1; k <= 9; ++k) {
    s.gfx_set_color(k);
    s.gfx_rectangle_px(kGfxFilled, 0, 32 * (k - 1), 20, 32 * k);
    s.gfx_set_color(10 - k);
    s.gfx_rectangle_px(kGfxOutline, 30, 32 * (k - 1), 50, 32 * k);
  }
  s.gfx_set_text_window(2, 85, 30, 100);
  for (int k = 1; k <= 9; ++k) {
    s.gfx_set_text_color(k);
    s.gfx_set_text_position(2 * k, 3);
    s.gfx_text(std::array<const char*, 9>{"1.0E+00", "2.5E-01", "Größe", "Ölstand", "Übung", "-3.3E+02",
                                          "(m)", "x = y", "Ende"}[static_cast<size_t>(k - 1)]);
  }
  s.gfx_set_text_color(15);
  s.gfx_set_text_position(27, 5);
}

}  // namespace tambri::test
