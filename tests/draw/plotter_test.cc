#include "draw/plotter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/session.h"

namespace tambri {
namespace {

// A plotter over a surface whose world is 0..10 across and down, and a page
// file whose records after the prolog are returned by body().
struct PlotterTest : ::testing::Test {
  PlotterTest() {
    output.postscript_off = false;
    surface.gfx_set_viewport(0, 0, 100, 100);
    surface.gfx_set_world(0, 0, 0, 10, 10);
    EXPECT_TRUE(ps.open((dir / "p.ps").string()));
  }
  std::vector<std::string> body() {
    ps.plot(0, 0, kPenEnd);
    std::ifstream in(dir / "p.ps");
    std::vector<std::string> r;
    for (std::string line; std::getline(in, line);) r.push_back(line);
    return std::vector<std::string>(r.begin() + 21, r.end());
  }
  test::TempDir dir;
  OutputSettings output;
  GraphicsSurface surface;
  PsWriter ps{output};
  // The structure mapping of a picture with sh = 2, sv = 3: (y, x) -> (2 y, -3 x).
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
  EXPECT_EQ(body(), (std::vector<std::string>{
                        " 1.0 0.0 0.0 co",
                        "   2.0000  -6.0000 m",
                        "   6.0000 -12.0000 l",
                        " s",
                        " 0.49 1.00 1.00 hs",
                        "n",
                        "  10.0000 -15.0000 m",
                        "  18.0000 -15.0000 l",
                        "  10.0000 -27.0000 l",
                        "  10.0000 -15.0000 l",
                        "c f",
                        "   0.0000   0.0000 m",
                        "   2.0000   0.0000 l",
                        "   2.0000  -3.0000 l",
                        "   0.0000  -3.0000 l",
                        "   0.0000   0.0000 l",
                        "s",
                        "showpage",
                    }));
}

TEST_F(PlotterTest, BlackAndWhitePagesTakeTheGreyAndTheFixedColourForIt) {
  output.black_and_white = true;
  plot.colour(1, PageColour::level_of(3, 11));
  plot.colour(1, PageColour::fixed(6, 1));
  plot.colour(1, PageColour::none());
  const std::vector<std::string> b = body();
  ASSERT_EQ(b.size(), 3u);
  EXPECT_EQ(b[0], " 0.73 g");
  EXPECT_EQ(b[1], " 0.0 0.0 0.0 co");
}

TEST(PlotterWithoutPage, DrawsOnlyOnTheScreen) {
  OutputSettings output;
  GraphicsSurface surface;
  surface.gfx_set_world(0, 0, 0, 800, 630);
  Plotter plot(surface, nullptr, output, {});
  plot.colour(9, PageColour::fixed(2));
  plot.rectangle(kGfxFilled, 10, 10, 20, 20);
  EXPECT_EQ(surface.pixel(15, 15), 9);
}

}  // namespace
}  // namespace tambri
