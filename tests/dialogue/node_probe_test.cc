#include "dialogue/node_probe.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <vector>

#include "core/cut_points.h"
#include "text/console.h"

namespace tambri {
namespace {

// x lines 0, 0.01, ..., 0.10 (11), y lines 0, 0.01, ..., 0.05 (6).
Grid test_grid() {
  Grid g;
  g.nx = 11;
  g.ny = 6;
  for (int i = 1; i <= g.nx; ++i) g.x[i] = 0.01 * (i - 1);
  for (int j = 1; j <= g.ny; ++j) g.y[j] = 0.01 * (j - 1);
  return g;
}

// 1000 i + 10 j at node (i, j); the magnitude of (3 i, 4 i) is 5 i.
struct TestField {
  explicit TestField(const Grid& g) {
    for (int j = 1; j <= g.ny; ++j) {
      for (int i = 1; i <= g.nx; ++i) {
        const int k = g.node(i, j);
        value[k] = 1000.0 * i + 10.0 * j;
        cx[k] = 3.0 * i;
        cy[k] = 4.0 * i;
      }
    }
  }
  NodeArray value{}, cx{}, cy{};
};

// The mapping a structure-like picture of window `w` draws with.
WorldMapping drawn_mapping(const Grid& g, const DisplayWindow& w, bool full_window) {
  GraphicsSurface s;
  s.gfx_set_viewport(0, 25, 600, 625);
  set_picture_world(s, picture_world(g, w, full_window));
  return s.world_mapping();
}

std::string title_at(const PictureProbe& probe, int x, int y) {
  const std::optional<ProbeReading> r = probe.at_pixel(x, y);
  return r ? r->title : "(none)";
}

// Window x lines 3..9 (0.02..0.08), y lines 2..6 (0.01..0.05): 600 pixels
// for 0.06 m down, 0.04 m across (full) or 0.06 m (true to scale).
TEST(NodeProbe, TitleNamesThePointTheNodeAndItsValueOrAssignment) {
  const Grid g = test_grid();
  const TestField f(g);
  const DisplayWindow w{3, 2, 9, 6};
  const NodeQuantity field{&f.value, nullptr, false, "Feldstaerke E  (V/m)"};
  const NodeQuantity magnitude{&f.cx, &f.cy, true, "Feldstaerke E  (V/m)"};
  std::array<int32_t, kMaxNodes + 1> occupancy{};
  occupancy[static_cast<size_t>(g.node(4, 3))] = 23;
  occupancy[static_cast<size_t>(g.node(5, 3))] = 107;

  const NodeProbe full(drawn_mapping(g, w, true), g, w, field);
  const NodeProbe square(drawn_mapping(g, w, false), g, w, field);
  const NodeProbe arrows(drawn_mapping(g, w, true), g, w, magnitude);
  const NodeProbe structure(drawn_mapping(g, w, true), g, w, occupancy);
  const struct {
    const PictureProbe& probe;
    int x, y;
    const char* title;
  } rows[] = {
      {full, 150, 125, "x= 3.000E-02  y= 2.000E-02  (4, 3)  Feldstaerke E  (V/m) = 4.030E+03"},
      {full, 160, 132, "x= 3.070E-02  y= 2.067E-02  (4, 3)  Feldstaerke E  (V/m) = 4.030E+03"},
      {full, 0, 625, "x= 8.000E-02  y= 1.000E-02  (9, 2)  Feldstaerke E  (V/m) = 9.020E+03"},  // corner
      {square, 400, 125, "x= 3.000E-02  y= 5.000E-02  (4, 6)  Feldstaerke E  (V/m) = 4.060E+03"},
      {square, 401, 125, "(none)"},  // the empty part right of the window
      {arrows, 150, 125, "x= 3.000E-02  y= 2.000E-02  (4, 3)  Feldstaerke E  (V/m) = 2.000E+01"},
      {structure, 150, 125, "x= 3.000E-02  y= 2.000E-02  (4, 3)  Material 3, Potential 2"},
      {structure, 150, 225, "x= 4.000E-02  y= 2.000E-02  (5, 3)  Material 7, Erregung 1"},
      {structure, 450, 325, "x= 5.000E-02  y= 4.000E-02  (6, 5)  Material 0"},
      {full, 150, 24, "(none)"},   // the title strip
      {full, 700, 300, "(none)"},  // the legend
  };
  for (const auto& r : rows) EXPECT_EQ(title_at(r.probe, r.x, r.y), r.title) << r.x << "," << r.y;
  EXPECT_EQ(full.at_pixel(160, 132)->copy, "0.03 0.02");
}

// The cut drawn across x on y line 4 (0.03) through x lines 2..10, values
// upward; the probe tells the nearest point's abscissa, node and value.
TEST(NodeProbe, CutTellsTheNearestPointOfTheCurve) {
  const Grid g = test_grid();
  const TestField f(g);
  const NodeQuantity field{&f.value, nullptr, false, "Potential (V)"};
  const WorldMapping drawn{100, 30, 600, 530, 0.01, 2000, 0.09, 10000, true};
  const CutProbe along_x(drawn, g, field, CutAbscissa::X, 2, 10, 4);
  const CutProbe along_y(drawn, g, field, CutAbscissa::Y, 2, 10, 4);  // y has only 6 lines
  EXPECT_EQ(title_at(along_x, 100, 30), "x= 1.000E-02  (2, 4)  Potential (V) = 2.040E+03");
  EXPECT_EQ(title_at(along_x, 390, 500), "x= 6.000E-02  (7, 4)  Potential (V) = 7.040E+03");  // 0.0564 -> 0.06
  EXPECT_EQ(along_x.at_pixel(390, 500)->copy, "0.06 0.03");
  EXPECT_EQ(title_at(along_x, 99, 300), "(none)");
  EXPECT_EQ(title_at(along_y, 300, 300), "(none)");
}

// The copied coordinates, read as the prompts read numbers and snapped to
// the line at or below them, land on the node even where the lines lie
// closer together than the title's four digits can tell.
TEST(NodeProbe, CopiedCoordinatesReadBackOntoTheSameNode) {
  Grid g;
  g.nx = g.ny = 40;
  for (int k = 1; k <= 40; ++k) {
    g.x[k] = 0.0123451 + 1e-7 * k;
    g.y[k] = -2.5e4 + k / 3.0;
  }
  for (int i = 1; i <= g.nx; i += 3) {
    const int j = g.ny + 1 - i;
    std::istringstream in(node_copy_text(g, {i, j}) + "\n");
    std::ostringstream out;
    Console console(in, out, true);
    double x = 0, y = 0;
    ASSERT_TRUE(console.read_numbers({x, y})) << node_copy_text(g, {i, j});
    EXPECT_EQ(cut_line(g.x, 1, g.nx, x), i) << node_copy_text(g, {i, j});
    EXPECT_EQ(cut_line(g.y, 1, g.ny, y), j) << node_copy_text(g, {i, j});
  }
}

}  // namespace
}  // namespace tambri
