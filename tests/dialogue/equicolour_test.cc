// The equicolour picture's pixels, bitmap and page; its questions are pinned
// by the whole-screen scripts.
#include "dialogue/equicolour.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/picture_test.h"
#include "support/saved_bitmap.h"
#include "support/screen_text.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

// A 0..1 x 0..1 grid with lines every 0.1 (11 x 11 nodes): in the full
// window node (i, j) lies at pixel (60 (j - 1), 25 + 60 (i - 1)) and its cell
// reaches 30 pixels to each side, half of that at the border.
struct Equicolour : test::PictureTest {
  Equicolour() { use_grid(test::lines(0, 1, 11), test::lines(0, 1, 11)); }
  void use_grid(const std::vector<double>& x, const std::vector<double>& y) {
    model = test::make_model(kProblemE, x, y);
    model->output_stem = "bild        ";
    window = full_display_window(model->grid);
  }
  void set(int i, int j, double v) { fields->strength_x[model->grid.node(i, j)] = v; }
  void draw(const std::string& answers) {
    draw_with(*model, window, answers, [this](ResultPicture& p) {
      draw_equicolour(p, {&fields->strength_x, nullptr, false, "Potential (V)"});
    });
  }
  std::vector<int> at(std::initializer_list<std::pair<int, int>> pixels) const {
    std::vector<int> out;
    for (const auto& [x, y] : pixels) out.push_back(shown(x, y));
    return out;
  }

  std::unique_ptr<StructureModel> model;
  std::unique_ptr<DerivedFields> fields = std::make_unique<DerivedFields>();
  DisplayWindow window;
};

TEST_F(Equicolour, BitmapCarriesTheRampAndTheBarRunsFromMaximumAtTheTop) {
  set(5, 5, 1);
  output.bitmap_off = false;
  draw("N\n\n");
  const test::SavedBitmap bmp(dir / "bild_c.bmp");
  ASSERT_TRUE(bmp.complete());
  using C = std::array<int, 3>;
  const std::pair<int, C> ramp[] = {{16, {0, 0, 63}},   {41, {0, 31, 32}},  {66, {0, 62, 1}}, {67, {0, 63, 0}},
                                    {93, {60, 63, 0}}, {94, {63, 63, 0}}, {116, {63, 36, 0}}, {143, {63, 2, 0}}};
  for (const auto& [index, colour] : ramp) EXPECT_EQ(bmp.colour(index), colour) << index;
  // The bitmap is the picture before " <Return>" was written.
  EXPECT_TRUE(test::blank_cells(bmp.pixels(), 29, 84, 9));
  EXPECT_SHOWS_TEXT(viewer.shown, 29, 84, " <Return>");
  std::set<int> seen;
  int previous = 143;
  for (int y = 25; y <= 299; ++y) {
    const int index = bmp.pixel(630, y);
    if (index == 0) continue;  // the gaps between boxes
    EXPECT_LE(index, previous) << y;
    previous = index;
    seen.insert(index);
  }
  EXPECT_EQ(seen.size(), 128u);
  EXPECT_EQ((std::vector<int>{bmp.pixel(630, 26), bmp.pixel(630, 298), bmp.pixel(612, 100)}),
            (std::vector<int>{143, 16, 0}));
}

TEST_F(Equicolour, CellsTakeTheColourOfTheirValueOnTheScaleOfTheWholeGrid) {
  set(3, 4, 128);  // 0..128: one level per unit, margin 0.01
  set(6, 6, 64.5);
  draw("n\n\n");
  EXPECT_EQ(at({{180, 145}, {155, 125}, {300, 325}, {400, 400}}), (std::vector<int>{143, 143, 80, 16}));
  EXPECT_SHOWS_TEXT(viewer.shown, 1, 1, " TAMBRI: Potential (V)            ");
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 1.3E+02");
  EXPECT_SHOWS_TEXT(viewer.shown, 18, 85, " 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 24, 82, "Xb= 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 27, 82, "Ye= 1.0E+00");
  EXPECT_TRUE(test::blank_cells(viewer.shown, 10, 85, 8));  // " LOG ABS" only with the logarithm
  // Lines 3..8 fill the viewport: border cells of 60 pixels, inner ones of
  // 120; the maximum lies outside and the labels keep the whole grid's range.
  fields->strength_x.fill(0);
  set(1, 1, 128);
  set(3, 3, 64.5);
  set(4, 4, 32.5);
  window = {3, 3, 8, 8};
  draw("N\n\n");
  EXPECT_EQ(at({{0, 25}, {58, 83}, {63, 40}, {64, 88}, {178, 203}, {182, 150}}),
            (std::vector<int>{80, 80, 16, 48, 48, 16}));
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 1.3E+02");
  EXPECT_SHOWS_TEXT(viewer.shown, 24, 82, "Xb= 2.0E-01");
}

TEST_F(Equicolour, LogarithmNonFiniteValuesAndAConstantField) {
  set(2, 2, -1000);
  draw("Y\n\n");
  EXPECT_EQ(at({{60, 85}, {300, 325}}), (std::vector<int>{143, 16}));  // log10 1000 = 3; log10 1E-30 = -30
  EXPECT_SHOWS_TEXT(viewer.shown, 18, 85, "-3.0E+01");
  EXPECT_SHOWS_TEXT(viewer.shown, 10, 85, " LOG ABS");
  set(2, 2, std::numeric_limits<double>::quiet_NaN());
  set(5, 5, std::numeric_limits<double>::infinity());
  set(8, 8, 4);
  draw("N\n\n");
  EXPECT_EQ(at({{60, 85}, {240, 265}, {420, 445}, {420, 400}}), (std::vector<int>{0, 0, 143, 16}));
  fields->strength_x.fill(7.5);
  draw("N\n\n");
  int lowest = 0;
  for (int y = 25; y <= 625; ++y)
    for (int x = 0; x <= 600; ++x) lowest += shown(x, y) == 16;
  EXPECT_EQ(lowest, 601 * 601);
}

TEST_F(Equicolour, OblongRegionIsTrueToScaleForNAndFillsTheViewportForY) {
  fields->strength_x.fill(64.5);
  set(1, 1, 0);
  set(11, 11, 128);
  window = {1, 1, 11, 6};  // 1 m down, 0.5 m across
  draw("N\nn\n\n");
  EXPECT_EQ(at({{290, 325}, {310, 325}, {100, 620}}), (std::vector<int>{80, 0, 80}));
  draw("N\nY\n\n");
  EXPECT_EQ(at({{450, 325}, {600, 325}}), (std::vector<int>{80, 80}));
  EXPECT_TRUE(memory.equicolour_full_window);  // kept for a square region, which does not ask
}

// Three x lines 0.01 m apart by two y lines, values 0..5: true to scale the
// page has 800 cm per metre and the origin at (7, 25).
TEST_F(Equicolour, WholePagesInColourAndInGreyWithTheLogarithm) {
  use_grid({0, 0.01, 0.02}, {0, 0.01});
  model->output_stem = "s           ";
  output.postscript_off = false;
  for (int k = 1; k <= 6; ++k) fields->strength_x[k] = k - 1;
  draw("N\nN\n\n");
  test::expect_page("s_c.ps", "equicolour_colour.ps");
  test::expect_renders("s_c.ps");
  output.black_and_white = true;
  output.comment = "Probe (1)";
  fields->strength_x[1] = 1.0E-3;  // logarithms -3 .. 0.70
  draw("Y\nY\n\n");
  const test::Records r = test::records_of(dir / "s_c.ps");
  // Stretched: 1600 cm per metre across, 800 down, the origin at (3, 25);
  // cells down x, across y at levels 1, 121, 104, 125, 115 and 128.
  EXPECT_EQ(r[21 + 3], "(Struktur : s" + std::string(11, ' ') + "Probe \\(1\\)" + std::string(35 - 9 + 2, ' ') + ") ");
  EXPECT_EQ(r[21 + 5], "   3.0000  25.0000 m");
  const char* greys[] = {" 0.99 g", " 0.05 g", " 0.19 g", " 0.02 g", " 0.10 g", " 0.00 g"};
  for (size_t c = 0; c < 6; ++c) EXPECT_EQ(r[21 + 6 + 9 * c], greys[c]) << c;
  EXPECT_EQ(test::Records(r.end() - 13, r.end()),
            (test::Records{" 0.0 0.0 0.0 co", "(-3.0E+00) ", "   0.0000   3.0000   6.0000   0.6000 /Helvetica t",
                           " 0.0 0.0 0.0 co", "(-1.2E+00) ", "   0.0000   9.6000   6.0000   0.6000 /Helvetica t",
                           " 0.0 0.0 0.0 co", "( 7.0E-01) ", "   0.0000  16.3000   6.0000   0.6000 /Helvetica t",
                           " 0.0 0.0 0.0 co", "(LOG-Betrag) ", "   0.0000   9.5000   7.0000   0.4800 /Helvetica t",
                           "showpage"}));
  test::expect_renders("s_c.ps");
}

}  // namespace
}  // namespace tambri
