#include "dialogue/mountain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/picture_test.h"
#include "support/saved_bitmap.h"
#include "support/screen_text.h"
#include "support/session.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::expect_renders;
using test::Records;
using test::records_of;

int count_of(const Records& r, const std::string& record) {
  int n = 0;
  for (const std::string& s : r) n += s == record;
  return n;
}

// The world of 15 x 15 units lies on the viewport (100, 60)-(640, 510) with
// the height upward: world (h, v) is pixel (100 + 36 h, 510 - 30 v).
struct Mountain : test::PictureTest {
  Mountain() {
    use_grid({0, 0.25, 0.5, 0.75, 1}, {0, 0.5, 1});
  }
  void use_grid(const std::vector<double>& x, const std::vector<double>& y) {
    model = test::make_model(kProblemE, x, y);
    model->output_stem = "berg        ";
    model->file_name = "berg.dat    ";
    window = full_display_window(model->grid);
  }
  void set(int i, int j, double v) { fields->strength_x[model->grid.node(i, j)] = v; }
  NodeQuantity quantity() const { return {&fields->strength_x, nullptr, false, "Potential (V)"}; }
  std::string draw(const std::string& answers) {
    return draw_with(*model, window, answers, [this](ResultPicture& p) { draw_mountain(p, quantity()); });
  }
  int shown_world(double h, double v) const {
    return shown(static_cast<int>(std::lround(100 + 36 * h)), static_cast<int>(std::lround(510 - 30 * v)));
  }
  // Pixels of the whole window showing an index in lo..hi.
  int count_between(int lo, int hi) const {
    int n = 0;
    for (std::uint8_t p : viewer.shown) n += p >= lo && p <= hi;
    return n;
  }
  Records page() const { return records_of(dir / "berg_g.ps"); }

  std::unique_ptr<StructureModel> model;
  std::unique_ptr<DerivedFields> fields = std::make_unique<DerivedFields>();
  DisplayWindow window;
};

TEST_F(Mountain, BitmapCarriesTheHeightPaletteAndTheWireColourOfTheBackground) {
  set(3, 2, 1);
  output.bitmap_off = false;
  draw("N\nN\nN\n\n");
  const test::SavedBitmap bmp(dir / "berg_g.bmp");
  ASSERT_TRUE(bmp.complete());
  using C = std::array<int, 3>;
  const C table[13] = {{63, 2, 0},  {63, 18, 0}, {63, 35, 0}, {63, 51, 0}, {58, 63, 0},   {28, 63, 0},  {0, 62, 1},
                       {0, 47, 16}, {0, 31, 32}, {0, 15, 48}, {0, 0, 63},  {30, 30, 30}, {0, 63, 0}};
  for (int k = 1; k <= 13; ++k) EXPECT_EQ(bmp.colour(k), table[k - 1]) << "index " << k;
  EXPECT_EQ(bmp.colour(0), (C{0, 0, 0}));

  output.white_background = true;
  draw("N\nN\nN\n\n");
  const test::SavedBitmap white(dir / "berg_g.bmp");
  EXPECT_EQ(white.colour(13), (C{63, 0, 0}));
  EXPECT_EQ(white.colour(0), (C{63, 63, 63}));
  EXPECT_EQ(white.colour(15), (C{0, 0, 0}));
  EXPECT_EQ(white.colour(11), (C{0, 0, 63}));
  // The bitmap shows the picture before "<Return>" was written.
  const std::vector<std::uint8_t> saved = white.pixels();
  EXPECT_TRUE(test::blank_cells(saved, 35, 75, 8));
  EXPECT_SHOWS_TEXT(viewer.shown, 35, 75, "<Return>");
  EXPECT_SHOWS_TEXT(saved, 33, 35, "x (m) ");
}

TEST_F(Mountain, BoxAndLabelsAlwaysFacetsOnlyWithTwoLinesEachWay) {
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 3; ++j) set(i, j, i * j);
  output.postscript_off = false;
  window = {1, 2, 5, 2};  // one y line
  draw("N\nN\nY\n\n");
  EXPECT_EQ(count_between(1, 10), 0);
  EXPECT_EQ(count_between(12, 14), 0);
  EXPECT_EQ(shown_world(5, 0), 11);  // the floor's front edge
  EXPECT_EQ(shown_world(0, 5), 11);  // the front vertical edge
  EXPECT_EQ(shown_world(10 + 3.5356, 10 + 3.5356), 11);
  EXPECT_EQ(count_of(page(), "c f"), 0);
  EXPECT_SHOWS_TEXT(viewer.shown, 14, 5, " 1.5E+01");
  EXPECT_SHOWS_TEXT(viewer.shown, 32, 5, " 1.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 33, 13, " 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 33, 35, "x (m) ");
  EXPECT_SHOWS_TEXT(viewer.shown, 33, 49, " 1.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 32, 61, " 5.0E-01");
  EXPECT_SHOWS_TEXT(viewer.shown, 27, 73, " 5.0E-01");
  EXPECT_SHOWS_TEXT(viewer.shown, 29, 69, "y (m) ");
  EXPECT_SHOWS_TEXT(viewer.shown, 1, 1, " TAMBRI: Potential (V)            ");
  EXPECT_TRUE(test::blank_cells(viewer.shown, 23, 3, 10));  // "LOG-Betrag" only with the logarithm

  window = {3, 1, 3, 3};  // one x line
  draw("N\nN\nY\n\n");
  EXPECT_EQ(count_between(1, 10), 0);
  EXPECT_EQ(count_of(page(), "c f"), 0);

  window = full_display_window(model->grid);
  draw("Y\nN\nY\n\n");
  EXPECT_GT(count_between(1, 10), 1000);
  EXPECT_EQ(count_of(page(), "c f"), 4 * 2);
  EXPECT_SHOWS_TEXT(viewer.shown, 23, 3, "LOG-Betrag");
  EXPECT_SHOWS_TEXT(viewer.shown, 14, 5, " 1.2E+00");  // log10(15)
}

TEST_F(Mountain, RangeCanOnlyBeWidenedAndAWiderRangeLowersTheSurface) {
  // 0 on the first three x lines, 100 on the last two: the facets between
  // lines 4 and 5 lie at the top.
  for (int j = 1; j <= 3; ++j) set(4, j, 100), set(5, j, 100);
  output.postscript_off = false;
  EXPECT_EQ(draw("N\nN\nY\n\n"),
            "Logarithmus bilden [Y/N]:N\nMin= 0.000E+00\nMax= 1.000E+02\nWertebereich vergrößern [Y/N]:N\n"
            "Einfärben [Y/N]:Y\n\n");
  // The front facet between x = 0.75 and 1: from H 7.5 to 10, V 10 to 10 + D/2.
  EXPECT_EQ(shown_world(9, 10.8), 1);

  EXPECT_EQ(draw("N\nY\nx\n5\n-100\n50\n300\nY\n\n"),
            "Logarithmus bilden [Y/N]:N\nMin= 0.000E+00\nMax= 1.000E+02\nWertebereich vergrößern [Y/N]:Y\n"
            "Min=x\nMin=5\n\n### Min zu gross ###\nMin=-100\nMax=50\n\n### Max zu klein ###\nMax=300\n"
            "Einfärben [Y/N]:Y\n\n");
  // -100..300: the top facets stand at 200/400 of the height, level 6.
  EXPECT_EQ(count_between(1, 5), 0);
  EXPECT_EQ(shown_world(9, 5.8), 6);
  EXPECT_EQ(shown_world(9, 10.8), 0);
  const Records r = page();
  EXPECT_EQ(count_of(r, "( 3.0E+02) "), 1);
  EXPECT_EQ(count_of(r, "(-1.0E+02) "), 1);

  // The current bounds themselves are accepted.
  EXPECT_EQ(draw("N\nY\n0\n100\nN\n\n"),
            "Logarithmus bilden [Y/N]:N\nMin= 0.000E+00\nMax= 1.000E+02\nWertebereich vergrößern [Y/N]:Y\n"
            "Min=0\nMax=100\nEinfärben [Y/N]:N\n\n");
}

TEST_F(Mountain, FacetTakesTheColourOfTheMeanOfItsCorners) {
  use_grid({0, 1}, {0, 1});
  set(1, 2, 110);  // corner P1 (x 0, y 1) at the top, the other three on the floor
  output.postscript_off = false;
  draw("N\nN\nY\n\n");
  // The mean 27.5 is a quarter up: level 3 of 11, index 9 (the highest corner would give 1).
  EXPECT_EQ(shown_world(5, 2), 9);
  EXPECT_EQ(shown_world(3, 8), 9);
  const Records r = page();
  EXPECT_EQ(count_of(r, " 0.47 1.00 1.00 hs"), 1);  // hue of level 3 of 10
  EXPECT_EQ(count_of(r, " 1.00 g"), 1);             // the white outline

  output.black_and_white = true;
  draw("N\nN\nY\n\n");
  EXPECT_EQ(count_of(page(), " 0.70 g"), 1);
}

TEST_F(Mountain, NearFacetsCoverTheLinesOfFacetsBehindThem) {
  use_grid({0, 1}, {0, 1, 2});  // two facets: the back one (y 1..2) and the front one (y 0..1)
  output.postscript_off = false;
  // The back facet's far edge lies at height D (pixel row 404) from H = D to 10 + D.
  const auto far_edge_rows = [this] {
    std::vector<int> column;
    for (int y = 401; y <= 407; ++y) column.push_back(shown(316, y));
    return column;
  };
  draw("N\nN\nN\n\n");  // all flat
  std::vector<int> flat = far_edge_rows();
  EXPECT_NE(std::find(flat.begin(), flat.end(), 13), flat.end());

  // The front edge raised to the top: the front facet rises towards the
  // viewer and covers the back facet.
  set(1, 1, 100);
  set(2, 1, 100);
  draw("N\nN\nN\n\n");
  EXPECT_EQ(far_edge_rows(), std::vector<int>(7, 0));
  EXPECT_EQ(shown_world(5, 6), 0);
  draw("N\nN\nY\n\n");
  EXPECT_EQ(far_edge_rows(), std::vector<int>(7, 6));  // the front facet's colour: mean 50, level 6
  // On the page too the back row comes first.
  const Records r = page();
  const auto first = std::find(r.begin(), r.end(), "   8.0356  13.5356 m");
  const auto second = std::find(r.begin(), r.end(), "   6.2678  11.7678 m");
  ASSERT_NE(first, r.end());
  ASSERT_NE(second, r.end());
  EXPECT_LT(first, second);
}

TEST_F(Mountain, ConstantFieldStandsFlatOnTheFloorAndNonFiniteCornersLeaveTheirFacetsOut) {
  fields->strength_x.fill(7);
  output.postscript_off = false;
  EXPECT_EQ(draw("N\nN\nY\n\n"),
            "Logarithmus bilden [Y/N]:N\nMin= 7.000E+00\nMax= 7.000E+00\nWertebereich vergrößern [Y/N]:N\n"
            "Einfärben [Y/N]:Y\n\n");
  EXPECT_EQ(shown_world(5, 1), 11);
  EXPECT_EQ(count_between(1, 10), 0);

  fields->strength_x.fill(0);
  set(3, 2, std::numeric_limits<double>::quiet_NaN());
  set(5, 3, 4);
  draw("N\nN\nY\n\n");
  EXPECT_EQ(count_of(page(), "c f"), 8 - 4);  // the four facets round the NaN node
  EXPECT_EQ(shown_world(5, 1), 0);            // where they would have been
  TAMBRI_REQUIRE_PROGRAM("gs");
  expect_renders(dir / "berg_g.ps");
}

TEST_F(Mountain, WholePageOfOneFacetRecordByRecord) {
  use_grid({0, 1}, {0, 1});
  set(1, 2, 110);
  output.postscript_off = false;
  draw("N\nN\nN\n\n");
  const Records expected = {
      " 0.0 0.0 0.0 co",
      "(Struktur : berg.dat" + std::string(4 + 35 + 2, ' ') + ") ",
      "   0.0000   2.0000  26.5000   0.6000 /Helvetica t",
      "(TAMBRI: Potential \\(V\\)            ) ",
      "   0.0000   2.0000  28.0000   0.7200 /Helvetica t",
      "   4.5000  10.0000 m",
      // the box: floor, vertical edges, top edges
      " 0.0 0.0 1.0 co",
      "0.02 w",
      "   4.5000  10.0000 m",
      "  14.5000  10.0000 l",
      "  18.0356  13.5356 l",
      "   8.0356  13.5356 l",
      "   4.5000  10.0000 l",
      "s",
      "   4.5000  10.0000 m",
      "   4.5000  20.0000 l",
      "s",
      "   8.0356  13.5356 m",
      "   8.0356  23.5356 l",
      "s",
      "  18.0356  13.5356 m",
      "  18.0356  23.5356 l",
      "s",
      "   4.5000  20.0000 m",
      "   8.0356  23.5356 l",
      "  18.0356  23.5356 l",
      " s",
      "0.01 w",
      // the facet, white with a violet outline
      " 1.00 g",
      "n",
      "   8.0356  23.5356 m",
      "  18.0356  13.5356 l",
      "  14.5000  10.0000 l",
      "   4.5000  10.0000 l",
      "   8.0356  23.5356 l",
      "c f",
      " 1.0 0.0 1.0 co",
      "   8.0356  23.5356 m",
      "  18.0356  13.5356 l",
      "  14.5000  10.0000 l",
      "   4.5000  10.0000 l",
      "   8.0356  23.5356 l",
      // labels
      " s",
      " 0.0 0.0 0.0 co",
      "( 1.1E+02) ",
      "   0.0000   2.5000  19.6000   0.4800 /Helvetica t",
      "( 0.0E+00) ",
      "   0.0000   2.5000  10.0000   0.4800 /Helvetica t",
      "(x \\(m\\) ) ",
      "   0.0000   8.5000   9.0000   0.6000 /Helvetica t",
      "( 0.0E+00) ",
      "   0.0000   4.5000   9.4000   0.4800 /Helvetica t",
      "( 1.0E+00) ",
      "   0.0000  12.5000   9.4000   0.4800 /Helvetica t",
      "( 0.0E+00) ",
      "   0.0000  14.9000  10.0000   0.4800 /Helvetica t",
      "( 1.0E+00) ",
      "   0.0000  18.2356  13.5356   0.4800 /Helvetica t",
      "(y \\(m\\) ) ",
      "   0.0000  16.7678  11.4678   0.6000 /Helvetica t",
      "   0.0000   0.0000 m",
      "showpage",
  };
  const Records all = page();
  ASSERT_EQ(all.size(), 21 + expected.size());
  for (size_t n = 0; n < expected.size(); ++n) EXPECT_EQ(all[21 + n], expected[n]) << "record " << 22 + n;

  // Black and white with the logarithm: a black outline and the page's LOG-Betrag.
  output.black_and_white = true;
  draw("Y\nN\nN\n\n");
  const Records grey = page();
  EXPECT_EQ(count_of(grey, " 0.0 0.0 1.0 co"), 0);
  EXPECT_EQ(count_of(grey, " 1.0 0.0 1.0 co"), 0);
  EXPECT_EQ(count_of(grey, " 0.0 0.0 0.0 co"), 4);  // titles, box, outline, labels
  EXPECT_EQ(count_of(grey, "(LOG-Betrag) "), 1);
  EXPECT_EQ(count_of(grey, "   0.0000   9.5000   6.0000   0.9600 /Helvetica t"), 1);
  TAMBRI_REQUIRE_PROGRAM("gs");
  expect_renders(dir / "berg_g.ps");
}

TEST_F(Mountain, GhostscriptRendersEveryVariantInColourAndGrey) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  use_grid(test::lines(0, 0.04, 11, 1.1), test::lines(0, 0.02, 9));
  for (int i = 1; i <= 11; ++i)
    for (int j = 1; j <= 9; ++j) set(i, j, (i - 4) * (j - 5) * 2.5);
  output.postscript_off = false;
  output.comment = "(Klammer) \\ Test";
  for (bool grey : {false, true}) {
    output.black_and_white = grey;
    for (const char* answers : {"N\nN\nN\n\n", "N\nN\nY\n\n", "Y\nN\nY\n\n", "N\nY\n-500\n500\nY\n\n"}) {
      SCOPED_TRACE(std::string(grey ? "grey " : "colour ") + answers);
      draw(answers);
      expect_renders(dir / "berg_g.ps");
    }
  }
}

}  // namespace
}  // namespace tambri
