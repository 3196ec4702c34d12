#include "draw/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "draw/picture_frame.h"

namespace tambri {
namespace {

constexpr int kInk = 5;

// Number of pixels of `index` in the inclusive rectangle.
int count(const GraphicsSurface& s, int index, PixelRect r = {0, 0, GraphicsSurface::kWidth - 1, GraphicsSurface::kHeight - 1}) {
  int n = 0;
  for (int y = r.y1; y <= r.y2; ++y)
    for (int x = r.x1; x <= r.x2; ++x) n += s.pixel(x, y) == index;
  return n;
}

// Each drawing on a surface set up like a picture (square viewport below the
// title strip, world 0..10 in both directions, colour kInk) must give exactly
// `ink` pixels, all of them inside `within`.
struct Case {
  const char* what;
  void (*draw)(GraphicsSurface&);
  int ink;
  PixelRect within;
};

const Case kCases[] = {
    {"filled world: the viewport is inclusive", [](GraphicsSurface& s) { s.gfx_rectangle(kGfxFilled, 0, 0, 10, 10); },
     601 * 601, {0, 25, 600, 625}},
    {"the smaller y at the top", [](GraphicsSurface& s) { s.gfx_move_to(0, 0), s.gfx_line_to(10, 0); }, 601, {0, 25, 600, 25}},
    {"the invert flag puts the smaller y at the bottom",
     [](GraphicsSurface& s) { s.gfx_set_world(1, 10, 10, 0, 0), s.gfx_move_to(0, 0), s.gfx_line_to(0, 2.5); }, 151,
     {0, 475, 0, 625}},
    {"a zero-size world window is refused and the old one stays",
     [](GraphicsSurface& s) {
       EXPECT_FALSE(s.gfx_set_world(0, 3, 0, 3, 10) || s.gfx_set_world(0, 0, 4, 10, 4) ||
                    s.gfx_set_world(0, 0, 0, std::numeric_limits<double>::infinity(), 10));
       s.gfx_rectangle(kGfxFilled, 5, 5, 5, 5);
     },
     1, {300, 325, 300, 325}},
    {"lines are clipped at the viewport", [](GraphicsSurface& s) { s.gfx_move_to(-5, 5), s.gfx_line_to(15, 5); }, 601,
     {0, 325, 600, 325}},
    {"far-away and unusable end points",
     [](GraphicsSurface& s) {
       s.gfx_move_to(5, 2), s.gfx_line_to(1e200, 2);
       s.gfx_move_to(5, 8), s.gfx_line_to(std::nan(""), 8), s.gfx_line_to(5, 9);
       s.gfx_move_to(-1e308, -1e308), s.gfx_line_to(1e308, 1e308);
     },
     301, {300, 145, 600, 145}},
    {"a filled rectangle includes its edges", [](GraphicsSurface& s) { s.gfx_rectangle(kGfxFilled, 1, 1, 2, 2); },
     61 * 61, {60, 85, 120, 145}},
    {"an outline leaves the inside", [](GraphicsSurface& s) { s.gfx_rectangle(kGfxOutline, 4, 4, 6, 6); }, 4 * 120,
     {240, 265, 360, 385}},
    {"an outline partly outside keeps the inside part",
     [](GraphicsSurface& s) { s.gfx_rectangle(kGfxOutline, 9, 9, 12, 12); }, 2 * 61 - 1, {540, 565, 600, 625}},
    {"pixel operations are relative to the viewport",
     [](GraphicsSurface& s) { s.gfx_set_viewport(610, 25, 660, 320), s.gfx_rectangle_px(kGfxFilled, 0, 0, 20, 32); },
     21 * 33, {610, 25, 630, 57}},
    {"a pixel move then a world line to the viewport's top-right corner",
     [](GraphicsSurface& s) {
       s.gfx_set_viewport(610, 25, 660, 320), s.gfx_move_to_px(0, 100), s.gfx_set_world(0, 0, 0, 100, 100);
       s.gfx_line_to(100, 0);
     },
     101, {610, 25, 660, 125}},
    {"a square polygon covers exactly its rectangle",
     [](GraphicsSurface& s) { s.gfx_polygon(kGfxFilled, std::array<WorldPoint, 4>{{{1, 1}, {3, 1}, {3, 4}, {1, 4}}}); },
     121 * 181, {60, 85, 180, 265}},
    {"two triangles tile a square without gaps",
     [](GraphicsSurface& s) {
       s.gfx_polygon(kGfxFilled, std::array<WorldPoint, 3>{{{0, 0}, {5, 0}, {0, 5}}});
       s.gfx_polygon(kGfxFilled, std::array<WorldPoint, 3>{{{5, 0}, {5, 5}, {0, 5}}});
     },
     301 * 301, {0, 25, 300, 325}},
    {"polygons are clipped, and refused with too few or unusable points",
     [](GraphicsSurface& s) {
       const std::array<WorldPoint, 4> large{{{-20, -20}, {30, -20}, {30, 30}, {-20, 30}}};
       s.gfx_polygon(kGfxFilled, std::array<WorldPoint, 3>{{{1, 1}, {std::nan(""), 2}, {3, 1}}});
       s.gfx_polygon(kGfxFilled, std::span(large).first(2));
       s.gfx_polygon(1, large);
       s.gfx_polygon(kGfxFilled, large);
     },
     601 * 601, {0, 25, 600, 625}},
};

TEST(Surface, EachDrawingGivesExactlyItsPixels) {
  for (const Case& c : kCases) {
    GraphicsSurface s;
    s.gfx_set_viewport(0, 25, 600, 625);
    s.gfx_set_world(0, 0, 0, 10, 10);
    s.gfx_set_color(kInk);
    c.draw(s);
    EXPECT_EQ(count(s, kInk), c.ink) << c.what;
    EXPECT_EQ(count(s, kInk, c.within), c.ink) << c.what;
  }
}

TEST(Surface, PaletteChangesRecolourAndColoursAreClamped) {
  GraphicsSurface s;
  EXPECT_EQ(s.palette()[15], 0x3F3F3Fu);
  s.gfx_set_color(3);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 9, 9);
  EXPECT_EQ(s.gfx_set_palette_rgb(3, 0x3F0000), 0x2A2A00);  // cyan becomes blue, what was drawn stays index 3
  EXPECT_EQ(s.pixel(5, 5), 3);
  EXPECT_EQ(s.gfx_set_palette_rgb(3, 0xFF4010), 0x3F0000);
  EXPECT_EQ(s.palette()[3], 0x3F3F10u);  // components clamped to 63
  EXPECT_EQ(s.gfx_set_palette_rgb(256, 0), -1);
  EXPECT_EQ(s.gfx_set_palette_rgb(-1, 0), -1);
  for (const auto& [colour, drawn] : {std::pair{300, 255}, {-4, 0}}) {
    s.gfx_set_color(colour);
    s.gfx_rectangle_px(kGfxFilled, 0, 0, 0, 0);
    EXPECT_EQ(s.pixel(0, 0), drawn);
  }
  s.gfx_set_text_color(40);
  s.gfx_text("W");
  EXPECT_GT(count(s, 31, {0, 0, 7, 15}), 0);
}

// The 8 x 16 cell at absolute row and column as '#' (ink 15) and '.'.
std::string cell(const GraphicsSurface& s, int row, int column) {
  std::string out;
  for (int y = 16 * (row - 1); y < 16 * row; ++y)
    for (int x = 8 * (column - 1); x < 8 * column; ++x) out += s.pixel(x, y) == 15 ? '#' : '.';
  return out;
}

TEST(SurfaceText, CharactersGoIntoTheirCellsOverBackgroundZeroAndUmlautsHaveTheirGlyphs) {
  GraphicsSurface s;
  ASSERT_TRUE(s.font_loaded()) << "DejaVu Sans Mono not found";
  s.gfx_set_color(4);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 799, 629);
  s.gfx_set_text_window(2, 85, 30, 100);
  s.gfx_set_text_color(15);
  s.gfx_set_text_position(3, 2);
  s.gfx_text("aäoöuüß");  // from absolute row 4, column 86
  EXPECT_EQ(count(s, 4), 800 * 630 - 7 * 128);
  EXPECT_EQ(s.gfx_set_text_position(1, 1).column, 9);
  for (int k = 86; k <= 90; k += 2) EXPECT_NE(cell(s, 4, k), cell(s, 4, k + 1));
  const std::string a = cell(s, 4, 86), ae = cell(s, 4, 87), sharp_s = cell(s, 4, 92);
  int dots = 0;  // the dots sit above the x-height, in rows that 'a' leaves empty
  for (size_t k = 0; k < 8 * 6; ++k) dots += ae[k] == '#' && a[k] == '.';
  EXPECT_GT(dots, 0);
  EXPECT_GT(std::count(sharp_s.begin(), sharp_s.end(), '#'), 10);
}

TEST(SurfaceText, TextWindowIsClippedWrapsAndScrolls) {
  GraphicsSurface s, expected;
  s.gfx_set_text_color(15);
  s.gfx_set_text_window(1, 80, 45, 110);
  s.gfx_set_text_position(50, 30);  // clamped to row 39, column 21
  s.gfx_text("Z");
  EXPECT_GT(count(s, 15, {792, 608, 799, 623}), 5);
  EXPECT_EQ(count(s, 15), count(s, 15, {792, 608, 799, 623}));

  s.gfx_clear(0);
  s.gfx_set_text_window(5, 10, 6, 12);
  s.gfx_text("abcdefg");  // abc / def, then g scrolls abc out
  expected.gfx_set_text_color(15);
  expected.gfx_set_text_window(5, 10, 6, 12);
  expected.gfx_text("def");
  expected.gfx_set_text_position(2, 1);
  expected.gfx_text("g");
  EXPECT_TRUE(std::equal(s.pixels(), s.pixels() + 800 * 630, expected.pixels()));

  // A row filled to its end does not scroll until the next character comes.
  s.gfx_set_text_window(3, 1, 3, 8);
  s.gfx_text("<Return>");
  EXPECT_GT(count(s, 15, {0, 32, 7, 47}), 0);
}

}  // namespace
}  // namespace tambri
