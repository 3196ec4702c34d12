#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "dialogue/structure_display.h"
#include "support/recording_viewer.h"
#include "support/session.h"

namespace tambri {
namespace {

// FNV-1a of the bitmap file: a fingerprint of every byte.
std::uint64_t fingerprint(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3u;
  return h;
}

// The bitmaps of the structure picture as it was drawn before its cells,
// marks and grid lines came from the shared kit: every byte must stay.
TEST(StructureDisplayBitmap, EveryByteOfTheEarlierPicturesStays) {
  const std::filesystem::path previous = std::filesystem::current_path();
  test::TempDir dir;
  std::filesystem::current_path(dir.path());
  auto model = std::make_unique<StructureModel>();
  model->problem = kProblemM;
  model->output_stem = "golden      ";
  Grid& g = model->grid;
  // Uneven lines, the x extent 1.3 times the y extent.
  g.nx = 14;
  g.ny = 11;
  for (int i = 1; i <= g.nx; ++i) g.x[i] = 0.13 * (i - 1) * (i + 4) / (13.0 * 18.0);
  for (int j = 1; j <= g.ny; ++j) g.y[j] = 0.1 * (j - 1) * (j + 20) / (10.0 * 31.0);
  for (int j = 1; j <= g.ny; ++j) {
    for (int i = 1; i <= g.nx; ++i) {
      // Every kind of value, excitations and potentials on the border too.
      const int m = (i + 2 * j) % 10;
      const int kind = (3 * i + j) % 5;
      const int32_t value = kind == 0 ? 10 * (1 + (i + j) % 9) + m : kind == 1 ? 100 * (1 + (i * j) % 9) + m : m;
      model->occupancy[static_cast<size_t>(g.node(i, j))] = value;
    }
  }
  std::istringstream in;
  std::ostringstream out;
  Console console(in, out, true);
  GraphicsSurface surface;
  test::RecordingViewer viewer;
  OutputSettings output;
  output.bitmap_off = false;

  struct Case {
    DisplayWindow window;
    bool grid_under;
    bool white;
    const char* answers;  // the window question (when asked) and the wait
    std::uint64_t expected;
  };
  const Case cases[] = {
      {{1, 1, 14, 11}, false, false, "N\n\n", 12766898910622858558u},
      {{1, 1, 14, 11}, true, true, "Y\n\n", 5251794247413965622u},
      {{3, 2, 12, 9}, false, true, "N\n\n", 13470292114237487893u},
      {{4, 4, 4, 9}, true, false, "Y\n\n", 9295267209903205015u},
  };
  for (const Case& c : cases) {
    output.white_background = c.white;
    in.clear();
    in.str(c.answers);
    show_structure(console, *model, c.window, c.grid_under, output, {surface, viewer});
    EXPECT_EQ(fingerprint(test::read_file(dir / "golden_a.bmp")), c.expected)
        << "window " << c.window.i1 << "," << c.window.j1 << "," << c.window.i2 << "," << c.window.j2;
  }
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace tambri
