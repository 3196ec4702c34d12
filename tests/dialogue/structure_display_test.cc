#include "dialogue/structure_display.h"
#include "draw/palettes.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>

#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

using test::RecordingViewer;

// A 0..1 x 0..1 grid with lines every 0.1 (11 x 11 nodes): in the full square
// window node (i, j) lies at pixel (600 Y(j), 25 + 600 X(i)), 60 pixels apart.
struct StructureDisplay : ::testing::Test {
  StructureDisplay() : model(std::make_unique<StructureModel>()) {
    std::filesystem::current_path(dir.path());
    model->output_stem = "KONDENSA    ";
    model->grid.nx = model->grid.ny = 11;
    for (int k = 1; k <= 11; ++k) model->grid.x[k] = model->grid.y[k] = 0.1 * (k - 1);
  }
  ~StructureDisplay() override { std::filesystem::current_path(previous); }

  void fill(int32_t value) { model->occupancy.fill(value); }
  void set(int i, int j, int32_t value) { model->occupancy[static_cast<size_t>(model->grid.node(i, j))] = value; }
  // Shows the window with `answers` as the console input; returns the screen.
  std::string show(DisplayWindow window, const std::string& answers, bool grid_under = false) {
    in.clear();
    in.str(answers);
    out.str("");
    show_structure(console, *model, window, grid_under, output, {surface, viewer});
    return out.str();
  }
  int shown(int x, int y) const { return viewer.shown[static_cast<size_t>(y * GraphicsSurface::kWidth + x)]; }
  // Each {x, y, index}: the pixel shows that palette index.
  void expect_pixels(std::initializer_list<std::array<int, 3>> pixels) const {
    for (const auto& [x, y, index] : pixels) EXPECT_EQ(shown(x, y), index) << "pixel " << x << "," << y;
  }
  // Pixels of the picture viewport that show `index`.
  int count_in_picture(int index) const {
    int n = 0;
    for (int y = 25; y <= 625; ++y)
      for (int x = 0; x <= 600; ++x) n += shown(x, y) == index;
    return n;
  }

  std::filesystem::path previous = std::filesystem::current_path();
  test::TempDir dir;
  std::unique_ptr<StructureModel> model;
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out, true};
  OutputSettings output;
  GraphicsSurface surface;
  RecordingViewer viewer;
};

const DisplayWindow kFull{1, 1, 11, 11};

// (red, green, blue) of the structure palette, indices 1-11.
const int kPaletteTable[11][3] = {{0, 0, 63},  {0, 18, 45}, {0, 37, 26}, {0, 56, 7},  {21, 63, 0}, {56, 63, 0},
                                  {63, 48, 0}, {63, 29, 0}, {63, 2, 0},  {0, 63, 0}, {30, 30, 30}};

TEST_F(StructureDisplay, PaletteRuleGivesTheTableAndAWhiteBackgroundIsOnlyLent) {
  set_structure_palette(surface);
  for (int k = 1; k <= 11; ++k) {
    const int* c = kPaletteTable[k - 1];
    EXPECT_EQ(surface.palette()[static_cast<size_t>(k)], static_cast<std::uint32_t>(c[2] << 16 | c[1] << 8 | c[0]))
        << "index " << k;
  }

  // A white background is lent to the picture only: the dialogue gets white on
  // black back. (The bitmap's palette is pinned byte for byte by the bitmap test.)
  output.white_background = true;
  show(kFull, "\n");
  EXPECT_EQ(surface.palette()[0], 0u);
  EXPECT_EQ(surface.palette()[15], 0x3F3F3Fu);
}

TEST_F(StructureDisplay, MaterialsFillCellsPotentialsAreRectanglesExcitationsDiamonds) {
  set(3, 3, 3);
  set(6, 6, 23);
  set(6, 3, 107);
  const std::string screen = show(kFull, "\nweiter\n");
  EXPECT_EQ(screen, "\n");  // square: no question, the wait read one line
  EXPECT_EQ(console.read_line(), "weiter");

  // Material 3 fills its cell halfway to the next lines; 23 adds the rectangle
  // of potential 2 at 0.4 of the spacing; 107 the diamond of excitation 1 over
  // material 7, corners 24 pixels off the node; the grid lies over it all.
  expect_pixels({{130, 155, 3}, {148, 168, 3}, {155, 155, 0}, {310, 335, 3}, {324, 335, 8}, {310, 301, 8},
                 {328, 335, 3}, {138, 319, 9}, {132, 313, 9}, {108, 337, 9}, {138, 345, 7}, {120, 345, 11}});
  // Legend row k: material k filled, beside it the outline of potential / excitation k.
  for (int k = 1; k <= 9; ++k) {
    EXPECT_EQ(shown(620, 25 + 32 * (k - 1) + 16), k);
    EXPECT_EQ(shown(640, 25 + 32 * (k - 1) + 16), 10 - k);
    EXPECT_EQ(shown(650, 25 + 32 * (k - 1) + 16), 0);
  }
}

TEST_F(StructureDisplay, UnevenSpacingMovesCellBordersAndInnerRectangles) {
  model->grid.x[7] = 0.65;  // node 7 lies 0.15 below node 6, 0.05 above node 8
  set(6, 6, 23);
  set(7, 6, 15);
  set(7, 3, 100);
  show(kFull, "\n");
  // Down from node 6 (0.5): its rectangle ends 0.4 of 0.15 below, the cells meet
  // halfway at 0.575, node 7's diamond reaches 0.4 of 0.15 up and 0.4 of 0.05 down.
  expect_pixels({{310, 361, 8}, {310, 368, 3}, {310, 372, 5}, {310, 379, 9}, {310, 427, 9}, {132, 397, 9}});
}

TEST_F(StructureDisplay, GridUnderTheStructureIsCoveredByTheCells) {
  fill(7);
  set(8, 3, 0);
  show(kFull, "\n", true);
  // The grid shows only where no material covers it; the frame lies under the border cells.
  expect_pixels({{120, 345, 7}, {120, 465, 11}, {0, 345, 7}});
  show(kFull, "\n", false);
  EXPECT_EQ(shown(120, 345), 11);
}

TEST_F(StructureDisplay, QuestionOnlyBeyondTheSinglePrecisionTolerance) {
  model->grid.y[11] = 1.0 + 5e-6;
  EXPECT_EQ(show(kFull, "\n"), "\n");
  // Just below 1e-5 but above its single-precision value 9.9999997e-6.
  model->grid.y[11] = 1.0 + 9.99999987e-6;
  EXPECT_EQ(show(kFull, "N\n\n"), "Volles Zeichenfenster [Y/N]:N\n\n");
}

TEST_F(StructureDisplay, OblongWindowAsksAndTrueScaleCutsTheCellsAtTheBorderLine) {
  fill(1);
  set(1, 1, 201);
  set(6, 6, 201);
  const DisplayWindow half{1, 1, 11, 6};  // 1 m down, 0.5 m across
  EXPECT_EQ(show(half, "n\n\n"), "Volles Zeichenfenster [Y/N]:n\n\n");
  // The last column's cells end at Y = 0.5; a node on the right border shows the
  // left half of its diamond, one in the corner the quarter inside the window.
  expect_pixels({{290, 335, 1}, {303, 335, 0}, {450, 335, 0}, {288, 313, 8}, {282, 331, 8}, {312, 313, 0},
                 {12, 37, 8}, {0, 40, 8}});

  EXPECT_EQ(show(half, "Y\n\n"), "Volles Zeichenfenster [Y/N]:Y\n\n");
  EXPECT_EQ(shown(450, 335), 1);
}

TEST_F(StructureDisplay, ReversedWindowDrawsFrameAndLegendOnly) {
  fill(23);
  show({8, 3, 3, 8}, "y\n\n");
  expect_pixels({{0, 325, 11}, {300, 25, 11}});
  EXPECT_EQ(count_in_picture(11), 4 * 600);
  EXPECT_EQ(count_in_picture(3) + count_in_picture(8), 0);
  EXPECT_EQ(shown(620, 41), 1);
}

TEST_F(StructureDisplay, WindowWithoutExtentOrWithoutGridDrawsNothingInThePicture) {
  fill(5);
  surface.gfx_set_world(0, 0, 0, 1, 1);  // an earlier picture's mapping stays with the surface
  show({5, 5, 5, 5}, "\n");
  EXPECT_EQ(count_in_picture(0), 601 * 601);
  EXPECT_EQ(show({5, 2, 5, 9}, "Y\n\n"), "Volles Zeichenfenster [Y/N]:Y\n\n");
  EXPECT_EQ(count_in_picture(0), 601 * 601);
  // Answered N the row has a square world and shows as a line.
  show({5, 2, 5, 9}, "N\n\n");
  EXPECT_GT(count_in_picture(5), 300);

  model->grid.nx = model->grid.ny = 0;
  EXPECT_EQ(show({1, 1, 0, 0}, "\nweiter\n"), "\n");
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_EQ(count_in_picture(0), 601 * 601);
  EXPECT_EQ(shown(620, 41), 1);
}

// Renders `text` the way the display must have written it and compares the cells.
void expect_text(const StructureDisplay& t, int row, int column, const std::string& text) {
  GraphicsSurface reference;
  reference.gfx_set_text_window(row, column, row, column + static_cast<int>(text.size()) - 1);
  reference.gfx_text(text);
  int ink = 0, differing = 0;
  for (int y = (row - 1) * 16; y < row * 16; ++y) {
    for (int x = (column - 1) * 8; x < (column - 1 + static_cast<int>(text.size())) * 8; ++x) {
      ink += reference.pixel(x, y) != 0;
      differing += reference.pixel(x, y) != t.shown(x, y);
    }
  }
  EXPECT_GT(ink, 0) << text;
  EXPECT_EQ(differing, 0) << text;
}

TEST_F(StructureDisplay, TitleLegendNumbersAndWindowCoordinates) {
  model->problem = kProblemM;
  show({2, 3, 9, 10}, "\n");
  expect_text(*this, 1, 1, " Material (Voll), Potential (Rechtecke), Stromdichte (Rauten)");
  expect_text(*this, 7, 87, "3");
  expect_text(*this, 11, 90, "Nr.");
  expect_text(*this, 23, 80, "Xb= 1.0E-01");
  expect_text(*this, 24, 80, "Xe= 8.0E-01");
  expect_text(*this, 25, 80, "Yb= 2.0E-01");
  expect_text(*this, 26, 80, "Ye= 9.0E-01");
  expect_text(*this, 30, 81, " <Return>");
}

}  // namespace
}  // namespace tambri
