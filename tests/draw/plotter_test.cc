#include "draw/plotter.h"

#include <gtest/gtest.h>

#include <string>

#include "support/session.h"

namespace tambri {
namespace {

// A plotter over a surface whose world is 0..10 across and down, and a page
// with the structure mapping of a picture with sh = 2, sv = 3: a point
// (x, y) goes to (2 y, -3 x) on the page.
struct PlotterTest : ::testing::Test {
  PlotterTest() {
    output.postscript_off = false;
    surface.gfx_set_viewport(0, 0, 100, 100);
    surface.gfx_set_world(0, 0, 0, 10, 10);
    EXPECT_TRUE(ps.open((dir / "p.ps").string()));
  }
  // The records after the 21-record prolog.
  std::string body() {
    ps.plot(0, 0, kPenEnd);
    std::string page = test::read_file(dir / "p.ps");
    for (int k = 0; k < 21; ++k) page.erase(0, page.find('\n') + 1);
    return page;
  }
  test::TempDir dir;
  OutputSettings output;
  GraphicsSurface surface;
  PsWriter ps{output};
  Plotter plot{surface, &ps, output, structure_page_mapping({2, 3, 0, 0})};
};

TEST_F(PlotterTest, EachShapeIsDrawnOnTheScreenAndWrittenAtItsPagePlace) {
  plot.colour(4, PageColour::fixed(2));
  plot.line(1, 2, 3, 4);
  EXPECT_EQ(surface.pixel(20, 30), 4);  // (2, 3) in world units of 10 pixels
  plot.colour(5, PageColour::level_of(3, 11));
  const WorldPoint triangle[] = {{5, 5}, {9, 5}, {5, 9}};
  plot.polygon(kGfxFilled, triangle);
  EXPECT_EQ(surface.pixel(60, 60), 5);
  plot.rectangle(kGfxOutline, 0, 0, 1, 1);
  // A plotter without a page draws only on the screen.
  Plotter screen_only(surface, nullptr, output, {});
  screen_only.colour(9, PageColour::fixed(2));
  screen_only.rectangle(kGfxFilled, 8, 1, 9, 2);
  EXPECT_EQ(surface.pixel(85, 15), 9);
  EXPECT_EQ(body(), test::read_file(std::string(TAMBRI_SOURCE_DIR) + "/tests/draw/data/plotter_shapes.txt"));
}

TEST_F(PlotterTest, BlackAndWhitePagesTakeTheGreyAndTheFixedColourForIt) {
  output.black_and_white = true;
  plot.colour(1, PageColour::level_of(3, 11));
  plot.colour(1, PageColour::fixed(6, 1));
  plot.colour(1, PageColour::none());
  EXPECT_EQ(body(), " 0.73 g\n 0.0 0.0 0.0 co\nshowpage\n");
}

}  // namespace
}  // namespace tambri
