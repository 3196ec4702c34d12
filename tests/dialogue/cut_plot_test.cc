// The cut picture's pixels and page; its questions and schnitt.dat are
// pinned by the whole-screen scripts.
#include "dialogue/cut_plot.h"

#include "support/picture_test.h"

namespace tambri {
namespace {

// 11 x lines over 0..1 m, 3 y lines over 0..1 m, v = 10 x. On the screen
// the diagram's viewport is (100, 30)-(600, 530): a cut along x over the
// full range puts (a, v) at pixel (100 + 500 a, 530 - 50 v).
struct CutPicture : test::PictureTest {
  CutPicture() {
    use_grid(test::lines(0, 1, 11), test::lines(0, 1, 3), "probe.dat");
    set_all([](int i, int) { return i - 1.0; });
    picture = [this](ResultPicture& p) { draw_cut(p, {v.get(), nullptr, false, "Potential (V)"}); };
  }
};

TEST_F(CutPicture, CurveOverGridAndFrameWithTitleAndLabels) {
  output.bitmap_off = false;
  draw("x\n0.6\nN\nN\n\n");  // between the y lines 0.5 and 1: the line 0.5
  expect_pixels({{350, 280, 15}, {225, 405, 15}, {150, 100, 2}, {350, 100, 2}, {100, 100, 1}, {370, 300, 0}});
  // vmax, vmin, amin, amax; "LOG-Betrag" only with the logarithm.
  expect_shown({{1, 1, " TAMBRI: Potential (V)" + std::string(12, ' ') + " bei y= 5.000E-01 m"}});
  expect_shown({{3, 5, " 1.0E+01"}, {33, 5, " 0.0E+00"}, {35, 10, " 0.0E+00"}, {35, 42, "x (m) "}});
  expect_shown({{35, 71, " 1.0E+00"}, {16, 2, "", 10}});
  EXPECT_TRUE(std::filesystem::exists(dir / "probe_s.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "probe_s.ps"));
}

// The narrowed range 2..8 V: 16 cm for 6 V, the curve held at the lower edge
// up to the point at 2 V and along the upper edge from the point at 8 V. The
// logarithm along y of the x line 0.5, 5 V on all three points.
TEST_F(CutPicture, WholePagesOfANarrowedRangeAndOfTheLogarithmInColourAndGrey) {
  output.postscript_off = false;
  output.comment = "Probe (1)";
  draw("x\n0.5\nN\nY\n2\n8\n\n");
  test::expect_page(dir / "probe_s.ps", "cut_narrowed.ps");
  for (bool grey : {false, true}) {
    output.black_and_white = grey;
    draw("y\n0.55\nY\nN\n\n");
    expect_shown({{1, 1, " TAMBRI: Potential (V)" + std::string(12, ' ') + " bei x= 5.000E-01 m"}});
    expect_shown({{16, 2, "LOG-Betrag"}, {35, 42, "y (m) "}});
    test::expect_page(dir / "probe_s.ps", grey ? "cut_log_grey.ps" : "cut_log_colour.ps");
  }
}

}  // namespace
}  // namespace tambri
