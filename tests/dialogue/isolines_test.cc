// The isoline picture's pixels and page; its questions are pinned by the
// whole-screen scripts.
#include "dialogue/isolines.h"

#include "support/picture_test.h"

namespace tambri {
namespace {

using test::Records;

// A grid of nx x ny lines over 0..lx by 0..ly, evenly spaced; in the full
// square window of 0..1 x 0..1 a point (x, y) lies at pixel (600 y, 25 + 600 x).
struct IsolinePicture : test::PictureTest {
  IsolinePicture() {
    set_grid(11, 11, 1.0, 1.0);
    picture = [this](ResultPicture& p) { draw_isolines(p, {v.get(), nullptr, false, "Potential (V)"}); };
  }
  void set_grid(int nx, int ny, double lx, double ly) {
    use_grid(test::lines(0, lx, nx), test::lines(0, ly, ny), "probe");
  }
};

// Log N, discretisation N, raster N, fill as given, keep the range, automatic
// levels, Return.
std::string automatic(bool filled) { return std::string("N\nN\nN\n") + (filled ? "Y" : "N") + "\nN\nN\n\n"; }

// v = 10 x + 0.25 on the 0..1 grid: levels 10, 9, ..., 0; level L lies at
// x = (L - 0.25) / 10, pixel row 10 + 60 L, half way between grid lines.
double sloped(int i, int) { return (i - 1) + 0.25; }

TEST_F(IsolinePicture, BandsChangeColourAtEachLevelAndLinesTakeTheLevelsColour) {
  set_all(sloped);
  for (bool filled : {true, false}) {
    draw(automatic(filled));
    // Level k = 1..10 (L = 11 - k): below it band k + 1, above it k; values
    // at or above 10 keep index 1. Without filling the background shows.
    for (int k = 1; k <= 10; ++k) {
      const int row = 10 + 60 * (11 - k);
      EXPECT_EQ(shown(330, row - 5), filled ? k + 1 : 0) << "level " << k;
      EXPECT_EQ(shown(330, row), k) << "level " << k;
    }
  }
  draw(automatic(true));
  expect_pixels({{330, 30, 11}, {0, 300, 12}});  // 0.25..1 lies between the levels 1 and 0; the frame on top
  // Min = Max entered: eleven levels 4.0, but only the first pass paints the
  // whole window, so values above 4 keep index 1 and those below end in 12.
  draw("N\nN\nN\nY\nY\n4\n4\n\n");
  expect_pixels({{330, 400, 1}, {330, 100, 12}});
}

TEST_F(IsolinePicture, LevelsThroughNodesAndCornersLeaveNoGapsAndNoStrayFills) {
  // v = i - 1 exactly: level L runs along x line L + 1, through every node.
  set_all([](int i, int) { return i - 1.0; });
  for (bool filled : {false, true}) {
    draw(automatic(filled));
    for (int level = 1; level <= 9; ++level) {
      const int row = 25 + 60 * level, k = 11 - level;
      int other = 0;
      for (int x = 1; x < 600; ++x) other += shown(x, row) != k;
      EXPECT_EQ(other, 0) << "level " << level << (filled ? " filled" : "");
      EXPECT_EQ(shown(330, row + 30), filled ? k : 0) << "level " << level;
    }
  }
  // Level 0 only touches node (1, 1), a corner of an element above it.
  set_all([](int i, int j) { return (i - 1) + (j - 1.0); });
  draw(automatic(true));
  expect_pixels({{30, 55, 11}, {590, 615, 2}});
}

TEST_F(IsolinePicture, SaddleKeepsTheDiagonalWithTheLargerSumConnected) {
  set_grid(2, 2, 1.0, 1.0);
  for (bool a_and_d_high : {true, false}) {
    set_all([&](int i, int j) { return (i == j) == a_and_d_high ? 2.0 : -1.0; });
    draw("N\nN\nN\nY\nY\n-10\n0.2\n\n");  // levels 0.2, -0.8, ...
    const int high = a_and_d_high ? 1 : 3, low = a_and_d_high ? 3 : 1;
    EXPECT_EQ((std::vector<int>{shown(10, 35), shown(590, 615), shown(10, 615), shown(590, 35)}),
              (std::vector<int>{high, high, low, low}));
    for (int step = 100; step <= 500; step += 100) {
      EXPECT_EQ(a_and_d_high ? shown(step, 25 + step) : shown(600 - step, 25 + step), 1) << step;
    }
  }
}

TEST_F(IsolinePicture, MarksAndLinesOnTopCutAtTheWindowAndTheBitmapOnWhite) {
  output.bitmap_off = false;
  output.white_background = true;
  set_all(sloped);
  set_code(6, 6, 23);      // fixed potential on the last y line of the window below
  set_code(3, 3, 105);     // excitation
  window = {1, 1, 11, 6};  // 1 down, 0.5 across; true to scale it ends at pixel 300
  draw("N\nN\nN\nN\nY\nN\nN\n\n");
  // A tenth of the way to the neighbours, cut at the window's last y line;
  // the diamond's outline round the node at (120, 145), the band inside it.
  const Pixel marks[] = {{297, 325, 15}, {294, 320, 15}, {290, 325, 6},  {303, 325, 0}, {300, 500, 12},
                         {120, 139, 15}, {126, 145, 15}, {123, 142, 15}, {120, 145, 9}};
  expect_pixels(marks);
  // The bitmap: the line palette, white background, the dialogue's colours back.
  const test::SavedBitmap bmp = bitmap("_i.bmp");
  bmp.expect_saved_before(viewer.shown, 25, 80, 9);  // the picture before " <Return>" in the legend
  expect_shown({{25, 80, " <Return>"}});
  const std::array<int, 3> colours[13] = {{63, 0, 63}, {63, 0, 0},   {63, 30, 0}, {63, 50, 0}, {55, 63, 0},
                                          {30, 63, 0}, {0, 45, 15},  {0, 30, 30}, {0, 15, 48}, {0, 0, 63},
                                          {30, 0, 30}, {30, 30, 30}, {0, 63, 0}};
  for (int k = 1; k <= 13; ++k) EXPECT_EQ(bmp.colour(k), colours[k - 1]) << k;
  EXPECT_EQ((std::vector<int>{bmp.colour(0)[2], bmp.colour(15)[2]}), (std::vector<int>{63, 0}));
  EXPECT_EQ((std::vector<uint32_t>{surface.palette()[0], surface.palette()[15]}), (std::vector<uint32_t>{0, 0x3F3F3F}));
  // Without filling the marks come first and the picture is lines only.
  draw("N\nN\nN\nN\nN\nN\nN\n\n");
  expect_pixels({{297, 325, 15}, {120, 145, 0}});
}

TEST_F(IsolinePicture, DiscretisationLinesOrTenthsOfTheWindow) {
  set_all(sloped);
  window = {1, 1, 6, 6};  // 0..0.5: grid lines every 120 pixels, tenths every 60
  draw("N\nY\nN\nN\nN\n\n");
  expect_pixels({{120, 175, 12}, {240, 175, 12}, {60, 175, 0}, {300, 145, 12}, {300, 205, 0}});
  draw("N\nN\nY\nN\nN\nN\n\n");
  expect_pixels({{60, 175, 12}, {180, 175, 12}, {90, 175, 0}, {330, 85, 12}, {330, 100, 0}});
}

TEST_F(IsolinePicture, EqualValuesOrAnEarlyEndDrawNothingMoreAndDoNotWait) {
  output.postscript_off = output.bitmap_off = false;
  set_all([](int, int) { return 3.0; });
  (*v)[7] = std::nan("");  // not finite: not part of the range
  draw("N\nN\nN\nY\nweiter\n");
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_FALSE(std::filesystem::exists(file("_i.ps")) || std::filesystem::exists(file("_i.bmp")));

  // Single values: anything not a number ends the picture without bitmap and
  // wait, but the page is complete (whole page below), with filling the
  // marks on top.
  set_all(sloped);
  set_code(4, 4, 12);
  draw("N\nN\nN\nY\nN\nY\n5\n7.5\nx\nweiter\n");
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_FALSE(std::filesystem::exists(file("_i.bmp")));
  EXPECT_EQ(surface.pixel(330, 300), 0);
  test::expect_page(dir / "probe_i.ps", "isolines_single_values.ps");
  // Without filling the marks come before the first level.
  draw("N\nN\nN\nN\nN\nY\n5\nende\n");
  const Records p = page("_i.ps");
  EXPECT_LT(test::find_record(p, "   7.6400  20.3600 m"), test::find_record(p, " 0.00 1.00 1.00 hs"));
}

// v = 100 x from 0 to 10 over a 0.1 m square, a fixed potential at node A
// and an excitation at node D: 160 cm per metre, the origin at (3, 25). In
// grey, logarithmic and filled the first level fills the whole window,
// darkest, then below itself in the next grey; the diamond is black.
TEST_F(IsolinePicture, WholePagesInColourAndInGreyWithTheLogarithm) {
  output.postscript_off = false;
  output.comment = "Probe (1)" + std::string(26, ' ');
  set_grid(2, 2, 0.1, 0.1);
  set_all([](int i, int) { return i == 1 ? 0.0 : 10.0; });
  set_code(1, 1, 10);
  set_code(2, 2, 100);
  draw(automatic(false));
  test::expect_page(dir / "probe_i.ps", "isolines_colour.ps");
  output.black_and_white = true;
  set_all([](int i, int) { return i == 1 ? 1.0 : 1.0E10; });  // log10: 0 .. 10
  draw("Y\nN\nN\nY\nN\nN\n\n");
  test::expect_page(dir / "probe_i.ps", "isolines_grey_log.ps");
}

}  // namespace
}  // namespace tambri
