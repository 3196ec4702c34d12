// The equicolour picture's pixels, bitmap and page; its questions are pinned
// by the whole-screen scripts.
#include "dialogue/equicolour.h"

#include <numeric>

#include "support/picture_test.h"

namespace tambri {
namespace {

// A 0..1 x 0..1 grid with lines every 0.1 (11 x 11 nodes): in the full
// window node (i, j) lies at pixel (60 (j - 1), 25 + 60 (i - 1)) and its cell
// reaches 30 pixels to each side, half of that at the border.
struct Equicolour : test::PictureTest {
  Equicolour() {
    use_grid(test::lines(0, 1, 11), test::lines(0, 1, 11), "bild");
    picture = [this](ResultPicture& p) { draw_equicolour(p, {v.get(), nullptr, false, "Potential (V)"}); };
  }
};

TEST_F(Equicolour, BitmapCarriesTheRampAndTheBarRunsFromMaximumAtTheTop) {
  set(5, 5, 1);
  output.bitmap_off = false;
  draw("N\n\n");
  const test::SavedBitmap bmp = bitmap("_c.bmp");
  bmp.expect_saved_before(viewer.shown, 29, 84, 9);  // the picture before " <Return>"
  expect_shown({{29, 84, " <Return>"}});
  using C = std::array<int, 3>;
  const std::pair<int, C> ramp[] = {{16, {0, 0, 63}},  {41, {0, 31, 32}}, {66, {0, 62, 1}},   {67, {0, 63, 0}},
                                    {93, {60, 63, 0}}, {94, {63, 63, 0}}, {116, {63, 36, 0}}, {143, {63, 2, 0}}};
  for (const auto& [index, colour] : ramp) EXPECT_EQ(bmp.colour(index), colour) << index;
  // Down the bar, gaps between the boxes left out: every index from 143 to 16 once.
  std::vector<int> bar, indices(128);
  for (int y = 25; y <= 299; ++y)
    if (shown(630, y) != 0 && (bar.empty() || bar.back() != shown(630, y))) bar.push_back(shown(630, y));
  std::iota(indices.rbegin(), indices.rend(), 16);
  EXPECT_EQ(bar, indices);
  expect_pixels({{630, 26, 143}, {630, 298, 16}, {612, 100, 0}});
}

TEST_F(Equicolour, CellsTakeTheColourOfTheirValueOnTheScaleOfTheWholeGrid) {
  set(3, 4, 128);  // 0..128: one level per unit, margin 0.01
  set(6, 6, 64.5);
  draw("n\n\n");
  expect_pixels({{180, 145, 143}, {155, 125, 143}, {300, 325, 80}, {400, 400, 16}});
  // " LOG ABS" only with the logarithm.
  expect_shown({{1, 1, " TAMBRI: Potential (V)            "}, {3, 85, " 1.3E+02"}, {18, 85, " 0.0E+00"}});
  expect_shown({{24, 82, "Xb= 0.0E+00"}, {27, 82, "Ye= 1.0E+00"}, {10, 85, "", 8}});
  // Lines 3..8 fill the viewport: border cells of 60 pixels, inner ones of
  // 120; the maximum lies outside and the labels keep the whole grid's range.
  v->fill(0);
  set(1, 1, 128);
  set(3, 3, 64.5);
  set(4, 4, 32.5);
  window = {3, 3, 8, 8};
  draw("N\n\n");
  expect_pixels({{0, 25, 80}, {58, 83, 80}, {63, 40, 16}, {64, 88, 48}, {178, 203, 48}, {182, 150, 16}});
  expect_shown({{3, 85, " 1.3E+02"}, {24, 82, "Xb= 2.0E-01"}});
}

TEST_F(Equicolour, LogarithmNonFiniteValuesAndAConstantField) {
  set(2, 2, -1000);
  draw("Y\n\n");
  expect_pixels({{60, 85, 143}, {300, 325, 16}});  // log10 1000 = 3; log10 1E-30 = -30
  expect_shown({{18, 85, "-3.0E+01"}, {10, 85, " LOG ABS"}});
  set(2, 2, std::numeric_limits<double>::quiet_NaN());
  set(5, 5, std::numeric_limits<double>::infinity());
  set(8, 8, 4);
  draw("N\n\n");
  expect_pixels({{60, 85, 0}, {240, 265, 0}, {420, 445, 143}, {420, 400, 16}});
  v->fill(7.5);
  draw("N\n\n");
  int lowest = 0;
  for (int y = 25; y <= 625; ++y)
    for (int x = 0; x <= 600; ++x) lowest += shown(x, y) == 16;
  EXPECT_EQ(lowest, 601 * 601);
}

TEST_F(Equicolour, OblongRegionIsTrueToScaleForNAndFillsTheViewportForY) {
  v->fill(64.5);
  set(1, 1, 0);
  set(11, 11, 128);
  window = {1, 1, 11, 6};  // 1 m down, 0.5 m across
  draw("N\nn\n\n");
  expect_pixels({{290, 325, 80}, {310, 325, 0}, {100, 620, 80}});
  draw("N\nY\n\n");
  expect_pixels({{450, 325, 80}, {600, 325, 80}});
  EXPECT_TRUE(memory.equicolour_full_window);  // kept for a square region, which does not ask
}

// Three x lines 0.01 m apart by two y lines, values 0..5: true to scale the
// page has 800 cm per metre and the origin at (7, 25). Stretched, in grey
// with the logarithm (-3 .. 0.70): 1600 cm per metre across, 800 down, the
// origin at (3, 25); cells down x, across y at levels 1, 121, 104, 125, 115
// and 128.
TEST_F(Equicolour, WholePagesInColourAndInGreyWithTheLogarithm) {
  use_grid({0, 0.01, 0.02}, {0, 0.01}, "s");
  output.postscript_off = false;
  for (int k = 1; k <= 6; ++k) (*v)[k] = k - 1;
  draw("N\nN\n\n");
  test::expect_page("s_c.ps", "equicolour_colour.ps");
  output.black_and_white = true;
  output.comment = "Probe (1)";
  (*v)[1] = 1.0E-3;
  draw("Y\nY\n\n");
  test::expect_page("s_c.ps", "equicolour_grey_log.ps");
}

}  // namespace
}  // namespace tambri
