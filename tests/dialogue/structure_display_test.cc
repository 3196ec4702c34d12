#include "dialogue/structure_display.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "support/picture_test.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

// A 0..1 x 0..1 grid with lines every 0.1 (11 x 11 nodes): the full window
// is square and fills the picture viewport, 601 x 601 pixels from (0, 25).
struct StructureDisplay : test::PictureTest {
  StructureDisplay() {
    model = std::make_unique<StructureModel>();
    model->output_stem = "KONDENSA    ";
    model->grid.nx = model->grid.ny = 11;
    for (int k = 1; k <= 11; ++k) model->grid.x[k] = model->grid.y[k] = 0.1 * (k - 1);
  }

  // Shows the window with `answers` as the console input; returns the screen.
  std::string show(DisplayWindow window, const std::string& answers, bool grid_under = false) {
    in.clear();
    in.str(answers);
    out.str("");
    show_structure(console, *model, window, grid_under, output, {surface, viewer});
    return out.str();
  }
};

TEST_F(StructureDisplay, FullWindowQuestionAndWindowsWithoutCells) {
  // The question only beyond the single-precision tolerance: just below 1e-5
  // but above its single-precision value 9.9999997e-6.
  model->grid.y[11] = 1.0 + 5e-6;
  EXPECT_EQ(show({1, 1, 11, 11}, "\n"), "\n");
  model->grid.y[11] = 1.0 + 9.99999987e-6;
  EXPECT_EQ(show({1, 1, 11, 11}, "N\n\n"), "Volles Zeichenfenster [Y/N]:N\n\n");
  model->grid.y[11] = 1.0;

  // Reversed, empty or gridless windows draw nothing in the picture.
  model->occupancy.fill(23);
  show({8, 3, 3, 8}, "y\n\n");  // reversed: the frame and the legend only
  EXPECT_EQ(count_shown(11), 4 * 600);
  EXPECT_EQ(shown(620, 41), 1);
  EXPECT_EQ(count_shown(3) + count_shown(8), 0);

  model->occupancy.fill(5);
  surface.gfx_set_world(0, 0, 0, 1, 1);  // an earlier picture's mapping stays with the surface
  show({5, 5, 5, 5}, "\n");
  EXPECT_EQ(count_shown(0), 601 * 601);
  EXPECT_EQ(show({5, 2, 5, 9}, "Y\n\n"), "Volles Zeichenfenster [Y/N]:Y\n\n");
  EXPECT_EQ(count_shown(0), 601 * 601);
  // Answered N the row has a square world and shows as a line.
  show({5, 2, 5, 9}, "N\n\n");
  EXPECT_GT(count_shown(5), 300);

  model->grid.nx = model->grid.ny = 0;
  EXPECT_EQ(show({1, 1, 0, 0}, "\nweiter\n"), "\n");
  EXPECT_EQ(console.read_line(), "weiter");
  EXPECT_EQ(count_shown(0), 601 * 601);
  EXPECT_EQ(shown(620, 41), 1);
}

// FNV-1a of a file: a fingerprint of every byte.
std::uint64_t fingerprint(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3u;
  return h;
}

// The bitmaps of the structure picture as it was drawn before its cells,
// marks and grid lines came from the shared kit: every byte must stay (the
// cases are in tests/dialogue/data/structure_bitmaps.txt).
TEST_F(StructureDisplay, EveryByteOfTheEarlierBitmapsStays) {
  model->problem = FieldProblem::kMagnetostatic;
  model->output_stem = "golden      ";
  Grid& g = model->grid;
  // Uneven lines, the x extent 1.3 times the y extent.
  g.nx = 14;
  g.ny = 11;
  for (int i = 1; i <= g.nx; ++i) g.x[i] = 0.13 * (i - 1) * (i + 4) / (13.0 * 18.0);
  for (int j = 1; j <= g.ny; ++j) {
    g.y[j] = 0.1 * (j - 1) * (j + 20) / (10.0 * 31.0);
    for (int i = 1; i <= g.nx; ++i) {
      // Every kind of value, excitations and potentials on the border too.
      const int m = (i + 2 * j) % 10, kind = (3 * i + j) % 5;
      set_code(i, j, kind == 0 ? 10 * (1 + (i + j) % 9) + m : kind == 1 ? 100 * (1 + (i * j) % 9) + m : m);
    }
  }
  output.bitmap_off = false;
  for (const test::CaseRow& c : test::read_cases("tests/dialogue/data/structure_bitmaps.txt")) {
    const std::vector<double> w = test::numbers(c[0]);
    output.white_background = c[2] == "yes";
    show({static_cast<int>(w.at(0)), static_cast<int>(w.at(1)), static_cast<int>(w.at(2)), static_cast<int>(w.at(3))},
         c[3] + "\n\n", c[1] == "yes");
    EXPECT_EQ(fingerprint(test::read_file(dir / "golden_a.bmp")), std::stoull(c[4])) << c.where;
  }
}

}  // namespace
}  // namespace tambri
