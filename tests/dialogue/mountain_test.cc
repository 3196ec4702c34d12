// The mountain picture's pixels, bitmap and page; its questions are pinned by
// the whole-screen scripts.
#include "dialogue/mountain.h"

#include "support/picture_test.h"

namespace tambri {
namespace {

using test::count_of;

// The world of 15 x 15 units lies on the viewport (100, 60)-(640, 510) with
// the height upward: world (h, v) is pixel (100 + 36 h, 510 - 30 v).
struct Mountain : test::PictureTest {
  Mountain() {
    use_grid({0, 0.25, 0.5, 0.75, 1}, {0, 0.5, 1}, "berg.dat");
    output.postscript_off = false;
    picture = [this](ResultPicture& p) { draw_mountain(p, {v.get(), nullptr, false, "Potential (V)"}); };
  }
  int at(double h, double v) const {
    return shown(static_cast<int>(std::lround(100 + 36 * h)), static_cast<int>(std::lround(510 - 30 * v)));
  }
  int count_between(int lo, int hi) const {
    return static_cast<int>(
        std::count_if(viewer.shown.begin(), viewer.shown.end(), [&](std::uint8_t p) { return p >= lo && p <= hi; }));
  }
};

TEST_F(Mountain, BitmapCarriesTheHeightPaletteAndTheWireColourOfTheBackground) {
  set(3, 2, 1);
  output.bitmap_off = false;
  using C = std::array<int, 3>;
  const C table[13] = {{63, 2, 0},  {63, 18, 0}, {63, 35, 0}, {63, 51, 0}, {58, 63, 0},  {28, 63, 0}, {0, 62, 1},
                       {0, 47, 16}, {0, 31, 32}, {0, 15, 48}, {0, 0, 63},  {30, 30, 30}, {0, 63, 0}};
  for (bool white : {false, true}) {
    output.white_background = white;
    draw("N\nN\nN\n\n");
    const test::SavedBitmap bmp = bitmap("_g.bmp");
    bmp.expect_saved_before(viewer.shown, 35, 75, 8);  // the picture before "<Return>"
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(bmp.colour(k), table[k - 1]) << "index " << k;
    EXPECT_EQ(bmp.colour(13), (white ? C{63, 0, 0} : table[12]));
    EXPECT_EQ(bmp.colour(0), (white ? C{63, 63, 63} : C{0, 0, 0}));
  }
  expect_shown({{35, 75, "<Return>"}});
}

TEST_F(Mountain, BoxAndLabelsAlwaysFacetsOnlyWithTwoLinesEachWay) {
  set_all([](int i, int j) { return i * j; });
  for (const DisplayWindow& w : {DisplayWindow{1, 2, 5, 2}, DisplayWindow{3, 1, 3, 3}}) {
    window = w;
    draw("N\nN\nY\n\n");
    EXPECT_EQ(count_between(1, 10), 0);
    EXPECT_EQ(count_of(page("_g.ps"), "c f"), 0);
    EXPECT_EQ((std::vector<int>{at(5, 0), at(0, 5), at(10 + 3.5356, 10 + 3.5356)}), (std::vector<int>{11, 11, 11}));
  }
  const test::ShownText texts[] = {{14, 5, " 1.5E+01"},  {32, 5, " 1.0E+00"},  {33, 35, "x (m) "},
                                   {32, 61, " 0.0E+00"}, {27, 73, " 1.0E+00"}, {29, 69, "y (m) "}};
  expect_shown(texts);
  window = full_display_window(model->grid);
  draw("Y\nN\nY\n\n");
  EXPECT_GT(count_between(1, 10), 1000);
  EXPECT_EQ(count_of(page("_g.ps"), "c f"), 4 * 2);
  expect_shown({{23, 3, "LOG-Betrag"}, {14, 5, " 1.2E+00"}});  // log10(15)
}

TEST_F(Mountain, AWiderRangeLowersTheSurfaceAndTheMeanOfTheCornersGivesTheColour) {
  for (int j = 1; j <= 3; ++j) set(4, j, 100), set(5, j, 100);
  draw("N\nN\nY\n\n");
  EXPECT_EQ(at(9, 10.8), 1);  // the front facet between x = 0.75 and 1 at the top
  draw("N\nY\n-100\n300\nY\n\n");
  EXPECT_EQ(count_between(1, 5), 0);  // -100..300: the top facets at 200/400, level 6
  EXPECT_EQ((std::vector<int>{at(9, 5.8), at(9, 10.8)}), (std::vector<int>{6, 0}));
  EXPECT_EQ(count_of(page("_g.ps"), "( 3.0E+02) "), 1);
}

TEST_F(Mountain, NearFacetsCoverTheFacetsBehindThem) {
  use_grid({0, 1}, {0, 1, 2}, "berg.dat");  // the back facet (y 1..2) and the front one
  const auto far_edge = [this] {            // at height D, pixel row 404
    std::vector<int> column;
    for (int y = 401; y <= 407; ++y) column.push_back(shown(316, y));
    return column;
  };
  draw("N\nN\nN\n\n");
  EXPECT_GT(count_of(far_edge(), 13), 0);
  set(1, 1, 100);
  set(2, 1, 100);
  draw("N\nN\nN\n\n");
  EXPECT_EQ(far_edge(), std::vector<int>(7, 0));
  draw("N\nN\nY\n\n");
  EXPECT_EQ(far_edge(), std::vector<int>(7, 6));
  const test::Records r = page("_g.ps");
  EXPECT_LT(test::find_record(r, "   8.0356  13.5356 m"), test::find_record(r, "   6.2678  11.7678 m"));
}

TEST_F(Mountain, ConstantFieldStandsOnTheFloorAndNonFiniteCornersLeaveTheirFacetsOut) {
  v->fill(7);
  draw("N\nN\nY\n\n");
  EXPECT_EQ(at(5, 1), 11);
  EXPECT_EQ(count_between(1, 10), 0);
  v->fill(0);
  set(3, 2, std::numeric_limits<double>::quiet_NaN());
  set(5, 3, 4);
  draw("N\nN\nY\n\n");
  EXPECT_EQ(count_of(page("_g.ps"), "c f"), 8 - 4);
  EXPECT_EQ(at(5, 1), 0);
}

// One facet with one corner at 110: a wire frame and filled, in colour and
// in grey with the logarithm. The mean of the corners lies a quarter up: index
// 9 on the screen, level 3 of 10 on the page, in a white outline.
TEST_F(Mountain, WholePagesOfOneFacet) {
  use_grid({0, 1}, {0, 1}, "berg.dat");
  set(1, 2, 110);
  const struct {
    bool grey;
    const char *answers, *expected;
  } pages[] = {{false, "N\nN\nN\n\n", "mountain_one_facet.ps"},
               {false, "N\nN\nY\n\n", "mountain_filled.ps"},
               {true, "Y\nN\nN\n\n", "mountain_grey_log_wire.ps"},
               {true, "Y\nN\nY\n\n", "mountain_grey_log.ps"}};
  for (const auto& p : pages) {
    output.black_and_white = p.grey;
    draw(p.answers);
    test::expect_page("berg_g.ps", p.expected);
  }
  EXPECT_EQ((std::vector<int>{at(5, 2), at(3, 8)}), (std::vector<int>{9, 9}));
}

}  // namespace
}  // namespace tambri
