// The arrow picture's pixels and page; its questions are pinned by the
// whole-screen scripts, except those a small structure cannot reach.
#include "dialogue/arrows.h"

#include "support/picture_test.h"

namespace tambri {
namespace {

// Grids on 0..1 m: in a square full window node (i, j) lies at pixel
// (600 Y(j), 25 + 600 X(i)).
struct ArrowPicture : test::PictureTest {
  ArrowPicture() {
    use(11, 21);
    picture = [this](ResultPicture& p) { draw_arrows(p, {v.get(), w.get(), "Feldstaerke E  (V/m)"}); };
  }
  void use(int nx, int ny) { use_grid(test::lines(0, 1, nx), test::lines(0, 1, ny), "PFEIL"); }
  void set(int i, int j, double ax, double by) {
    PictureTest::set(i, j, ax);
    (*w)[static_cast<size_t>(model->grid.node(i, j))] = by;
  }
  long px(int j) const { return std::lround(600 * model->grid.y[j]); }
  long py(int i) const { return 25 + std::lround(600 * model->grid.x[i]); }
};

TEST_F(ArrowPicture, UniformFieldGivesEqualArrowsOfTheSmallerCellAlongItsAxis) {
  // 11 x 21 lines: every arrow is 0.95 / 19 m = 30 pixels long.
  struct Case {
    int nx, ny;
    double ax, by;
    long dx, dy;
  };  // dx, dy: pixel direction of the arrows
  for (const Case& c :
       {Case{11, 21, 1, 0, 0, 1}, Case{11, 21, -2, 0, 0, -1}, Case{21, 11, 0, 1, 1, 0}, Case{21, 11, 0, -3, -1, 0}}) {
    use(c.nx, c.ny);
    v->fill(c.ax);
    w->fill(c.by);
    draw("n\nn\n\n");
    for (int i = 3; i < c.nx - 1; i += 3) {
      for (int j = 3; j < c.ny - 1; j += 3) {
        const long x = px(j), y = py(i);
        const auto along = [&](long s, long aside) {
          return shown(x + s * c.dx + aside * c.dy, y + s * c.dy + aside * c.dx);
        };
        SCOPED_TRACE(testing::Message() << "node " << i << ", " << j << " of " << c.nx << " x " << c.ny);
        // Shaft to the tip at 30, nothing beyond or beside; the head 0.3 of
        // the length back and 0.108 of it (3.2 pixels) aside.
        EXPECT_EQ((std::vector<int>{along(15, 0), along(30, 0), along(31, 0), along(15, 15), along(21, 3),
                                    along(21, -3), along(21, 5)}),
                  (std::vector<int>{15, 15, 0, 0, 15, 15, 0}));
      }
    }
  }
}

TEST_F(ArrowPicture, TenthOfTheMaximumOnTheLinearAndTheLogarithmicScale) {
  set(3, 5, 1, 0);
  set(7, 5, 0.1, 0);
  set(7, 9, std::nan(""), 0);  // left out, as is the infinite one
  set(7, 13, 0, std::numeric_limits<double>::infinity());
  const long x = px(5), y = py(7);
  draw("n\nn\n\n");  // linear: 0.095 of the cell, 3 pixels
  expect_pixels({{x, y + 3, 15}, {x, y + 5, 0}, {px(9), py(7), 0}, {px(13), py(7), 0}, {px(9), py(6), 15}});
  draw("y\nn\n\n");  // logarithmic: 0.855 of the cell, 25.65 pixels; the maximum keeps 30
  expect_pixels({{x, y + 25, 15}, {x, y + 28, 0}, {px(5), py(3) + 30, 15}, {px(5), py(3) + 31, 0}});
}

TEST_F(ArrowPicture, FortyIntervalsOfferEveryOtherLine) {
  use(41, 41);  // 15 pixels apart
  v->fill(1);
  EXPECT_EQ(draw("n\nN\nn\n\n"),
            "Logarithmus bilden [Y/N]:n\nAlle Pfeile zeichnen [Y/N]:N\nMin= 1.000E+00\nMax= 1.000E+00\n"
            "Werte ändern [Y/N]:n\n\n");
  EXPECT_EQ(count_shown(15, px(2), px(2)), 0);
  EXPECT_EQ(shown(px(3) - 3, py(3) + 20), 15);  // the cell doubles: the head 20.5 pixels down
  draw("n\nY\nn\n\n");
  EXPECT_GT(count_shown(15, px(2), px(2)), 500);
  window = {1, 1, 40, 40};  // 39 intervals
  EXPECT_EQ(draw("n\nn\n\n").find("Alle Pfeile"), std::string::npos);
}

TEST_F(ArrowPicture, PotentialsColouredByValueExcitationsAsDiamondsAndTheLegends) {
  use(11, 11);
  model->tables.potential[1] = 10;
  model->tables.potential[2] = 0;
  test::set_block(*model, 1, 1, 1, 11, 10);
  test::set_block(*model, 11, 11, 1, 11, 20);
  set_code(6, 6, 100);
  set_code(6, 11, 103);  // on the right border
  v->fill(1);
  output.postscript_off = false;
  // The higher potential in colour 9, the lower in 1, over the arrows; the
  // legend keeps 9 at the top; the diamonds in 13, a half one at the border.
  for (const bool grey : {false, true}) {
    output.black_and_white = grey;
    draw("n\nn\n\n");
    const Pixel marks[] = {{300, 27, 9},   {300, 622, 1},  {620, 41, 9},   {620, 297, 1},
                           {315, 310, 13}, {285, 340, 13}, {585, 310, 13}, {600, 340, 13}};
    expect_pixels(marks);
    test::expect_page(file("_p.ps"), grey ? "arrows_potentials_grey.ps" : "arrows_potentials.ps");
  }
}

TEST_F(ArrowPicture, ArrowsLeavingTheRegionAreMaskedOnTheScreenAndLeftOutOnThePage) {
  use(11, 11);
  output.postscript_off = false;
  set(6, 6, 1, 0);  // from the lower border of the upper half into the empty square below
  window = {1, 1, 6, 11};
  draw("n\nN\nn\n\n");
  expect_pixels({{300, 327, 15}, {300, 340, 0}});
  // The page at 16 cm per metre, origin (3, 21): x 0..0.5 m is 21..13 cm;
  // no point of the picture lies below 13 cm.
  test::expect_page(file("_p.ps"), "arrows_masked.ps");
  window = full_display_window(model->grid);
  draw("n\nn\n\n");  // the whole grid shows the same arrow uncut
  EXPECT_EQ(shown(300, 340), 15);
}

TEST_F(ArrowPicture, ZeroFieldIsRefusedAndChangedLimitsHideArrows) {
  output.postscript_off = output.bitmap_off = false;
  EXPECT_EQ(draw("n\n"), "Logarithmus bilden [Y/N]:n\n\n### Feldgrößen zu klein ###");
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  set(3, 5, 1, 0);
  set(7, 5, 0.5, 0);
  draw("n\ny\n0.75\n1\n\n");  // a raised minimum hides the weaker arrow and the zero ones
  expect_pixels({{px(5), py(7) + 10, 0}, {px(9), py(6), 0}, {px(5), py(3) + 30, 15}});
  draw("n\ny\n0\n0.5\n\n");  // a lowered maximum hides the stronger one
  expect_pixels({{px(5), py(3) + 20, 0}, {px(5), py(7) + 30, 15}});
}

}  // namespace
}  // namespace tambri
