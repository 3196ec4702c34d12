#include "dialogue/equicolour.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/picture_test.h"
#include "support/saved_bitmap.h"
#include "support/screen_text.h"
#include "support/session.h"
#include "support/solve_fixture.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

using test::expect_renders;
using test::Records;
using test::records_of;

// A 0..1 x 0..1 grid with lines every 0.1 (11 x 11 nodes): in the full
// window node (i, j) lies at pixel (60 (j - 1), 25 + 60 (i - 1)) and its cell
// reaches 30 pixels to each side, half of that at the border.
struct Equicolour : test::PictureTest {
  Equicolour() {
    const std::vector<double> tenths = test::lines(0, 1, 11);
    model = test::make_model(kProblemE, tenths, tenths);
    model->output_stem = "bild        ";
    model->file_name = "bild.dat    ";
    window = full_display_window(model->grid);
  }
  void set(int i, int j, double v) { fields->strength_x[model->grid.node(i, j)] = v; }
  NodeQuantity quantity() const { return {&fields->strength_x, nullptr, false, "Potential (V)"}; }
  // Draws with `answers` as the console input; returns what the console showed.
  std::string draw(const std::string& answers) {
    return draw_with(*model, window, answers, [this](ResultPicture& p) { draw_equicolour(p, quantity()); });
  }
  int count_in_picture(int index) const {
    int n = 0;
    for (int y = 25; y <= 625; ++y)
      for (int x = 0; x <= 600; ++x) n += shown(x, y) == index;
    return n;
  }

  std::unique_ptr<StructureModel> model;
  std::unique_ptr<DerivedFields> fields = std::make_unique<DerivedFields>();
  DisplayWindow window;
};

TEST_F(Equicolour, BitmapCarriesTheRampAndTheBarRunsFromMaximumAtTheTopToMinimum) {
  set(5, 5, 1);
  output.bitmap_off = false;
  draw("N\n\n");
  const test::SavedBitmap bmp(dir / "bild_c.bmp");
  ASSERT_TRUE(bmp.complete());
  using C = std::array<int, 3>;
  EXPECT_EQ(bmp.colour(16), (C{0, 0, 63}));
  EXPECT_EQ(bmp.colour(41), (C{0, 31, 32}));  // 25 * 1.26f = 31.4999998 truncates to 31
  EXPECT_EQ(bmp.colour(66), (C{0, 62, 1}));
  EXPECT_EQ(bmp.colour(67), (C{0, 63, 0}));
  EXPECT_EQ(bmp.colour(93), (C{60, 63, 0}));
  EXPECT_EQ(bmp.colour(94), (C{63, 63, 0}));
  EXPECT_EQ(bmp.colour(116), (C{63, 36, 0}));
  EXPECT_EQ(bmp.colour(143), (C{63, 2, 0}));
  EXPECT_EQ(bmp.colour(0), (C{0, 0, 0}));
  // The bitmap is the picture as shown, before " <Return>" was written.
  const std::vector<std::uint8_t> saved = bmp.pixels();
  EXPECT_TRUE(test::blank_cells(saved, 29, 84, 9));
  EXPECT_SHOWS_TEXT(viewer.shown, 29, 84, " <Return>");
  EXPECT_SHOWS_TEXT(saved, 3, 85, " 1.0E+00");

  // Bar boxes from pixel 615 to 645: 143 at the top, then every index once down to 16.
  EXPECT_EQ(bmp.pixel(630, 26), 143);
  EXPECT_EQ(bmp.pixel(630, 298), 16);
  EXPECT_EQ(bmp.pixel(612, 100), 0);
  EXPECT_EQ(bmp.pixel(648, 100), 0);
  std::set<int> seen;
  int previous_index = 143;
  for (int y = 25; y <= 299; ++y) {
    const int index = bmp.pixel(630, y);
    if (index == 0) continue;  // the gaps between boxes
    EXPECT_LE(index, previous_index) << y;
    previous_index = index;
    seen.insert(index);
  }
  EXPECT_EQ(seen.size(), 128u);
  EXPECT_EQ(*seen.begin(), 16);

  output.white_background = true;
  draw("N\n\n");
  const test::SavedBitmap white(dir / "bild_c.bmp");
  EXPECT_EQ(white.colour(0), (C{63, 63, 63}));
  EXPECT_EQ(white.colour(15), (C{0, 0, 0}));
  EXPECT_EQ(white.pixel(612, 100), 0);
  EXPECT_EQ(surface.palette()[0], 0u);  // the dialogue's colours come back
  EXPECT_EQ(surface.palette()[15], 0x3F3F3Fu);
}

TEST_F(Equicolour, CellsTakeTheColourOfTheirValueOnTheScaleOfTheWholeGrid) {
  // 0..128: one level per unit, margin 0.01.
  set(3, 4, 128);
  set(6, 6, 64.5);
  EXPECT_EQ(draw("n\n\n"), "Logarithmus bilden [Y/N]:n\n\n");  // square: no window question
  EXPECT_EQ(shown(180, 145), 143);
  EXPECT_EQ(shown(155, 125), 143);  // the whole cell, 30 pixels to each side
  EXPECT_EQ(shown(300, 325), 80);
  EXPECT_EQ(shown(400, 400), 16);
  EXPECT_SHOWS_TEXT(viewer.shown, 1, 1, " TAMBRI: Potential (V)            ");
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 1.3E+02");
  EXPECT_SHOWS_TEXT(viewer.shown, 18, 85, " 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 24, 82, "Xb= 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 25, 82, "Xe= 1.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 26, 82, "Yb= 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 27, 82, "Ye= 1.0E+00");
  EXPECT_TRUE(test::blank_cells(viewer.shown, 10, 85, 8));  // " LOG ABS" only with the logarithm

  // A constant field is the lowest colour everywhere.
  fields->strength_x.fill(7.5);
  draw("N\n\n");
  EXPECT_EQ(count_in_picture(16), 601 * 601);
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 7.5E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 18, 85, " 7.5E+00");
}

TEST_F(Equicolour, LogarithmTakesZerosToMinusThirtyAndNegativesByTheirSize) {
  set(2, 2, -1000);
  draw("Y\n\n");
  EXPECT_EQ(shown(60, 85), 143);      // log10(1000) = 3
  EXPECT_EQ(shown(300, 325), 16);     // log10(1.0E-30) = -30
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 3.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 18, 85, "-3.0E+01");
  EXPECT_SHOWS_TEXT(viewer.shown, 10, 85, " LOG ABS");
}

TEST_F(Equicolour, BorderCellsAreHalfCellsAndAZoomKeepsTheColoursOfTheWholeGrid) {
  set(1, 1, 128);
  set(11, 11, 64.5);
  draw("N\n\n");
  // The corner node's cell is the quarter inside the region.
  EXPECT_EQ(shown(0, 25), 143);
  EXPECT_EQ(shown(29, 54), 143);
  EXPECT_EQ(shown(31, 40), 16);
  EXPECT_EQ(shown(15, 56), 16);
  EXPECT_EQ(shown(600, 625), 80);
  EXPECT_EQ(shown(571, 596), 80);
  EXPECT_EQ(shown(568, 610), 16);
  EXPECT_EQ(shown(601, 300), 0);  // nothing beyond the region

  // Lines 3..8 (0.2..0.7) fill the viewport, 1200 pixels per metre: the border
  // cells are 60 pixels, the inner ones 120.
  set(3, 3, 64.5);
  set(4, 4, 32.5);
  window = {3, 3, 8, 8};
  draw("N\n\n");
  EXPECT_EQ(count_in_picture(143), 0);  // the maximum lies outside the region
  EXPECT_EQ(shown(0, 25), 80);
  EXPECT_EQ(shown(58, 83), 80);
  EXPECT_EQ(shown(63, 40), 16);
  EXPECT_EQ(shown(40, 88), 16);
  EXPECT_EQ(shown(64, 88), 48);    // node (4, 4): 32.5 is level 33
  EXPECT_EQ(shown(178, 203), 48);
  EXPECT_EQ(shown(182, 150), 16);
  EXPECT_SHOWS_TEXT(viewer.shown, 24, 82, "Xb= 2.0E-01");
  EXPECT_SHOWS_TEXT(viewer.shown, 27, 82, "Ye= 7.0E-01");
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 1.3E+02");  // labels of the whole grid's range
}

TEST_F(Equicolour, OblongRegionIsTrueToScaleForNAndFillsTheViewportForY) {
  fields->strength_x.fill(64.5);
  set(1, 1, 0);
  set(11, 11, 128);
  window = {1, 1, 11, 6};  // 1 m down, 0.5 m across
  EXPECT_EQ(draw("N\nn\n\n"), "Logarithmus bilden [Y/N]:N\nVolles Zeichenfenster [Y/N]:n\n\n");
  EXPECT_FALSE(memory.equicolour_full_window);
  EXPECT_EQ(shown(290, 325), 80);
  EXPECT_EQ(shown(310, 325), 0);  // 0.5 m ends at pixel 300
  EXPECT_EQ(shown(450, 325), 0);
  EXPECT_EQ(shown(100, 620), 80);

  EXPECT_EQ(draw("N\nY\n\n"), "Logarithmus bilden [Y/N]:N\nVolles Zeichenfenster [Y/N]:Y\n\n");
  EXPECT_TRUE(memory.equicolour_full_window);
  EXPECT_EQ(shown(450, 325), 80);
  EXPECT_EQ(shown(600, 325), 80);

  // A square region asks nothing and keeps the answer for the next picture.
  window = full_display_window(model->grid);
  EXPECT_EQ(draw("N\n\n"), "Logarithmus bilden [Y/N]:N\n\n");
  EXPECT_TRUE(memory.equicolour_full_window);
  model->grid.y[11] = 1.0 + 9.99999987e-6;  // above the single-precision 1.0E-5
  EXPECT_EQ(draw("N\nN\n\n"), "Logarithmus bilden [Y/N]:N\nVolles Zeichenfenster [Y/N]:N\n\n");
  EXPECT_FALSE(memory.equicolour_full_window);
}

TEST_F(Equicolour, NodesWithoutAFiniteValueAreLeftOutOfPictureAndRange) {
  set(2, 2, std::numeric_limits<double>::quiet_NaN());
  set(5, 5, std::numeric_limits<double>::infinity());
  set(6, 6, -std::numeric_limits<double>::infinity());
  set(8, 8, 4);
  output.postscript_off = false;
  draw("N\n\n");
  EXPECT_EQ(shown(60, 85), 0);
  EXPECT_EQ(shown(240, 265), 0);
  EXPECT_EQ(shown(300, 325), 0);
  EXPECT_EQ(shown(420, 445), 143);
  EXPECT_EQ(shown(420, 400), 16);
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 85, " 4.0E+00");
  // Three cells fewer on the page: one hue and eight path records each.
  const Records r = records_of(dir / "bild_c.ps");
  int cells = 0;
  for (const std::string& record : r) cells += record == "c f";
  EXPECT_EQ(cells, 121 - 3 + 128);
  TAMBRI_REQUIRE_PROGRAM("gs");
  expect_renders(dir / "bild_c.ps");
}

TEST_F(Equicolour, GhostscriptRendersEveryVariantInColourAndGrey) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  for (int i = 1; i <= 11; ++i)
    for (int j = 1; j <= 11; ++j) set(i, j, (i - 6) * (j - 3) * 1.0E-3);
  output.postscript_off = false;
  output.comment = "(Klammer) \\ Test";
  window = {2, 1, 11, 8};
  for (bool grey : {false, true}) {
    output.black_and_white = grey;
    for (const char* answers : {"N\nN\n\n", "N\nY\n\n", "Y\nN\n\n", "Y\nY\n\n"}) {
      draw(answers);
      SCOPED_TRACE(std::string(grey ? "grey " : "colour ") + answers);
      expect_renders(dir / "bild_c.ps");
    }
  }
}

// The record of a point as the writer puts it: two F9.4 numbers and the operator.
std::string point(double x, double y, const char* op) { return format_f(x, 9, 4) + format_f(y, 9, 4) + op; }

void append_filled_box(Records& r, double x1, double y1, double x2, double y2) {
  for (const std::string& s : {point(x1, y1, " m"), std::string("n"), point(x1, y1, " m"), point(x2, y1, " l"),
                               point(x2, y2, " l"), point(x1, y2, " l"), point(x1, y1, " l"), std::string("c f")}) {
    r.push_back(s);
  }
}

// Three x lines 0.01 m apart by two y lines: 0.02 m down, 0.01 m across, so
// true to scale the page has 800 cm per metre and the origin at (7, 25).
struct EquicolourPage : Equicolour {
  EquicolourPage() {
    model = test::make_model(kProblemE, {0, 0.01, 0.02}, {0, 0.01});
    model->output_stem = "s           ";
    window = full_display_window(model->grid);
    output.postscript_off = false;
    // Values 0..5 (d = 5/128): levels 1, 26, 52, 77, 103 and 128.
    for (int k = 1; k <= 6; ++k) fields->strength_x[k] = k - 1;
  }
  Records head() const {
    Records r = records_of(dir / "s_c.ps");
    return r.size() > 21 ? Records(r.begin() + 21, r.end()) : Records{};
  }
};

TEST_F(EquicolourPage, WholeFileRecordByRecord) {
  EXPECT_EQ(draw("N\nN\n\n"), "Logarithmus bilden [Y/N]:N\nVolles Zeichenfenster [Y/N]:N\n\n");
  Records expected = {
      " 0.0 0.0 0.0 co",
      "(TAMBRI: Potential \\(V\\)            ) ",
      "   0.0000   3.0000  28.0000   0.7200 /Helvetica t",
      "(Struktur : s" + std::string(11 + 35 + 2, ' ') + ") ",
      "   0.0000   3.0000  27.0000   0.6000 /Helvetica t",
      "   7.0000  25.0000 m",
  };
  // Cells row by row down x, each across y: node values 0, 3 / 1, 4 / 2, 5.
  const struct {
    const char* hue;
    double x1, y1, x2, y2;
  } cells[] = {{" 0.66", 7, 25, 11, 21}, {" 0.27", 11, 25, 15, 21}, {" 0.53", 7, 21, 11, 13},
               {" 0.13", 11, 21, 15, 13}, {" 0.40", 7, 13, 11, 9},  {" 0.00", 11, 13, 15, 9}};
  for (const auto& c : cells) {
    expected.push_back(std::string(c.hue) + " 1.00 1.00 hs");
    append_filled_box(expected, c.x1, c.y1, c.x2, c.y2);
  }
  for (const char* s : {" 0.0 0.0 0.0 co", "0.02 w", "   7.0000  25.0000 m", "  15.0000  25.0000 l",
                        "  15.0000   9.0000 l", "   7.0000   9.0000 l", "   7.0000  25.0000 l", " s",
                        " 0.0 0.0 0.0 co", "0.01 w", "   0.0000   0.0000 m",
                        "(\\(Abmessungen \\(m\\):  Xb= 0.00E+00      Xe= 2.00E-02      Yb= 0.00E+00      Ye= "
                        "1.00E-02\\)) ",
                        "   0.0000   3.0000  25.5000   0.3600 /Helvetica t"}) {
    expected.push_back(s);
  }
  for (int k = 1; k <= 128; ++k) {
    expected.push_back(format_f(0.667 * (128 - k) / 128, 5, 2) + " 1.00 1.00 hs");
    append_filled_box(expected, 3 + 0.125 * (k - 1), 4, 3.125 + 0.125 * (k - 1), 5);
  }
  for (const char* s : {" 0.0 0.0 0.0 co", "0.02 w", "   3.0000   4.0000 m", "  19.0000   4.0000 l",
                        "  19.0000   5.0000 l", "   3.0000   5.0000 l", "   3.0000   4.0000 l", " s", "0.01 w",
                        " 0.0 0.0 1.0 co", "( 0.0E+00) ", "   0.0000   3.0000   6.0000   0.6000 /Helvetica t",
                        " 0.7 1.0 0.0 co", "( 2.5E+00) ", "   0.0000   9.6000   6.0000   0.6000 /Helvetica t",
                        " 1.0 0.0 0.0 co", "( 5.0E+00) ", "   0.0000  16.3000   6.0000   0.6000 /Helvetica t",
                        "showpage"}) {
    expected.push_back(s);
  }
  const Records r = head();
  ASSERT_EQ(r.size(), expected.size());
  for (size_t n = 0; n < r.size(); ++n) EXPECT_EQ(r[n], expected[n]) << "record " << n + 22;
  // The line of the region's bounds is 86 characters without the escapes.
  std::string bounds = r[6 + 6 * 9 + 11].substr(1, r[6 + 6 * 9 + 11].size() - 3);
  std::erase(bounds, '\\');
  EXPECT_EQ(bounds.size(), 86u);
  EXPECT_EQ(bounds.back(), ')');
  TAMBRI_REQUIRE_PROGRAM("gs");
  expect_renders(dir / "s_c.ps");
}

TEST_F(EquicolourPage, GreyLevelsBlackLabelsAndTheLogarithmLine) {
  output.black_and_white = true;
  output.comment = "Probe (1)";
  fields->strength_x[1] = 1.0E-3;  // values 1E-3, 1 .. 5: logarithms -3 .. 0.70
  draw("Y\nY\n\n");
  const Records r = head();
  ASSERT_GE(r.size(), 6 + 6 * 9u);
  EXPECT_EQ(r[3], "(Struktur : s" + std::string(11, ' ') + "Probe \\(1\\)" + std::string(35 - 9 + 2, ' ') + ") ");
  // Stretched: 1600 cm per metre across, 800 down; the origin at (3, 25).
  EXPECT_EQ(r[5], "   3.0000  25.0000 m");
  // Cells down x, across y: log10 of 1E-3, 3, 1, 4, 2, 5 are levels 1, 121,
  // 104, 125, 115 and 128 of the range -3 .. 0.699.
  const char* greys[] = {" 0.99 g", " 0.05 g", " 0.19 g", " 0.02 g", " 0.10 g", " 0.00 g"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(r[static_cast<size_t>(6 + 9 * c)], greys[c]) << c;
  EXPECT_EQ(r[6 + 6 * 9 + 13], " 0.99 g");  // the page bar's first box
  const Records tail(r.end() - 13, r.end());
  EXPECT_EQ(tail, (Records{" 0.0 0.0 0.0 co", "(-3.0E+00) ", "   0.0000   3.0000   6.0000   0.6000 /Helvetica t",
                           " 0.0 0.0 0.0 co", "(-1.2E+00) ", "   0.0000   9.6000   6.0000   0.6000 /Helvetica t",
                           " 0.0 0.0 0.0 co", "( 7.0E-01) ", "   0.0000  16.3000   6.0000   0.6000 /Helvetica t",
                           " 0.0 0.0 0.0 co", "(LOG-Betrag) ", "   0.0000   9.5000   7.0000   0.4800 /Helvetica t",
                           "showpage"}));
  TAMBRI_REQUIRE_PROGRAM("gs");
  expect_renders(dir / "s_c.ps");
}

}  // namespace
}  // namespace tambri
