#include "dialogue/structure_display.h"
#include "draw/palettes.h"

#include <gtest/gtest.h>

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

TEST_F(StructureDisplay, PaletteRuleGivesTheTableAndTheBitmapCarriesItOverAWhiteBackground) {
  set_structure_palette(surface);
  for (int k = 1; k <= 11; ++k) {
    const int* c = kPaletteTable[k - 1];
    EXPECT_EQ(surface.palette()[static_cast<size_t>(k)], static_cast<std::uint32_t>(c[2] << 16 | c[1] << 8 | c[0]))
        << "index " << k;
  }

  output.bitmap_off = false;
  output.white_background = true;
  show(kFull, "\n");
  const std::string bmp = test::read_file(dir / "KONDEN_a.bmp");
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 800 * 630);
  const auto entry = [&](int k, int component) { return static_cast<unsigned char>(bmp[54 + 4 * k + component]); };
  for (int k = 1; k <= 11; ++k) {
    const int* c = kPaletteTable[k - 1];
    EXPECT_EQ((std::vector<int>{entry(k, 2), entry(k, 1), entry(k, 0)}),
              (std::vector<int>{4 * c[0], 4 * c[1], 4 * c[2]})) << "index " << k;
  }
  EXPECT_EQ((std::vector<int>{entry(0, 0), entry(0, 1), entry(0, 2), entry(15, 0)}),
            (std::vector<int>{252, 252, 252, 0}));
  // Material 0 everywhere: the picture is background with the grey frame and grid.
  EXPECT_EQ(static_cast<unsigned char>(bmp[14 + 40 + 1024 + (629 - 155) * 800 + 130]), 0);
  // The dialogue gets white on black back.
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

  EXPECT_EQ(shown(130, 155), 3);
  EXPECT_EQ(shown(148, 168), 3);  // cell reaches halfway to the next lines
  EXPECT_EQ(shown(155, 155), 0);  // material 0 is background
  // Value 23: material 3 with the rectangle of potential 2, 0.4 of the spacing round the node.
  EXPECT_EQ(shown(310, 335), 3);
  EXPECT_EQ(shown(324, 335), 8);
  EXPECT_EQ(shown(310, 301), 8);
  EXPECT_EQ(shown(328, 335), 3);
  // Value 107: material 7 with the diamond of excitation 1, corners 24 pixels off the node.
  EXPECT_EQ(shown(138, 319), 9);
  EXPECT_EQ(shown(132, 313), 9);
  EXPECT_EQ(shown(108, 337), 9);
  EXPECT_EQ(shown(138, 345), 7);
  EXPECT_EQ(shown(120, 345), 11);  // grid drawn over the structure
  // Legend: material k filled, beside it the outline of potential / excitation k.
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
  EXPECT_EQ(shown(310, 361), 8);  // 0.4 of 0.15 below node 6 (0.56)
  EXPECT_EQ(shown(310, 368), 3);  // the cell border halfway, at 0.575
  EXPECT_EQ(shown(310, 372), 5);
  EXPECT_EQ(shown(310, 379), 9);  // 0.4 of 0.15 above node 7 (0.59)
  EXPECT_EQ(shown(310, 427), 9);  // 0.4 of 0.05 below it (0.67)
  EXPECT_EQ(shown(132, 397), 9);  // halfway from the diamond's upper corner (0.59) to its right one
}

TEST_F(StructureDisplay, GridUnderTheStructureIsCoveredByTheCells) {
  fill(7);
  set(8, 3, 0);
  show(kFull, "\n", true);
  EXPECT_EQ(shown(120, 345), 7);
  EXPECT_EQ(shown(120, 465), 11);  // seen where no material covers it
  EXPECT_EQ(shown(0, 345), 7);     // the frame is drawn first, under the border cells
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
  EXPECT_EQ(shown(290, 335), 1);
  EXPECT_EQ(shown(303, 335), 0);  // the last column's cells end at Y = 0.5
  EXPECT_EQ(shown(450, 335), 0);
  // A node on the right border shows the left half of its diamond, one in the
  // corner the quarter inside the window.
  EXPECT_EQ(shown(288, 313), 8);
  EXPECT_EQ(shown(282, 331), 8);
  EXPECT_EQ(shown(312, 313), 0);
  EXPECT_EQ(shown(12, 37), 8);
  EXPECT_EQ(shown(0, 40), 8);

  EXPECT_EQ(show(half, "Y\n\n"), "Volles Zeichenfenster [Y/N]:Y\n\n");
  EXPECT_EQ(shown(450, 335), 1);  // 0.5 m stretched over the viewport
}

TEST_F(StructureDisplay, ReversedWindowDrawsFrameAndLegendOnly) {
  fill(23);
  show({8, 3, 3, 8}, "y\n\n");
  EXPECT_EQ(shown(0, 325), 11);
  EXPECT_EQ(shown(300, 25), 11);
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
