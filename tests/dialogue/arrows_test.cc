#include "dialogue/arrows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <regex>
#include <sstream>
#include <vector>

#include "support/external_tools.h"
#include "support/picture_test.h"
#include "support/recording_viewer.h"
#include "support/session.h"
#include "support/solve_fixture.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

using test::lines;
using test::RecordingViewer;

// One point record of the page: x, y and "m" or "l".
struct PagePoint {
  double x, y;
  char op;
};

// The point records of the picture: up to the move back to the page corner
// before the legend.
std::vector<PagePoint> picture_points(const std::string& ps) {
  std::vector<PagePoint> points;
  std::istringstream in(ps.substr(0, ps.find("   0.0000   0.0000 m\n")));
  const std::regex record(R"(^ *(-?[0-9]*\.[0-9]+) *(-?[0-9]*\.[0-9]+) ([ml])$)");
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, m, record)) points.push_back({std::stod(m[1]), std::stod(m[2]), m[3].str()[0]});
  }
  return points;
}

const PagePoint* point_near(const std::vector<PagePoint>& points, double x, double y) {
  for (const PagePoint& p : points) {
    if (std::fabs(p.x - x) < 2e-4 && std::fabs(p.y - y) < 2e-4) return &p;
  }
  return nullptr;
}

// Grids on 0..1 m: in a square full window node (i, j) lies at pixel
// (600 Y(j), 25 + 600 X(i)).
struct ArrowPicture : test::PictureTest {
  ArrowPicture() { use_grid(11, 21); }

  void use_grid(int nx, int ny) {
    model = test::make_model(kProblemE, lines(0, 1, nx), lines(0, 1, ny));
    model->output_stem = "PFEIL       ";
    a->fill(0);
    b->fill(0);
  }
  DisplayWindow full() const { return {1, 1, model->grid.nx, model->grid.ny}; }
  void set(int i, int j, double ax, double by) {
    (*a)[static_cast<size_t>(model->grid.node(i, j))] = ax;
    (*b)[static_cast<size_t>(model->grid.node(i, j))] = by;
  }
  // Draws with `answers` as the console input; returns the screen.
  std::string draw(const DisplayWindow& window, const std::string& answers) {
    return draw_with(*model, window, answers, [this](ResultPicture& p) {
      draw_arrows(p, {a.get(), b.get(), "Feldstaerke E  (V/m)"});
    });
  }
  // The pixel of node (i, j) in the full square window.
  long px(int j) const { return std::lround(600 * model->grid.y[j]); }
  long py(int i) const { return 25 + std::lround(600 * model->grid.x[i]); }
  int count_in_column(long x, int index) const {
    int n = 0;
    for (long y = 25; y <= 625; ++y) n += shown(x, y) == index;
    return n;
  }
  std::string page() const {
    const std::string ps = test::read_file(dir / "PFEIL_p.ps");
    if (test::program_available("gs")) {
      const test::CommandResult gs = test::render_postscript((dir / "PFEIL_p.ps").string());
      EXPECT_TRUE(test::rendered_cleanly(gs)) << gs.output;
    }
    return ps;
  }

  std::unique_ptr<StructureModel> model;
  std::unique_ptr<NodeArray> a = std::make_unique<NodeArray>(), b = std::make_unique<NodeArray>();
};

TEST_F(ArrowPicture, UniformFieldGivesEqualArrowsOfTheSmallerCellAlongItsAxis) {
  // 11 x 21 lines: cells of 1/9 down and 1/19 across, so every arrow is
  // 0.95 / 19 m = 30 pixels long, half the distance to the next node along x.
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
    const double magnitude = std::fabs(c.ax + c.by);
    EXPECT_EQ(draw(full(), "n\nn\n\n"), "Logarithmus bilden [Y/N]:n\nMin=" + format_e10(magnitude) + "\nMax=" +
                                            format_e10(magnitude) + "\nWerte ändern [Y/N]:n\n\n");
    // The nodes whose arrows stay on the screen.
    const int i_from = c.dy < 0 ? 2 : 1, i_to = c.dy > 0 ? c.nx - 1 : c.nx;
    const int j_from = c.dx < 0 ? 2 : 1, j_to = c.dx > 0 ? c.ny - 1 : c.ny;
    for (int i = i_from + 1; i < i_to; i += 3) {
      for (int j = j_from + 1; j < j_to; j += 3) {
        const long x = px(j), y = py(i);
        SCOPED_TRACE(testing::Message() << "node " << i << ", " << j << " of " << c.nx << " x " << c.ny);
        EXPECT_EQ(shown(x + 15 * c.dx, y + 15 * c.dy), 15);
        EXPECT_EQ(shown(x + 30 * c.dx, y + 30 * c.dy), 15);  // the tip
        EXPECT_EQ(shown(x + 31 * c.dx, y + 31 * c.dy), 0);
        EXPECT_EQ(shown(x + 34 * c.dx, y + 34 * c.dy), 0);
        EXPECT_EQ(shown(x + 15 * c.dy, y + 15 * c.dx), 0);  // beside the shaft
        // The head: 0.3 of the length back, 0.108 of it (3.2 pixels) aside.
        EXPECT_EQ(shown(x + 21 * c.dx + 3 * c.dy, y + 21 * c.dy + 3 * c.dx), 15);
        EXPECT_EQ(shown(x + 21 * c.dx - 3 * c.dy, y + 21 * c.dy - 3 * c.dx), 15);
        EXPECT_EQ(shown(x + 21 * c.dx + 5 * c.dy, y + 21 * c.dy + 5 * c.dx), 0);
      }
    }
  }
}

TEST_F(ArrowPicture, TenthOfTheMaximumOnTheLinearAndTheLogarithmicScale) {
  set(3, 5, 1, 0);
  set(7, 5, 0.1, 0);
  set(7, 9, std::nan(""), 0);  // left out, and so is the infinite one
  set(7, 13, 0, std::numeric_limits<double>::infinity());
  const long x = px(5), y = py(7);
  // Linear: 0.095 of the cell, 3 pixels.
  EXPECT_NE(draw(full(), "n\nn\n\n").find("Min= 0.000E+00\nMax= 1.000E+00"), std::string::npos);
  EXPECT_EQ(shown(x, y + 3), 15);
  EXPECT_EQ(shown(x, y + 5), 0);
  EXPECT_EQ(shown(px(9), py(7)), 0);
  EXPECT_EQ(shown(px(13), py(7)), 0);
  EXPECT_EQ(shown(px(9), py(6)), 15);  // the zero arrows of the other nodes are dots
  // Text row 1 from column 49 on, right of the title.
  const auto title_tail = [&](int index) {
    int n = 0;
    for (long y = 0; y < 16; ++y)
      for (long x = 384; x < 600; ++x) n += shown(x, y) == index;
    return n;
  };
  EXPECT_EQ(title_tail(15), 0);
  // Logarithmic: 0.855 of the cell, 25.65 pixels; the maximum keeps 30.
  draw(full(), "y\nn\n\n");
  EXPECT_EQ(shown(x, y + 25), 15);
  EXPECT_EQ(shown(x, y + 26), 15);
  EXPECT_EQ(shown(x, y + 28), 0);
  EXPECT_EQ(shown(px(5), py(3) + 30), 15);
  EXPECT_EQ(shown(px(5), py(3) + 31), 0);
  EXPECT_GT(title_tail(15), 20);  // "LOG-Betrag"
}

TEST_F(ArrowPicture, FortyIntervalsOfferEveryOtherLine) {
  use_grid(41, 41);  // 15 pixels apart
  a->fill(1);
  EXPECT_EQ(draw(full(), "n\nN\nn\n\n"),
            "Logarithmus bilden [Y/N]:n\nAlle Pfeile zeichnen [Y/N]:N\nMin= 1.000E+00\nMax= 1.000E+00\n"
            "Werte ändern [Y/N]:n\n\n");
  EXPECT_EQ(count_in_column(px(2), 15), 0);
  EXPECT_GT(count_in_column(px(3), 15), 500);
  // Thinned by two, the cell doubles: 0.95 * 2 / 39 m, 29.2 pixels, with the
  // head 20.5 pixels down and 3.2 aside.
  EXPECT_EQ(shown(px(3) - 3, py(3) + 20), 15);
  draw(full(), "n\nY\nn\n\n");
  EXPECT_GT(count_in_column(px(2), 15), 500);
  EXPECT_EQ(shown(px(3), py(3) + 15), 15);  // the next node's own arrow starts there
  EXPECT_EQ(shown(px(3) - 3, py(3) + 20), 0);  // the head 10.2 pixels down, 1.6 aside
  // 39 intervals: no question.
  EXPECT_EQ(draw({1, 1, 40, 40}, "n\nn\n\n").find("Alle Pfeile"), std::string::npos);
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
  output.bitmap_off = false;
  draw(full(), "n\nn\n\n");
  // The higher potential in colour 9 (red), the lower in colour 1 (blue),
  // over the arrows; the legend keeps 9 at the top.
  EXPECT_EQ(shown(300, 27), 9);
  EXPECT_EQ(shown(300, 622), 1);
  EXPECT_EQ(shown(620, 25 + 16), 9);
  EXPECT_EQ(shown(620, 25 + 8 * 32 + 16), 1);
  // Each value in its colour beside its box: rows 3 and 19 of the window.
  const auto count_in_text = [&](long row, int index) {
    int n = 0;
    for (long y = 16 * (row - 1); y < 16 * row; ++y)
      for (long x = 680; x < 744; ++x) n += shown(x, y) == index;
    return n;
  };
  EXPECT_GT(count_in_text(3, 9), 10);
  EXPECT_GT(count_in_text(19, 1), 10);
  EXPECT_EQ(count_in_text(11, 5), 0);
  // The diamond over the cell of (6, 6), corners 30 pixels off the node, and
  // the left half of one on the border.
  EXPECT_EQ(shown(315, 310), 13);
  EXPECT_EQ(shown(285, 340), 13);
  EXPECT_EQ(shown(585, 310), 13);
  EXPECT_EQ(shown(600, 340), 13);
  EXPECT_EQ(test::read_file(dir / "PFEIL_p.bmp").size(), 14u + 40 + 1024 + 800 * 630);

  // On the page the fills use levels 1 and 9 of nine, and nothing between;
  // the legend then shows all nine, each value at its colour's box.
  for (const bool grey : {false, true}) {
    output.black_and_white = grey;
    draw(full(), "n\nn\n\n");
    const std::string ps = page();
    const std::string picture = ps.substr(0, ps.find("(Abmessungen"));
    const char* level1 = grey ? " 0.89 g" : " 0.59 1.00 1.00 hs";
    const char* level9 = grey ? " 0.00 g" : " 0.00 1.00 1.00 hs";
    const char* level5 = grey ? " 0.44 g" : " 0.30 1.00 1.00 hs";
    EXPECT_NE(picture.find(level1), std::string::npos);
    EXPECT_NE(picture.find(level9), std::string::npos);
    EXPECT_EQ(picture.find(level5), std::string::npos);
    EXPECT_NE(ps.find(level5), std::string::npos);
    EXPECT_NE(ps.find("( 1.0E+01) \n   0.0000  18.0000   5.5000   0.4800 /Helvetica t"), std::string::npos);
    EXPECT_NE(ps.find("( 0.0E+00) \n   0.0000   2.0000   5.5000   0.4800 /Helvetica t"), std::string::npos);
    EXPECT_NE(ps.find("(Phi \\(V\\)) \n   0.0000   9.3000   6.5000   0.6000 /Helvetica t"), std::string::npos);
    EXPECT_NE(ps.find("(\\(Abmessungen \\(m\\):  Xb= 0.00E+00      Xe= 1.00E+00      Yb= 0.00E+00      Ye= 1.00E+00\\)) "),
              std::string::npos);
  }
}

TEST_F(ArrowPicture, ArrowsLeavingTheRegionAreMaskedOnTheScreenAndCutOnThePage) {
  use_grid(11, 11);
  output.postscript_off = false;
  // The upper half (x 0..0.5) true to scale: the square below it is empty.
  // The arrow of (6, 6) points from the lower border into it; the one of
  // (5, 3) ends just beyond the border with its head inside.
  set(6, 6, 1, 0);
  set(5, 3, 1, 0);
  EXPECT_EQ(draw({1, 1, 6, 11}, "n\nN\nn\n\n"),
            "Logarithmus bilden [Y/N]:n\nVolles Zeichenfenster [Y/N]:N\nMin= 0.000E+00\nMax= 1.000E+00\n"
            "Werte ändern [Y/N]:n\n\n");
  EXPECT_FALSE(memory.arrows_full_window);
  EXPECT_EQ(shown(300, 327), 15);  // up to 0.005 of the square beyond the border
  EXPECT_EQ(shown(300, 340), 0);
  // Page: the picture's points all lie in the region (16 cm per metre,
  // origin at (3, 21) cm: x 0..0.5 m is 21..13 cm); the point of the node
  // is there, the tip of the leaving arrow is not, and the head inside has
  // its two points but no line between them across the missing tip.
  const std::vector<PagePoint> points = picture_points(page());
  ASSERT_GT(points.size(), 100u);
  for (const PagePoint& p : points) {
    EXPECT_GE(p.y, 13 - 1e-4);
    EXPECT_LE(p.y, 21 + 1e-4);
  }
  ASSERT_NE(point_near(points, 11, 13), nullptr);
  const double len = 0.949999988079071 / 9, h = 0.30000001192092896 * len, q = 0.36000001430511475 * h;
  const double head_x = 21 - 16 * (0.4 + len - h);
  for (const double side : {-q, q}) {
    const PagePoint* head = point_near(points, 3 + 16 * (0.2 + side), head_x);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->op, 'm');
  }
  // The whole grid shows the same arrow (its cells are the same) uncut.
  draw(full(), "n\nn\n\n");
  EXPECT_EQ(shown(300, 340), 15);

  // Across: the right half of the square is masked.
  use_grid(11, 11);
  set(6, 6, 0, 1);
  draw({1, 1, 11, 6}, "n\nN\nn\n\n");
  EXPECT_EQ(shown(302, 325), 15);
  EXPECT_EQ(shown(315, 325), 0);
  draw({1, 1, 11, 6}, "n\nY\nn\n\n");  // stretched over the viewport and clipped
  EXPECT_TRUE(memory.arrows_full_window);
  EXPECT_FALSE(memory.equicolour_full_window);
  draw(full(), "n\nn\n\n");  // square: no question, the answer kept
  EXPECT_TRUE(memory.arrows_full_window);
}

TEST_F(ArrowPicture, ZeroFieldAndLimitsThatCannotScaleAreRefused) {
  output.postscript_off = false;
  output.bitmap_off = false;
  EXPECT_EQ(draw(full(), "n\n"), "Logarithmus bilden [Y/N]:n\n\n### Feldgrößen zu klein ###");
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  set(3, 5, 1, 0);
  set(7, 5, 0.5, 0);
  const std::string screen = draw(full(), "n\ny\n5\n-1\n5\n1\na\n0\n0\n0.75\n1\n\n");
  EXPECT_NE(screen.find("Werte ändern [Y/N]:y\nMin=5\nMax=-1\n\n### Max. kleiner Min. ###\nMin=5\nMax=1\n\n"
                        "### Max. kleiner Min. ###\nMin=a\nMin=0\nMax=0\n\n### Max. kleiner Min. ###\n"
                        "Min=0.75\nMax=1\n"),
            std::string::npos)
      << screen;
  // Raised minimum: the weaker arrow and the zero ones are gone.
  EXPECT_EQ(shown(px(5), py(7)), 0);
  EXPECT_EQ(shown(px(5), py(7) + 10), 0);
  EXPECT_EQ(shown(px(9), py(6)), 0);
  EXPECT_EQ(shown(px(5), py(3) + 30), 15);
  // Lowered maximum: the stronger one is gone, the weaker one full length.
  draw(full(), "n\ny\n0\n0.5\n\n");
  EXPECT_EQ(shown(px(5), py(3) + 20), 0);
  EXPECT_EQ(shown(px(5), py(7) + 30), 15);
}

TEST_F(ArrowPicture, GhostscriptRendersEveryKindOfArrowPicture) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  use_grid(41, 21);
  for (int j = 1; j <= 21; ++j) model->grid.y[j] /= 2;  // 1 m down, 0.5 m across
  model->tables.potential[1] = -5;
  model->tables.potential[3] = 7;
  model->tables.potential[4] = 2;
  test::set_block(*model, 1, 1, 1, 21, 10);
  test::set_block(*model, 20, 22, 9, 12, 30);
  test::set_block(*model, 41, 41, 1, 21, 40);
  test::set_block(*model, 10, 12, 1, 3, 200);
  for (int k = 1; k <= model->grid.nodes(); ++k) {
    (*a)[static_cast<size_t>(k)] = std::sin(0.37 * k);
    (*b)[static_cast<size_t>(k)] = std::cos(0.21 * k) * 3;
  }
  output.postscript_off = false;
  output.comment = "(Klammer) \\ Test" + std::string(19, ' ');
  const std::vector<std::pair<DisplayWindow, std::string>> cases = {
      {full(), "n\nY\nN\nn\n\n"},                  // full window, thinned
      {full(), "y\nN\nY\nn\n\n"},                  // logarithmic, true to scale, every arrow
      {{5, 2, 30, 20}, "n\nN\ny\n0.5\n2\n\n"},     // zoomed, limits changed
      {{20, 20, 21, 21}, "y\nn\n\n"},              // two lines each way
  };
  for (const bool grey : {false, true}) {
    output.black_and_white = grey;
    output.white_background = grey;
    for (const auto& [window, answers] : cases) {
      draw(window, answers);
      const test::CommandResult gs = test::render_postscript((dir / "PFEIL_p.ps").string());
      EXPECT_TRUE(test::rendered_cleanly(gs)) << answers << gs.output;
    }
  }
}

}  // namespace
}  // namespace tambri
