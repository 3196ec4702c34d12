// The cut picture's pixels and page; its questions and schnitt.dat are
// pinned by the whole-screen scripts.
#include "dialogue/cut_plot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/picture_test.h"
#include "support/screen_text.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::Records;

// 11 x lines over 0..1 m, 3 y lines over 0..1 m, v = 10 x. On the screen
// the diagram's viewport is (100, 30)-(600, 530): a cut along x over the
// full range puts (a, v) at pixel (100 + 500 a, 530 - 50 v).
struct CutPicture : test::PictureTest {
  CutPicture() {
    model = test::make_model(kProblemE, test::lines(0, 1, 11), test::lines(0, 1, 3));
    model->output_stem = "probe       ";
    model->file_name = "probe.dat   ";
    window = full_display_window(model->grid);
    for (int i = 1; i <= 11; ++i)
      for (int j = 1; j <= 3; ++j) v[static_cast<size_t>(model->grid.node(i, j))] = i - 1.0;
  }
  void draw(const std::string& answers) {
    draw_with(*model, window, answers, [this](ResultPicture& p) { draw_cut(p, {&v, nullptr, false, "Potential (V)"}); });
  }
  Records page() const { return test::records_of(dir / "probe_s.ps"); }

  std::unique_ptr<StructureModel> model;
  NodeArray v{};
  DisplayWindow window;
};

TEST_F(CutPicture, CurveOverGridAndFrameWithTitleAndLabels) {
  output.bitmap_off = false;
  draw("x\n0.6\nN\nN\n\n");  // between the y lines 0.5 and 1: the line 0.5
  EXPECT_EQ((std::vector<int>{shown(350, 280), shown(225, 405), shown(150, 100), shown(350, 100), shown(100, 100),
                              shown(370, 300)}),
            (std::vector<int>{15, 15, 2, 2, 1, 0}));
  EXPECT_SHOWS_TEXT(viewer.shown, 1, 1, " TAMBRI: Potential (V)" + std::string(12, ' ') + " bei y= 5.000E-01 m");
  EXPECT_SHOWS_TEXT(viewer.shown, 3, 5, " 1.0E+01");   // vmax
  EXPECT_SHOWS_TEXT(viewer.shown, 33, 5, " 0.0E+00");  // vmin
  EXPECT_SHOWS_TEXT(viewer.shown, 35, 10, " 0.0E+00");
  EXPECT_SHOWS_TEXT(viewer.shown, 35, 42, "x (m) ");
  EXPECT_SHOWS_TEXT(viewer.shown, 35, 71, " 1.0E+00");
  EXPECT_TRUE(test::blank_cells(viewer.shown, 16, 2, 10));  // "LOG-Betrag" only with the logarithm
  EXPECT_TRUE(std::filesystem::exists(dir / "probe_s.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "probe_s.ps"));
}

TEST_F(CutPicture, PageTitlesAndTheCurveHeldInTheBandOfANarrowedRange) {
  output.postscript_off = false;
  output.comment = "Probe (1)";
  draw("x\n0.5\nN\nY\n2\n8\n\n");  // 16 cm for 6 V: the points 0, 1 below, 9, 10 above
  const Records p = page();
  ASSERT_GT(p.size(), 30u);
  EXPECT_EQ(Records(p.begin() + 21, p.begin() + 30),
            (Records{"(TAMBRI: Potential \\(V\\)            ) ", "   0.0000   2.0000  28.0000   0.7200 /Helvetica t",
                     "( y= 5.000E-01 m) ", "   0.0000  14.0000  25.0000   0.4800 /Helvetica t", " 0.0 0.0 0.0 co",
                     "(Struktur : probe.dat   Probe \\(1\\)" + std::string(26 + 2, ' ') + ") ",
                     "   0.0000   2.0000  26.5000   0.6000 /Helvetica t", "   4.0000   8.0000 m",
                     " 1.0 0.0 1.0 co"}));
  // The curve in blue and 0.02 cm: held at the lower edge up to the point at
  // 2 V, then point by point, then from the point at 8 V along the upper edge.
  const long curve = test::find_record(p, " 0.0 0.0 1.0 co");
  ASSERT_GT(curve, 0);
  EXPECT_EQ(Records(p.begin() + curve + 1, p.begin() + curve + 6),
            (Records{"0.02 w", "   4.0000   8.0000 m", "   7.2000   8.0000 l", "   7.2000   8.0000 l",
                     "   8.8000  10.6667 l"}));
  const long frame = test::find_record(p, "   4.0000   8.0000 m", curve + 3);
  ASSERT_GT(frame, curve);
  EXPECT_EQ(Records(p.begin() + frame - 4, p.begin() + frame),
            (Records{"  16.8000  24.0000 l", "  16.8000  24.0000 l", " s", " 0.0 0.0 0.0 co"}));
  EXPECT_EQ(Records(p.end() - 4, p.end()), (Records{"(x \\(m\\) ) ", "   0.0000  11.5000   7.5000   0.4800 /Helvetica t",
                                                   "   0.0000   0.0000 m", "showpage"}));
  test::expect_renders(dir / "probe_s.ps");
}

TEST_F(CutPicture, LogarithmAlongYOfAConstantLineInColourAndGrey) {
  output.postscript_off = false;
  for (bool grey : {false, true}) {
    output.black_and_white = grey;
    draw("y\n0.55\nY\nN\n\n");  // the x line 0.5: 5 V on all three points
    EXPECT_SHOWS_TEXT(viewer.shown, 1, 1, " TAMBRI: Potential (V)" + std::string(12, ' ') + " bei x= 5.000E-01 m");
    EXPECT_SHOWS_TEXT(viewer.shown, 16, 2, "LOG-Betrag");
    EXPECT_SHOWS_TEXT(viewer.shown, 35, 42, "y (m) ");
    const Records p = page();
    EXPECT_EQ(test::count_of(p, " 0.0 0.0 1.0 co"), grey ? 0 : 1);  // the curve
    EXPECT_GT(test::count_of(p, grey ? " 0.75 g" : " 1.0 0.0 1.0 co"), 0);  // the grid
    EXPECT_EQ(Records(p.end() - 7, p.end() - 2),
              (Records{" 0.0 0.0 0.0 co", "(LOG) ", "   0.0000   2.5000  16.1000   0.4800 /Helvetica t", "(ABS) ",
                       "   0.0000   2.5000  15.6000   0.4800 /Helvetica t"}));
    test::expect_renders(dir / "probe_s.ps");
  }
}

}  // namespace
}  // namespace tambri
