#include "dialogue/isolines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/external_tools.h"
#include "support/picture_test.h"
#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

using Lines = std::vector<std::string>;
using test::RecordingViewer;

constexpr const char* kPage = "probe_i.ps";
constexpr const char* kBitmap = "probe_i.bmp";

// Lines of a text, without the last line feed.
Lines lines_of(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Index of the first line equal to `line` at or after `from`; -1 when none.
long find_line(const Lines& lines, const std::string& line, long from = 0) {
  for (long n = from; n < static_cast<long>(lines.size()); ++n) {
    if (lines[static_cast<size_t>(n)] == line) return n;
  }
  return -1;
}

long find_last(const Lines& lines, const std::string& line) {
  for (long n = static_cast<long>(lines.size()) - 1; n >= 0; --n) {
    if (lines[static_cast<size_t>(n)] == line) return n;
  }
  return -1;
}

// A grid of nx x ny lines over 0..lx by 0..ly, evenly spaced; in the full
// square window of 0..1 x 0..1 a point (x, y) lies at pixel (600 y, 25 + 600 x).
struct IsolinePicture : test::PictureTest {
  IsolinePicture() : model(std::make_unique<StructureModel>()), v(std::make_unique<NodeArray>()) {
    model->output_stem = "probe       ";
    set_grid(11, 11, 1.0, 1.0);
  }
  void set_grid(int nx, int ny, double lx, double ly) {
    Grid& g = model->grid;
    g.nx = nx;
    g.ny = ny;
    for (int i = 1; i <= nx; ++i) g.x[i] = lx * (i - 1) / (nx - 1);
    for (int j = 1; j <= ny; ++j) g.y[j] = ly * (j - 1) / (ny - 1);
    window = full_display_window(g);
    model->occupancy.fill(0);
  }
  // v(i, j) at every node.
  void set_values(const std::function<double(int, int)>& f) {
    for (int j = 1; j <= model->grid.ny; ++j)
      for (int i = 1; i <= model->grid.nx; ++i) (*v)[static_cast<size_t>(model->grid.node(i, j))] = f(i, j);
  }
  void set_code(int i, int j, int32_t code) { model->occupancy[static_cast<size_t>(model->grid.node(i, j))] = code; }

  // Draws with `answers` as the input; returns the screen. Every page written
  // must render in Ghostscript.
  std::string draw(const std::string& answers) {
    std::filesystem::remove(kPage);
    std::filesystem::remove(kBitmap);
    const std::string screen = draw_with(*model, window, answers, [this](ResultPicture& p) {
      draw_isolines(p, {v.get(), nullptr, false, "Potential (V)"});
    });
    if (std::filesystem::exists(kPage)) expect_page_renders();
    return screen;
  }
  void expect_page_renders() {
    if (!test::program_available("gs")) {
      if (std::getenv("CI")) ADD_FAILURE() << "gs is not installed";
      return;
    }
    const test::CommandResult gs = test::render_postscript(kPage);
    EXPECT_TRUE(test::rendered_cleanly(gs)) << gs.output;
  }
  Lines page() const { return lines_of(test::read_file(dir / kPage)); }
  // Pixels of colour `index` in text cell (row, column) of the whole grid.
  int ink_in_cell(int row, int column, int index) const {
    int n = 0;
    for (int y = (row - 1) * 16; y < row * 16; ++y)
      for (int x = (column - 1) * 8; x < column * 8; ++x) n += shown(x, y) == index;
    return n;
  }

  std::unique_ptr<StructureModel> model;
  std::unique_ptr<NodeArray> v;
  DisplayWindow window;
};

// Log N, discretisation N, raster N, fill as given, keep the range, automatic
// levels, Return.
std::string automatic(bool filled) { return std::string("N\nN\nN\n") + (filled ? "Y" : "N") + "\nN\nN\n\n"; }

// v = 10 x + 0.25 on the 0..1 grid: levels 10, 9, ..., 0; level L lies at
// x = (L - 0.25) / 10, pixel row 10 + 60 L, half way between grid lines.
double sloped(int i, int) { return (i - 1) + 0.25; }

TEST_F(IsolinePicture, QuestionsComeInOrderAndOnlyWhenTheyApply) {
  set_values(sloped);
  // A square window: no window question; discretisation lines leave out the raster question.
  EXPECT_EQ(draw("n\nY\nY\nN\nN\n\n"),
            "\nLogarithmus bilden [Y/N]:n\n\nDiskretisierungslinien [Y/N]:Y\n\nFarbig ausfüllen [Y/N]:Y\n"
            "\nMin= 2.500E-01\nMax= 1.025E+01\n\nWerte ändern [Y/N]:N\n\nEingabe einzelner Werte [Y/N]:N\n\n");
  // Twice as long as wide: the window question after the logarithm; the
  // raster question after discretisation lines were refused. Min and max come
  // from the whole grid, not the zoomed window.
  window = {1, 1, 11, 6};
  EXPECT_EQ(draw("N\nN\nN\nN\nN\nN\nN\n\n"),
            "\nLogarithmus bilden [Y/N]:N\n\nVolles Zeichenfenster [Y/N]:N\n\nDiskretisierungslinien [Y/N]:N\n"
            "\nRasterlinien [Y/N]:N\n\nFarbig ausfüllen [Y/N]:N\n\nMin= 2.500E-01\nMax= 1.025E+01\n"
            "\nWerte ändern [Y/N]:N\n\nEingabe einzelner Werte [Y/N]:N\n\n");
  window = {3, 3, 5, 5};
  EXPECT_NE(draw("N\nN\nN\nN\nN\nN\n\n").find("Max= 1.025E+01"), std::string::npos);
}

TEST_F(IsolinePicture, EqualValuesEndBeforeAnyPicture) {
  output.postscript_off = output.bitmap_off = false;
  set_values([](int, int) { return 3.0; });
  (*v)[7] = std::nan("");  // not finite: not part of the range
  EXPECT_EQ(draw("N\nN\nN\nY\nweiter\n"),
            "\nLogarithmus bilden [Y/N]:N\n\nDiskretisierungslinien [Y/N]:N\n\nRasterlinien [Y/N]:N\n"
            "\nFarbig ausfüllen [Y/N]:Y\n\nMin= 3.000E+00\nMax= 3.000E+00\n\n### Alle Werte sind gleich ###");
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_FALSE(std::filesystem::exists(kPage));
  EXPECT_FALSE(std::filesystem::exists(kBitmap));
  // No finite value at all counts the same.
  set_values([](int, int) { return INFINITY; });
  EXPECT_NE(draw("N\nN\nN\nN\n").find("Min= 0.000E+00\nMax= 0.000E+00\n\n### Alle Werte sind gleich ###"),
            std::string::npos);
}

TEST_F(IsolinePicture, ChangedRangeRefusesMaxBelowMinAndAsksAgainAfterUnreadableNumbers) {
  output.postscript_off = false;
  set_values(sloped);
  const std::string screen = draw("N\nN\nN\nN\nY\na\n5\n2\n2\nzwei\n8\n\n");
  EXPECT_NE(screen.find("Werte ändern [Y/N]:Y\n\nMin=a\n\nMin=5\n\nMax=2\n\n### Max. kleiner Min. ###"
                        "\n\nMin=2\n\nMax=zwei\n\nMax=8\n\n"),
            std::string::npos)
      << screen;
  EXPECT_EQ(screen.find("Eingabe einzelner Werte"), std::string::npos);
  // Automatic levels from the range entered: 8 down by 0.6.
  const Lines p = page();
  const char* labels[] = {" 8.0E+00", " 7.4E+00", " 6.8E+00", " 6.2E+00", " 5.6E+00", " 5.0E+00",
                          " 4.4E+00", " 3.8E+00", " 3.2E+00", " 2.6E+00", " 2.0E+00"};
  long at = 0;
  for (const char* label : labels) {
    at = find_line(p, std::string("(") + label + ") ", at);
    EXPECT_GE(at, 0) << label;
  }
}

TEST_F(IsolinePicture, OnlyTheFirstLevelPaintsTheWholeWindow) {
  set_values(sloped);
  // Min = Max is accepted: eleven levels 4.0 (a zero step and tolerance).
  // Each of them equals the first, but only the first pass paints the
  // window, so the values above 4 keep index 1 and those below end in 12.
  const std::string screen = draw("N\nN\nN\nY\nY\n4\n4\n\n");
  EXPECT_EQ(screen.find("### Max. kleiner Min. ###"), std::string::npos);
  EXPECT_EQ(shown(330, 400), 1);
  EXPECT_EQ(shown(330, 100), 12);
  // A single value repeated: 5, 5, then nine values below all others. The
  // second pass paints below 5 again (in 3) and leaves index 1 above it.
  std::string answers = "N\nN\nN\nY\nN\nY\n5\n5\n";
  for (int k = 3; k <= 11; ++k) answers += "-1\n";
  draw(answers + "\n");
  EXPECT_EQ(shown(330, 445), 1);  // v = 7.25
  EXPECT_EQ(shown(330, 145), 3);  // v = 2.25
}

TEST_F(IsolinePicture, LevelThroughTheCornerOfAnElementAboveItLeavesThatElementAlone) {
  // v = (i - 1) + (j - 1): the lowest level, 0, touches only node (1, 1),
  // the corner of the first element, whose other corners lie above it.
  set_values([](int i, int j) { return (i - 1) + (j - 1.0); });
  draw(automatic(true));
  EXPECT_EQ(shown(30, 55), 11);    // v = 1: the band between 2 and 0, not below 0
  EXPECT_EQ(shown(590, 615), 2);   // v = 19.7, between 18 and 20
}

TEST_F(IsolinePicture, BandsChangeColourAtEachLevelAndTheLineIsDrawnInTheLevelsColour) {
  set_values(sloped);
  draw(automatic(true));
  // Level k = 1..10 (L = 11 - k) at row 10 + 60 L: below it the band of
  // index k + 1, above it index k (values at or above 10 keep index 1).
  for (int k = 1; k <= 10; ++k) {
    const int row = 10 + 60 * (11 - k);
    EXPECT_EQ(shown(330, row - 5), k + 1) << "level " << k;
    EXPECT_EQ(shown(330, row), k) << "level " << k;
    EXPECT_EQ(shown(330, row + 5), k) << "level " << k;
  }
  EXPECT_EQ(shown(330, 30), 11);  // values 0.25..1 lie between the levels 1 and 0
  EXPECT_EQ(shown(0, 300), 12);   // the frame on top
  // Without filling: lines on the background.
  draw(automatic(false));
  for (int k = 1; k <= 10; ++k) {
    const int row = 10 + 60 * (11 - k);
    EXPECT_EQ(shown(330, row - 5), 0) << "level " << k;
    EXPECT_EQ(shown(330, row), k) << "level " << k;
  }
}

// The picture fills an element that lies wholly below a level as a rectangle
// on the screen: the same pixels as the filled polygon of its corners.
TEST(IsolineWholeElements, RectangleOnTheScreenCoversThePixelsOfThePolygon) {
  struct Case {
    int lines;
    double from, to, growth;
  };
  for (const Case& c : {Case{201, 0.0, 0.1, 1.0}, Case{37, -3.7, 12.9, 1.013}, Case{90, 1.0e3, 1.0e3 + 7.3e-3, 0.99}}) {
    std::vector<double> x{c.from}, y{c.from};
    for (double h = 1; static_cast<int>(x.size()) < c.lines; h *= c.growth) x.push_back(x.back() + h);
    for (double h = 1; static_cast<int>(y.size()) < c.lines; h /= c.growth) y.push_back(y.back() + h);
    for (double& v : x) v = c.from + (c.to - c.from) * (v - c.from) / (x.back() - c.from);
    for (double& v : y) v = c.from + (c.to - c.from) * 0.7 * (v - c.from) / (y.back() - c.from);
    GraphicsSurface polygons, rectangles;
    for (GraphicsSurface* s : {&polygons, &rectangles}) {
      s->gfx_set_viewport(0, 25, 600, 625);
      s->gfx_set_world(0, y.front(), x.front(), y.front() + (c.to - c.from), x.back());  // true to scale
    }
    for (size_t i = 1; i < x.size(); ++i) {
      for (size_t j = 1; j < y.size(); ++j) {
        const int colour = static_cast<int>(1 + (i * 7 + j * 3) % 13);
        const std::array<WorldPoint, 4> corners = {
            {{y[j - 1], x[i - 1]}, {y[j - 1], x[i]}, {y[j], x[i]}, {y[j], x[i - 1]}}};
        polygons.gfx_set_color(colour);
        polygons.gfx_polygon(kGfxFilled, corners);
        rectangles.gfx_set_color(colour);
        rectangles.gfx_rectangle(kGfxFilled, y[j - 1], x[i - 1], y[j], x[i]);
      }
    }
    int differing = 0, painted = 0;
    for (int p = 0; p < GraphicsSurface::kWidth * GraphicsSurface::kHeight; ++p) {
      differing += polygons.pixels()[p] != rectangles.pixels()[p];
      painted += polygons.pixels()[p] != 0;
    }
    EXPECT_EQ(differing, 0) << c.lines << " lines";
    EXPECT_GT(painted, 600 * 400) << c.lines << " lines";
  }
}

TEST_F(IsolinePicture, LevelsThroughNodesAreUnbrokenLines) {
  // v = i - 1 exactly: level L runs along x line L + 1, through every node of it.
  set_values([](int i, int) { return i - 1.0; });
  for (bool filled : {false, true}) {
    draw(automatic(filled));
    for (int level = 1; level <= 9; ++level) {
      const int row = 25 + 60 * level, k = 11 - level;
      int other = 0;
      for (int x = 1; x < 600; ++x) other += shown(x, row) != k;
      EXPECT_EQ(other, 0) << "level " << level << (filled ? " filled" : "");
      // The band between this level and the next one lower down.
      if (filled) {
        EXPECT_EQ(shown(330, row + 30), k) << "level " << level;
      }
    }
  }
}

TEST_F(IsolinePicture, SaddleKeepsTheDiagonalWithTheLargerSumConnected) {
  // One element: A = v(1, 1) and D = v(2, 2) high, B and C low. Levels from
  // the range 0.2 down by 1: 0.2, -0.8, ...
  set_grid(2, 2, 1.0, 1.0);
  const std::string range = "N\nN\nN\nY\nY\n-10\n0.2\n\n";
  for (bool a_and_d_high : {true, false}) {
    set_values([&](int i, int j) { return (i == j) == a_and_d_high ? 2.0 : -1.0; });
    draw(range);
    // The first level fills the window in 1 and cuts off the two low corners
    // in 2; the second cuts smaller triangles there in 3. The high diagonal
    // keeps index 1 all along, through the middle.
    const int a = shown(10, 35), b = shown(10, 615), c = shown(590, 35), d = shown(590, 615);
    const int high = a_and_d_high ? 1 : 3, low = a_and_d_high ? 3 : 1;
    EXPECT_EQ((std::vector<int>{a, d, b, c}), (std::vector<int>{high, high, low, low}));
    for (int step = 100; step <= 500; step += 100) {
      const int diagonal = a_and_d_high ? shown(step, 25 + step) : shown(600 - step, 25 + step);
      EXPECT_EQ(diagonal, 1) << "at " << step;
    }
  }
}

TEST_F(IsolinePicture, NodeMarksLieOnTopAndAreCutAtTheEdgeOfTheWindow) {
  set_values(sloped);
  set_code(6, 6, 23);   // fixed potential on the last y line of the window below
  set_code(3, 3, 105);  // excitation
  window = {1, 1, 11, 6};  // 1 down, 0.5 across; true to scale it ends at pixel 300
  draw("N\nN\nN\nN\nY\nN\nN\n\n");
  // The rectangle reaches a tenth of the way to the neighbours (6 pixels)
  // and ends at the window's last y line: y 0.49..0.5, x 0.49..0.51.
  EXPECT_EQ(shown(297, 325), 15);
  EXPECT_EQ(shown(294, 320), 15);
  EXPECT_EQ(shown(290, 325), 6);    // the band left of it (v = 5.25)
  EXPECT_EQ(shown(303, 325), 0);    // nothing beyond the window's edge
  EXPECT_EQ(shown(310, 500), 0);
  EXPECT_EQ(shown(300, 500), 12);   // its frame
  // The diamond's outline (corners 6 pixels off the node at (120, 145)); the
  // band shows inside it.
  EXPECT_EQ(shown(120, 139), 15);
  EXPECT_EQ(shown(126, 145), 15);
  EXPECT_EQ(shown(123, 142), 15);
  EXPECT_EQ(shown(120, 145), 9);

  // Without filling the marks come first and the picture is lines only.
  draw("N\nN\nN\nN\nN\nN\nN\n\n");
  EXPECT_EQ(shown(297, 325), 15);
  EXPECT_EQ(shown(120, 145), 0);
}

TEST_F(IsolinePicture, DiscretisationLinesOrTenthsOfTheWindow) {
  set_values(sloped);
  window = {1, 1, 6, 6};  // 0..0.5: grid lines every 120 pixels, tenths every 60
  draw("N\nY\nN\nN\nN\n\n");
  EXPECT_EQ((std::vector<int>{shown(120, 175), shown(240, 175), shown(60, 175), shown(180, 175)}),
            (std::vector<int>{12, 12, 0, 0}));
  EXPECT_EQ((std::vector<int>{shown(300, 145), shown(300, 265), shown(300, 205)}), (std::vector<int>{12, 12, 0}));
  draw("N\nN\nY\nN\nN\nN\n\n");
  EXPECT_EQ((std::vector<int>{shown(60, 175), shown(120, 175), shown(180, 175), shown(540, 175)}),
            (std::vector<int>{12, 12, 12, 12}));
  EXPECT_EQ((std::vector<int>{shown(90, 175), shown(330, 85), shown(330, 145), shown(330, 100)}),
            (std::vector<int>{0, 12, 12, 0}));
}

TEST_F(IsolinePicture, LegendShowsEachLevelInItsColourTheLogarithmAndTheWindow) {
  set_values([](int i, int) { return std::pow(10.0, (i - 1) / 2.0); });  // log10: 0..5
  draw("Y\nN\nN\nN\nN\nN\n\n");
  // Title " TAMBRI: Potential (V)" in row 1 in colour 15.
  EXPECT_GT(ink_in_cell(1, 2, 15), 0);  // "T"
  EXPECT_EQ(ink_in_cell(1, 1, 15), 0);  // the leading blank
  // Labels in text columns 81..88 (column 2 of the window from column 80),
  // row k + 2, colour k; nothing in the column before.
  for (int k = 1; k <= 11; ++k) {
    int ink = 0;
    for (int column = 82; column <= 88; ++column) ink += ink_in_cell(k + 2, column, k);
    EXPECT_GT(ink, 0) << "level " << k;
    EXPECT_EQ(ink_in_cell(k + 2, 80, k), 0) << "level " << k;
  }
  EXPECT_GT(ink_in_cell(15, 81, 15), 0);  // "LOG-Betrag" from column 81
  for (int row = 17; row <= 20; ++row) EXPECT_GT(ink_in_cell(row, 82, 15), 0) << "row " << row;  // "Xb=" ...
  EXPECT_EQ(ink_in_cell(17, 81, 15), 0);
  EXPECT_GT(ink_in_cell(25, 81, 15), 0);  // " <Return>" from column 80
}

// The line colours of the isoline picture, indices 1-13 (R, G, B in 0-63).
const int kLineColours[13][3] = {{63, 0, 63}, {63, 0, 0},  {63, 30, 0}, {63, 50, 0}, {55, 63, 0},
                                 {30, 63, 0}, {0, 45, 15}, {0, 30, 30}, {0, 15, 48}, {0, 0, 63},
                                 {30, 0, 30}, {30, 30, 30}, {0, 63, 0}};

TEST_F(IsolinePicture, BitmapCarriesTheLinePaletteAndTheBandsOnAWhiteBackground) {
  output.bitmap_off = false;
  output.white_background = true;
  set_values(sloped);
  set_code(4, 4, 12);
  draw(automatic(true));
  const std::string bmp = test::read_file(dir / kBitmap);
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 800 * 630);
  const auto entry = [&](int k, int component) { return static_cast<unsigned char>(bmp[54 + 4 * k + component]); };
  for (int k = 1; k <= 13; ++k) {
    const int* c = kLineColours[k - 1];
    EXPECT_EQ((std::vector<int>{entry(k, 2), entry(k, 1), entry(k, 0)}),
              (std::vector<int>{4 * c[0], 4 * c[1], 4 * c[2]}))
        << "index " << k;
  }
  EXPECT_EQ((std::vector<int>{entry(0, 0), entry(0, 1), entry(0, 2), entry(15, 0), entry(15, 1), entry(15, 2)}),
            (std::vector<int>{252, 252, 252, 0, 0, 0}));
  const auto pixel = [&](int x, int y) { return static_cast<unsigned char>(bmp[14 + 40 + 1024 + (629 - y) * 800 + x]); };
  EXPECT_EQ(pixel(330, 340), 6);   // v = 5.5, between the levels 5 and 6
  EXPECT_EQ(pixel(180, 205), 15);  // the mark of node (4, 4)
  EXPECT_EQ(pixel(780, 600), 0);   // the background beside the picture
  // The dialogue has white on black again.
  EXPECT_EQ(surface.palette()[0], 0u);
  EXPECT_EQ(surface.palette()[15], 0x3F3F3Fu);
}

TEST_F(IsolinePicture, SingleValuesAreDrawnAsTheyComeAndAnythingElseEndsThePictureAtOnce) {
  output.postscript_off = output.bitmap_off = false;
  set_values(sloped);
  set_code(4, 4, 12);
  const std::string screen = draw("N\nN\nN\nY\nN\nY\n5\n7.5\nx\nweiter\n");
  EXPECT_NE(screen.find("Eingabe einzelner Werte [Y/N]:Y\nWert:5\nWert:7.5\nWert:x\n"), std::string::npos)
      << screen;
  // No bitmap and no wait: the next line is still to be read, the window is
  // cleared.
  EXPECT_TRUE(viewer.shown.empty());
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_FALSE(std::filesystem::exists(kBitmap));
  EXPECT_EQ(surface.pixel(330, 300), 0);
  // The page is complete: the two levels (the second one's fill in shade
  // 9), then, with filling on top, the mark of node (4, 4), the frame and
  // the two labels.
  const Lines p = page();
  const long second_level = find_line(p, " 0.12 1.00 1.00 hs");
  const long mark = find_line(p, "   7.6400  20.3600 m");
  ASSERT_GE(second_level, 0);
  EXPECT_GT(mark, second_level);
  EXPECT_EQ(p[static_cast<size_t>(mark + 1)], "n");
  EXPECT_GT(find_line(p, "( 5.0E+00) ", mark), mark);
  EXPECT_GT(find_line(p, "( 7.5E+00) ", mark), mark);
  EXPECT_EQ(find_line(p, "(        ) "), -1);
  EXPECT_EQ(p.back(), "showpage");

  // Without filling the marks come before the first level.
  draw("N\nN\nN\nN\nN\nY\n5\nende\n");
  const Lines q = page();
  EXPECT_LT(find_line(q, "   7.6400  20.3600 m"), find_line(q, " 0.00 1.00 1.00 hs"));

  // Eleven values, then the picture waits as usual and is saved.
  std::string eleven = "N\nN\nN\nY\nN\nY\n";
  for (int k = 1; k <= 11; ++k) eleven += std::to_string(k) + "\n";
  const std::string full = draw(eleven + "\nweiter\n");
  int asked = 0;
  for (size_t at = full.find("Wert:"); at != std::string::npos; at = full.find("Wert:", at + 1)) ++asked;
  EXPECT_EQ(asked, 11);
  EXPECT_FALSE(viewer.shown.empty());
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_TRUE(std::filesystem::exists(kBitmap));
  EXPECT_EQ(find_last(page(), "( 1.1E+01) "), static_cast<long>(page().size()) - 3);
}

// The whole page of a one-element picture: v = 100 x from 0 to 10 over a
// 0.1 m square, a fixed potential at node A and an excitation at node D. The
// picture is 16 cm across, 160 cm per metre, centred on (11, 17): the origin
// moves to (3, 25), and level L runs across the page at 25 - 1.6 L.
TEST_F(IsolinePicture, PageOfASmallPictureRecordByRecord) {
  output.postscript_off = false;
  output.comment = "Probe (1)" + std::string(26, ' ');
  set_grid(2, 2, 0.1, 0.1);
  set_values([](int i, int) { return i == 1 ? 0.0 : 10.0; });
  set_code(1, 1, 10);
  set_code(2, 2, 100);
  draw(automatic(false));
  Lines expected = {
      "%!PS-Adobe-1.0",
      "% PostScript-File",
  };
  const Lines p = page();
  ASSERT_GT(p.size(), 21u);
  // The prolog is the writer's; the picture begins after it.
  EXPECT_EQ(Lines(p.begin(), p.begin() + 2), expected);
  expected = {
      " 0.0 0.0 0.0 co",
      "(TAMBRI: Potential \\(V\\)" + std::string(12, ' ') + ") ",
      "   0.0000   3.0000  28.0000   0.7200 /Helvetica t",
      "(Struktur : probe       Probe \\(1\\)" + std::string(26 + 2, ' ') + ") ",
      "   0.0000   3.0000  27.0000   0.6000 /Helvetica t",
      "   3.0000  25.0000 m",
      // Marks: the rectangle of node A, a tenth of the way to B and C.
      " 0.0 0.0 0.0 co",
      "   3.0000  25.0000 m",
      "n",
      "   3.0000  25.0000 m",
      "   4.6000  25.0000 l",
      "   4.6000  23.4000 l",
      "   3.0000  23.4000 l",
      "   3.0000  25.0000 l",
      "c f",
      // The diamond of node D, cut to its quarter inside the window.
      " 1.0 0.0 1.0 co",
      "n",
      "  19.0000  10.6000 m",
      "  19.0000   9.0000 l",
      "  19.0000   9.0000 l",
      "  17.4000   9.0000 l",
      "  19.0000  10.6000 l",
      "c f",
  };
  const char* hues[] = {"0.00", "0.06", "0.12", "0.18", "0.24", "0.30", "0.36", "0.42", "0.49", "0.55", "0.61"};
  const char* rows[] = {"   9.0000", "  10.6000", "  12.2000", "  13.8000", "  15.4000", "  17.0000",
                        "  18.6000", "  20.2000", "  21.8000", "  23.4000", "  25.0000"};
  for (int k = 1; k <= 11; ++k) {
    if (k > 1) expected.push_back(" s");
    expected.push_back(std::string(" ") + hues[k - 1] + " 1.00 1.00 hs");
    if (k == 1) expected.push_back("0.02 w");
    expected.push_back(std::string("   3.0000") + rows[k - 1] + " m");
    expected.push_back(std::string("  19.0000") + rows[k - 1] + " l");
  }
  const Lines end = {
      " s",
      " 0.0 0.0 0.0 co",
      "   3.0000  25.0000 m",
      "  19.0000  25.0000 l",
      "  19.0000   9.0000 l",
      "   3.0000   9.0000 l",
      "   3.0000  25.0000 l",
      " s",
      "0.01 w",
      "   0.0000   0.0000 m",
      "(\\(Abmessungen \\(m\\):  Xb= 0.00E+00      Xe= 1.00E-01      Yb= 0.00E+00      Ye= 1.00E-01\\)) ",
      "   0.0000   3.0000  25.5000   0.3600 /Helvetica t",
  };
  expected.insert(expected.end(), end.begin(), end.end());
  const char* labels[] = {"1.0E+01", "9.0E+00", "8.0E+00", "7.0E+00", "6.0E+00", "5.0E+00",
                          "4.0E+00", "3.0E+00", "2.0E+00", "1.0E+00", "0.0E+00"};
  const char* places[] = {"   2.0000   7.0000", "   5.0000   7.0000", "   8.0000   7.0000", "  11.0000   7.0000",
                          "  14.0000   7.0000", "  17.0000   7.0000", "   2.0000   6.0000", "   5.0000   6.0000",
                          "   8.0000   6.0000", "  11.0000   6.0000", "  14.0000   6.0000"};
  for (int k = 1; k <= 11; ++k) {
    expected.push_back(std::string(" ") + hues[k - 1] + " 1.00 1.00 hs");
    expected.push_back(std::string("( ") + labels[k - 1] + ") ");
    expected.push_back(std::string("   0.0000") + places[k - 1] + "   0.6000 /Helvetica t");
  }
  expected.push_back("showpage");
  ASSERT_EQ(p.size(), 21 + expected.size());
  for (size_t n = 0; n < expected.size(); ++n) EXPECT_EQ(p[21 + n], expected[n]) << "record " << 22 + n;
}

TEST_F(IsolinePicture, PageInGreyWithTheLogarithmAndTheFirstLevelFill) {
  output.postscript_off = false;
  output.black_and_white = true;
  set_grid(2, 2, 0.1, 0.1);
  set_values([](int i, int) { return i == 1 ? 1.0 : 1.0E10; });  // log10: 0 .. 10
  set_code(2, 2, 100);
  draw("Y\nN\nN\nY\nN\nN\n\n");
  const Lines p = page();
  // The first level's pass fills the whole window, darkest, then below the
  // level in the next grey.
  const long first = find_line(p, " 0.00 g");
  ASSERT_GE(first, 0);
  EXPECT_EQ(Lines(p.begin() + first, p.begin() + first + 9),
            (Lines{" 0.00 g", "n", "   3.0000  25.0000 m", "  19.0000  25.0000 l", "  19.0000   9.0000 l",
                   "   3.0000   9.0000 l", "   3.0000  25.0000 l", "c f", " 0.09 g"}));
  // The diamond is black in black and white.
  const long diamond = find_line(p, "  19.0000  10.6000 m");
  ASSERT_GE(diamond, 2);
  EXPECT_EQ(p[static_cast<size_t>(diamond - 2)], " 0.0 0.0 0.0 co");
  // Labels in grey, the last of them, then "LOG-Betrag".
  const Lines tail(p.end() - 6, p.end());
  EXPECT_EQ(tail, (Lines{"( 0.0E+00) ", "   0.0000  14.0000   6.0000   0.6000 /Helvetica t", " 0.0 0.0 0.0 co",
                         "(LOG-Betrag) ", "   0.0000   9.0000   4.0000   0.4800 /Helvetica t", "showpage"}));
  EXPECT_EQ(p[p.size() - 7], " 0.91 g");
}

TEST_F(IsolinePicture, NonFiniteValuesAreLeftOutAndEveryVariantRendersInColourAndGrey) {
  output.postscript_off = false;
  output.bitmap_off = false;
  set_values(sloped);
  (*v)[static_cast<size_t>(model->grid.node(5, 5))] = std::nan("");
  (*v)[static_cast<size_t>(model->grid.node(7, 2))] = -INFINITY;
  set_code(1, 1, 10);
  set_code(11, 11, 205);
  set_code(6, 1, 300);
  const std::string variants[] = {
      automatic(true), automatic(false), "Y\nY\nY\nN\nN\n\n", "N\nN\nY\nY\nY\n1\n9\n\n",
      "N\nN\nN\nY\nN\nY\n3\n4.5\nx\n",
  };
  for (bool grey : {false, true}) {
    output.black_and_white = grey;
    for (const std::string& answers : variants) {
      draw(answers);
      EXPECT_TRUE(std::filesystem::exists(kPage)) << answers;
    }
  }
  // The values left out do not change the range.
  EXPECT_NE(draw(automatic(true)).find("Min= 2.500E-01\nMax= 1.025E+01"), std::string::npos);
}

}  // namespace
}  // namespace tambri
