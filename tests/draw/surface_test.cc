#include "draw/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace tambri {
namespace {

constexpr int kInk = 5;

// Number of pixels of `index` in the inclusive rectangle.
int count(const GraphicsSurface& s, int index, int x1 = 0, int y1 = 0, int x2 = GraphicsSurface::kWidth - 1,
          int y2 = GraphicsSurface::kHeight - 1) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += s.pixel(x, y) == index;
  return n;
}

// A surface set up like a picture: square viewport below the title strip,
// world 0..10 in both directions, drawing colour kInk.
struct Picture : ::testing::Test {
  Picture() {
    s.gfx_set_viewport(0, 25, 600, 625);
    s.gfx_set_world(0, 0, 0, 10, 10);
    s.gfx_set_color(kInk);
  }
  GraphicsSurface s;
};

TEST_F(Picture, ViewportIsInclusiveAndWorldCornersMapOntoItsCorners) {
  s.gfx_rectangle(kGfxFilled, 0, 0, 10, 10);
  EXPECT_EQ(count(s, kInk), 601 * 601);
  EXPECT_EQ(count(s, kInk, 0, 25, 600, 625), 601 * 601);

  GraphicsSurface t;
  t.gfx_set_viewport(0, 25, 600, 625);
  t.gfx_set_world(0, 0, 0, 10, 10);
  t.gfx_set_color(kInk);
  t.gfx_move_to(0, 0);
  t.gfx_line_to(10, 10);
  EXPECT_EQ(t.pixel(0, 25), kInk);      // smaller y at the top
  EXPECT_EQ(t.pixel(600, 625), kInk);
  EXPECT_EQ(t.pixel(300, 325), kInk);   // the middle
  EXPECT_EQ(count(t, kInk), 601);
}

TEST_F(Picture, InvertFlagPutsTheSmallerYAtTheBottomAndCornersAreSorted) {
  ASSERT_TRUE(s.gfx_set_world(1, 10, 10, 0, 0));
  s.gfx_move_to(0, 0);
  s.gfx_line_to(0, 2.5);
  EXPECT_EQ(s.pixel(0, 625), kInk);
  EXPECT_EQ(s.pixel(0, 475), kInk);
  EXPECT_EQ(s.pixel(0, 474), 0);
  EXPECT_EQ(count(s, kInk), 151);
}

TEST_F(Picture, ZeroSizeWorldWindowIsRefusedAndTheOldOneStays) {
  EXPECT_FALSE(s.gfx_set_world(0, 3, 0, 3, 10));
  EXPECT_FALSE(s.gfx_set_world(0, 0, 4, 10, 4));
  EXPECT_FALSE(s.gfx_set_world(0, 0, 0, std::numeric_limits<double>::infinity(), 10));
  s.gfx_rectangle(kGfxFilled, 5, 5, 5, 5);
  EXPECT_EQ(s.pixel(300, 325), kInk);
  EXPECT_EQ(count(s, kInk), 1);
}

TEST_F(Picture, LinesAreClippedAtTheViewportEdgeAndLeaveTheLegendAreaAlone) {
  s.gfx_move_to(-5, 5);
  s.gfx_line_to(15, 5);
  EXPECT_EQ(count(s, kInk, 0, 325, 600, 325), 601);
  EXPECT_EQ(count(s, kInk), 601);

  // Far-away and unusable end points: the visible part is drawn, nothing else.
  s.gfx_set_color(7);
  s.gfx_move_to(5, 2);
  s.gfx_line_to(1e200, 2);
  EXPECT_EQ(count(s, 7, 300, 145, 600, 145), 301);
  s.gfx_move_to(5, 8);
  s.gfx_line_to(std::nan(""), 8);
  s.gfx_line_to(5, 9);
  s.gfx_move_to(-1e308, -1e308);
  s.gfx_line_to(1e308, 1e308);
  EXPECT_EQ(count(s, 7), 301);
  EXPECT_EQ(count(s, 0, 601, 0, 799, 629), 199 * 630);
}

TEST_F(Picture, FilledRectangleIncludesItsEdgesOutlineLeavesTheInside) {
  s.gfx_rectangle(kGfxFilled, 1, 1, 2, 2);  // pixels 60..120
  EXPECT_EQ(count(s, kInk), 61 * 61);
  s.gfx_set_color(9);
  s.gfx_rectangle(kGfxOutline, 4, 4, 6, 6);  // pixels 240..360
  EXPECT_EQ(count(s, 9), 4 * 120);
  EXPECT_EQ(s.pixel(300, 325), 0);
  // Partly outside: only the inside part, edges outside the viewport vanish.
  s.gfx_set_color(11);
  s.gfx_rectangle(kGfxOutline, 9, 9, 12, 12);
  EXPECT_EQ(count(s, 11), 2 * 61 - 1);
}

TEST_F(Picture, PixelOperationsAreRelativeToTheViewport) {
  s.gfx_set_viewport(610, 25, 660, 320);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 20, 32);
  EXPECT_EQ(count(s, kInk, 610, 25, 630, 57), 21 * 33);
  EXPECT_EQ(count(s, kInk), 21 * 33);
  s.gfx_set_color(3);
  s.gfx_move_to_px(0, 100);
  s.gfx_set_world(0, 0, 0, 100, 100);
  s.gfx_line_to(100, 0);  // ends at the viewport's top-right corner
  EXPECT_EQ(s.pixel(610, 125), 3);
  EXPECT_EQ(s.pixel(660, 25), 3);
}

TEST_F(Picture, SquarePolygonCoversExactlyTheRectangle) {
  const std::array<WorldPoint, 4> square{{{1, 1}, {3, 1}, {3, 4}, {1, 4}}};
  s.gfx_polygon(kGfxFilled, square);
  GraphicsSurface r;
  r.gfx_set_viewport(0, 25, 600, 625);
  r.gfx_set_world(0, 0, 0, 10, 10);
  r.gfx_set_color(kInk);
  r.gfx_rectangle(kGfxFilled, 1, 1, 3, 4);
  for (int y = 0; y < GraphicsSurface::kHeight; ++y)
    for (int x = 0; x < GraphicsSurface::kWidth; ++x) ASSERT_EQ(s.pixel(x, y), r.pixel(x, y)) << x << "," << y;
}

TEST_F(Picture, TrianglesFillTheirAreaAndTwoHalvesTileASquareWithoutGaps) {
  const std::array<WorldPoint, 3> lower{{{0, 0}, {5, 0}, {0, 5}}};
  s.gfx_polygon(kGfxFilled, lower);
  const double area = 300.0 * 300.0 / 2;
  EXPECT_NEAR(count(s, kInk), area, 2 * 300 + 2);  // area plus the drawn edges
  const std::array<WorldPoint, 3> upper{{{5, 0}, {5, 5}, {0, 5}}};
  s.gfx_set_color(6);
  s.gfx_polygon(kGfxFilled, upper);
  EXPECT_EQ(count(s, 0, 0, 25, 300, 325), 0);
  EXPECT_EQ(count(s, kInk) + count(s, 6), 301 * 301);

  // Outline only: the inside stays.
  const std::array<WorldPoint, 3> outline{{{6, 6}, {9, 6}, {6, 9}}};
  s.gfx_set_color(8);
  s.gfx_polygon(kGfxOutline, outline);
  EXPECT_EQ(s.pixel(360, 415), 8);
  EXPECT_EQ(s.pixel(400, 425), 0);
}

TEST_F(Picture, PolygonIsClippedAndRefusedWithTooFewPointsOrUnusableOnes) {
  const std::array<WorldPoint, 4> large{{{-20, -20}, {30, -20}, {30, 30}, {-20, 30}}};
  s.gfx_polygon(kGfxFilled, large);
  EXPECT_EQ(count(s, kInk), 601 * 601);
  s.gfx_clear(0);
  const std::array<WorldPoint, 3> bad{{{1, 1}, {std::nan(""), 2}, {3, 1}}};
  s.gfx_polygon(kGfxFilled, bad);
  s.gfx_polygon(kGfxFilled, std::span(large).first(2));
  s.gfx_polygon(1, large);
  EXPECT_EQ(count(s, kInk), 0);
}

TEST(SurfaceColours, PaletteChangeRecoloursWhatWasDrawnAndReturnsThePrevious) {
  GraphicsSurface s;
  EXPECT_EQ(s.palette()[0], 0u);
  EXPECT_EQ(s.palette()[15], 0x3F3F3Fu);
  s.gfx_set_color(3);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 9, 9);
  EXPECT_EQ(s.gfx_set_palette_rgb(3, 0x3F0000), 0x2A2A00);  // cyan becomes blue
  EXPECT_EQ(s.pixel(5, 5), 3);
  EXPECT_EQ(s.palette()[3], 0x3F0000u);
  EXPECT_EQ(s.gfx_set_palette_rgb(3, 0xFF4010), 0x3F0000);
  EXPECT_EQ(s.palette()[3], 0x3F3F10u);  // components clamped to 63
  EXPECT_EQ(s.gfx_set_palette_rgb(256, 0), -1);
  EXPECT_EQ(s.gfx_set_palette_rgb(-1, 0), -1);
}

TEST(SurfaceColours, OutOfRangeColoursAreClamped) {
  GraphicsSurface s;
  s.gfx_set_color(300);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 0, 0);
  EXPECT_EQ(s.pixel(0, 0), 255);
  s.gfx_set_color(-4);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 0, 0);
  EXPECT_EQ(s.pixel(0, 0), 0);
  s.gfx_set_text_color(40);
  s.gfx_text("W");
  EXPECT_GT(count(s, 31, 0, 0, 7, 15), 0);
}

class SurfaceText : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(s.font_loaded()) << "DejaVu Sans Mono not found"; }
  // The 8 x 16 cell at absolute row and column as a string of '#' and '.'.
  std::string cell(int row, int column, int ink = 15) const {
    std::string out;
    for (int y = 16 * (row - 1); y < 16 * row; ++y)
      for (int x = 8 * (column - 1); x < 8 * column; ++x) out += s.pixel(x, y) == ink ? '#' : '.';
    return out;
  }
  GraphicsSurface s;
};

TEST_F(SurfaceText, CharactersGoIntoTheirCellOverBackgroundZero) {
  s.gfx_set_color(4);
  s.gfx_rectangle_px(kGfxFilled, 0, 0, 799, 629);
  s.gfx_set_text_window(2, 85, 30, 100);  // column 85 starts at pixel 672
  s.gfx_set_text_color(15);
  s.gfx_set_text_position(3, 2);
  s.gfx_text("X");
  const int x0 = 8 * 85, y0 = 16 * 3;  // absolute column 86, row 4
  EXPECT_GT(count(s, 15, x0, y0, x0 + 7, y0 + 15), 10);
  EXPECT_EQ(count(s, 15, x0, y0, x0 + 7, y0 + 15) + count(s, 0, x0, y0, x0 + 7, y0 + 15), 128);
  EXPECT_EQ(count(s, 4), 800 * 630 - 128);
  const TextPosition old = s.gfx_set_text_position(1, 1);
  EXPECT_EQ(old.row, 3);
  EXPECT_EQ(old.column, 3);
}

TEST_F(SurfaceText, UmlautsRenderAsTheirOwnGlyphs) {
  s.gfx_set_text_color(15);
  s.gfx_text("aäoöuüß");
  EXPECT_NE(cell(1, 1), cell(1, 2));
  EXPECT_NE(cell(1, 3), cell(1, 4));
  EXPECT_NE(cell(1, 5), cell(1, 6));
  // The dots sit above the x-height: rows that 'a' leaves empty.
  const std::string a = cell(1, 1), ae = cell(1, 2);
  int dots = 0;
  for (size_t k = 0; k < a.size(); ++k) dots += ae[k] == '#' && a[k] == '.' && k < 8 * 6;
  EXPECT_GT(dots, 0);
  const std::string sharp_s = cell(1, 7);
  EXPECT_GT(std::count(sharp_s.begin(), sharp_s.end(), '#'), 10);
}

TEST_F(SurfaceText, TextWindowIsClippedToTheGridAndTheCursorClampedToIt) {
  s.gfx_set_text_window(1, 80, 45, 110);
  s.gfx_set_text_color(15);
  s.gfx_set_text_position(50, 30);  // clamped to row 39, column 21
  s.gfx_text("Z");
  EXPECT_GT(count(s, 15, 792, 608, 799, 623), 5);
  EXPECT_EQ(count(s, 15), count(s, 15, 792, 608, 799, 623));
}

TEST_F(SurfaceText, TextWrapsAtTheWindowEdgeAndScrollsBelowItsLastRow) {
  GraphicsSurface expected;
  expected.gfx_set_text_color(15);
  expected.gfx_set_text_window(5, 10, 6, 12);
  expected.gfx_text("def");
  expected.gfx_set_text_position(2, 1);
  expected.gfx_text("g");

  s.gfx_set_text_color(15);
  s.gfx_set_text_window(5, 10, 6, 12);
  s.gfx_text("abcdefg");  // abc / def, then g scrolls abc out
  for (int y = 0; y < GraphicsSurface::kHeight; ++y)
    for (int x = 0; x < GraphicsSurface::kWidth; ++x) ASSERT_EQ(s.pixel(x, y), expected.pixel(x, y));

  // A row filled to its end does not scroll until the next character comes.
  GraphicsSurface one_row;
  one_row.gfx_set_text_color(15);
  one_row.gfx_set_text_window(3, 1, 3, 8);
  one_row.gfx_text("<Return>");
  EXPECT_GT(count(one_row, 15, 0, 32, 7, 47), 0);
}

}  // namespace
}  // namespace tambri
