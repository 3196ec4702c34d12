// The arrow picture's pixels and page; its questions are pinned by the
// whole-screen scripts, except those a small structure cannot reach.
#include "dialogue/arrows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/picture_test.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

// Grids on 0..1 m: in a square full window node (i, j) lies at pixel
// (600 Y(j), 25 + 600 X(i)).
struct ArrowPicture : test::PictureTest {
  ArrowPicture() { use_grid(11, 21); }
  void use_grid(int nx, int ny) {
    model = test::make_model(kProblemE, test::lines(0, 1, nx), test::lines(0, 1, ny));
    model->output_stem = "PFEIL       ";
    a->fill(0);
    b->fill(0);
  }
  DisplayWindow full() const { return {1, 1, model->grid.nx, model->grid.ny}; }
  void set(int i, int j, double ax, double by) {
    (*a)[static_cast<size_t>(model->grid.node(i, j))] = ax;
    (*b)[static_cast<size_t>(model->grid.node(i, j))] = by;
  }
  std::string draw(const DisplayWindow& window, const std::string& answers) {
    return draw_with(*model, window, answers,
                     [this](ResultPicture& p) { draw_arrows(p, {a.get(), b.get(), "Feldstaerke E  (V/m)"}); });
  }
  long px(int j) const { return std::lround(600 * model->grid.y[j]); }
  long py(int i) const { return 25 + std::lround(600 * model->grid.x[i]); }
  int count_in_column(long x, int index) const {
    int n = 0;
    for (long y = 25; y <= 625; ++y) n += shown(x, y) == index;
    return n;
  }
  std::string page() const {
    test::expect_renders(dir / "PFEIL_p.ps");
    return test::read_file(dir / "PFEIL_p.ps");
  }

  std::unique_ptr<StructureModel> model;
  std::unique_ptr<NodeArray> a = std::make_unique<NodeArray>(), b = std::make_unique<NodeArray>();
};

TEST_F(ArrowPicture, UniformFieldGivesEqualArrowsOfTheSmallerCellAlongItsAxis) {
  // 11 x 21 lines: every arrow is 0.95 / 19 m = 30 pixels long.
  struct Case {
    int nx, ny;
    double ax, by;
    long dx, dy;  // pixel direction of the arrows
  };
  for (const Case& c : {Case{11, 21, 1, 0, 0, 1}, Case{11, 21, -2, 0, 0, -1}, Case{21, 11, 0, 1, 1, 0},
                        Case{21, 11, 0, -3, -1, 0}}) {
    use_grid(c.nx, c.ny);
    a->fill(c.ax);
    b->fill(c.by);
    draw(full(), "n\nn\n\n");
    for (int i = 3; i < c.nx - 1; i += 3) {
      for (int j = 3; j < c.ny - 1; j += 3) {
        const long x = px(j), y = py(i);
        const auto along = [&](long s, long aside) { return shown(x + s * c.dx + aside * c.dy, y + s * c.dy + aside * c.dx); };
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
  draw(full(), "n\nn\n\n");  // linear: 0.095 of the cell, 3 pixels
  EXPECT_EQ((std::vector<int>{shown(x, y + 3), shown(x, y + 5), shown(px(9), py(7)), shown(px(13), py(7)),
                              shown(px(9), py(6))}),
            (std::vector<int>{15, 0, 0, 0, 15}));
  draw(full(), "y\nn\n\n");  // logarithmic: 0.855 of the cell, 25.65 pixels; the maximum keeps 30
  EXPECT_EQ((std::vector<int>{shown(x, y + 25), shown(x, y + 28), shown(px(5), py(3) + 30), shown(px(5), py(3) + 31)}),
            (std::vector<int>{15, 0, 15, 0}));
}

TEST_F(ArrowPicture, FortyIntervalsOfferEveryOtherLine) {
  use_grid(41, 41);  // 15 pixels apart
  a->fill(1);
  EXPECT_EQ(draw(full(), "n\nN\nn\n\n"),
            "Logarithmus bilden [Y/N]:n\nAlle Pfeile zeichnen [Y/N]:N\nMin= 1.000E+00\nMax= 1.000E+00\n"
            "Werte ändern [Y/N]:n\n\n");
  EXPECT_EQ(count_in_column(px(2), 15), 0);
  EXPECT_EQ(shown(px(3) - 3, py(3) + 20), 15);  // the cell doubles: the head 20.5 pixels down
  draw(full(), "n\nY\nn\n\n");
  EXPECT_GT(count_in_column(px(2), 15), 500);
  EXPECT_EQ(draw({1, 1, 40, 40}, "n\nn\n\n").find("Alle Pfeile"), std::string::npos);  // 39 intervals
}

TEST_F(ArrowPicture, PotentialsColouredByValueExcitationsAsDiamondsAndTheLegends) {
  use_grid(11, 11);
  model->tables.potential[1] = 10;
  model->tables.potential[2] = 0;
  test::set_block(*model, 1, 1, 1, 11, 10);
  test::set_block(*model, 11, 11, 1, 11, 20);
  model->occupancy[static_cast<size_t>(model->grid.node(6, 6))] = 100;
  model->occupancy[static_cast<size_t>(model->grid.node(6, 11))] = 103;  // on the right border
  a->fill(1);
  output.postscript_off = false;
  draw(full(), "n\nn\n\n");
  // The higher potential in colour 9, the lower in 1, over the arrows; the
  // legend keeps 9 at the top; the diamonds in 13, a half one at the border.
  EXPECT_EQ((std::vector<int>{shown(300, 27), shown(300, 622), shown(620, 41), shown(620, 297)}),
            (std::vector<int>{9, 1, 9, 1}));
  EXPECT_EQ((std::vector<int>{shown(315, 310), shown(285, 340), shown(585, 310), shown(600, 340)}),
            (std::vector<int>{13, 13, 13, 13}));
  for (const bool grey : {false, true}) {
    output.black_and_white = grey;
    draw(full(), "n\nn\n\n");
    const std::string ps = page();
    const std::string picture = ps.substr(0, ps.find("(Abmessungen"));
    EXPECT_NE(picture.find(grey ? " 0.89 g" : " 0.59 1.00 1.00 hs"), std::string::npos);
    EXPECT_NE(picture.find(grey ? " 0.00 g" : " 0.00 1.00 1.00 hs"), std::string::npos);
    EXPECT_EQ(picture.find(grey ? " 0.44 g" : " 0.30 1.00 1.00 hs"), std::string::npos);
    EXPECT_NE(ps.find("( 1.0E+01) \n   0.0000  18.0000   5.5000   0.4800 /Helvetica t"), std::string::npos);
    EXPECT_NE(ps.find("(Phi \\(V\\)) \n   0.0000   9.3000   6.5000   0.6000 /Helvetica t"), std::string::npos);
  }
}

TEST_F(ArrowPicture, ArrowsLeavingTheRegionAreMaskedOnTheScreenAndLeftOutOnThePage) {
  use_grid(11, 11);
  output.postscript_off = false;
  set(6, 6, 1, 0);  // from the lower border of the upper half into the empty square below
  draw({1, 1, 6, 11}, "n\nN\nn\n\n");
  EXPECT_EQ((std::vector<int>{shown(300, 327), shown(300, 340)}), (std::vector<int>{15, 0}));
  // The page at 16 cm per metre, origin (3, 21): x 0..0.5 m is 21..13 cm;
  // no point of the picture lies below 13 cm.
  const std::string ps = page();
  std::istringstream in(ps.substr(0, ps.find("   0.0000   0.0000 m\n")));
  int points = 0;
  for (std::string line; std::getline(in, line);) {
    double x = 0, y = 0;
    char op = 0;
    if (std::sscanf(line.c_str(), "%lf %lf %c", &x, &y, &op) == 3 && (op == 'm' || op == 'l')) {
      ++points;
      EXPECT_GE(y, 13 - 1e-4) << line;
    }
  }
  EXPECT_GT(points, 100);
  draw(full(), "n\nn\n\n");  // the whole grid shows the same arrow uncut
  EXPECT_EQ(shown(300, 340), 15);
}

TEST_F(ArrowPicture, ZeroFieldIsRefusedAndChangedLimitsHideArrows) {
  output.postscript_off = output.bitmap_off = false;
  EXPECT_EQ(draw(full(), "n\n"), "Logarithmus bilden [Y/N]:n\n\n### Feldgrößen zu klein ###");
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  set(3, 5, 1, 0);
  set(7, 5, 0.5, 0);
  draw(full(), "n\ny\n0.75\n1\n\n");  // a raised minimum hides the weaker arrow and the zero ones
  EXPECT_EQ((std::vector<int>{shown(px(5), py(7) + 10), shown(px(9), py(6)), shown(px(5), py(3) + 30)}),
            (std::vector<int>{0, 0, 15}));
  draw(full(), "n\ny\n0\n0.5\n\n");  // a lowered maximum hides the stronger one
  EXPECT_EQ((std::vector<int>{shown(px(5), py(3) + 20), shown(px(5), py(7) + 30)}), (std::vector<int>{0, 15}));
}

}  // namespace
}  // namespace tambri
