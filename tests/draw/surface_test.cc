#include "draw/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "draw/picture_frame.h"

namespace tambri {
namespace {

constexpr int kInk = 5;

// Number of pixels of `index` in the inclusive rectangle.
int count(const GraphicsSurface& s, int index,
          PixelRect r = {0, 0, GraphicsSurface::kWidth - 1, GraphicsSurface::kHeight - 1}) {
  int n = 0;
  for (int y = r.y1; y <= r.y2; ++y)
    for (int x = r.x1; x <= r.x2; ++x) n += s.pixel(x, y) == index;
  return n;
}

// The drawings of tests/draw/data/surface_drawings.txt, each on a fresh
// picture surface, must give exactly their pixels.
TEST(Surface, EachDrawingGivesExactlyItsPixels) {
  std::ifstream script(std::string(TAMBRI_SOURCE_DIR) + "/tests/draw/data/surface_drawings.txt");
  std::optional<GraphicsSurface> s;
  std::string what;
  int ink = 0;
  PixelRect within{};
  const auto check = [&] {
    if (!s) return;
    EXPECT_EQ(count(*s, kInk), ink) << what;
    EXPECT_EQ(count(*s, kInk, within), ink) << what;
  };
  for (std::string line, op; std::getline(script, line);) {
    std::istringstream in(line);
    std::vector<double> v;
    if (line.empty() || line[0] == '#') continue;
    in >> op;
    if (op == "drawing") {
      check();
      in >> ink >> within.x1 >> within.y1 >> within.x2 >> within.y2;
      std::getline(in, what);
      s.emplace();
      s->gfx_set_viewport(0, 25, 600, 625);
      s->gfx_set_world(0, 0, 0, 10, 10);
      s->gfx_set_color(kInk);
      continue;
    }
    for (std::string word; in >> word;) v.push_back(std::stod(word));
    std::vector<WorldPoint> points;
    for (size_t k = op == "polygon_mode"; k + 1 < v.size(); k += 2) points.push_back({v[k], v[k + 1]});
    const auto i = [&v](size_t k) { return static_cast<int>(v.at(k)); };
    if (op == "rect" || op == "outline")
      s->gfx_rectangle(op == "rect" ? kGfxFilled : kGfxOutline, v.at(0), v.at(1), v.at(2), v.at(3));
    if (op == "rect_px") s->gfx_rectangle_px(kGfxFilled, i(0), i(1), i(2), i(3));
    if (op == "move") s->gfx_move_to(v.at(0), v.at(1));
    if (op == "line") s->gfx_line_to(v.at(0), v.at(1));
    if (op == "move_px") s->gfx_move_to_px(i(0), i(1));
    if (op == "viewport") s->gfx_set_viewport(i(0), i(1), i(2), i(3));
    if (op == "world" || op == "refused") {
      EXPECT_EQ(s->gfx_set_world(i(0), v.at(1), v.at(2), v.at(3), v.at(4)), op == "world") << line;
    }
    if (op == "polygon") s->gfx_polygon(kGfxFilled, points);
    if (op == "polygon_mode") s->gfx_polygon(i(0), points);
  }
  check();
  EXPECT_EQ(what, " polygons are clipped, and refused with too few, unusable points or a wrong mode");
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
