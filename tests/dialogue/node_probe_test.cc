#include "dialogue/node_probe.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "text/console.h"

namespace tambri {
namespace {

// The mapping a structure-like picture of lines i1..i2, j1..j2 draws with.
WorldMapping drawn_mapping(const Grid& g, const DisplayWindow& w, bool full_window) {
  GraphicsSurface s;
  s.gfx_set_viewport(0, 25, 600, 625);
  set_picture_world(s, picture_world(g, w, full_window));
  return s.world_mapping();
}

// x lines 0, 0.01, ..., 0.10, y lines 0, ..., 0.05, value 1000 i + 10 j.
// Shown: x lines 3..9 (0.02..0.08, 600 pixels down), y lines 2..6
// (0.01..0.05 across: 600 pixels, or 400 true to scale).
TEST(NodeProbe, TitleNamesThePointTheNodeAndItsValueOrAssignmentOrTheCutsNearestPoint) {
  Grid g;
  g.nx = 11;
  g.ny = 6;
  NodeArray value{};
  std::array<int32_t, kMaxNodes + 1> occupancy{};
  for (int i = 1; i <= g.nx; ++i) g.x[i] = 0.01 * (i - 1);
  for (int j = 1; j <= g.ny; ++j) g.y[j] = 0.01 * (j - 1);
  for (int k = 1; k <= g.nodes(); ++k) value[k] = 1000.0 * ((k - 1) % 11 + 1) + 10.0 * ((k - 1) / 11 + 1);
  occupancy[static_cast<size_t>(g.node(4, 3))] = 23;
  occupancy[static_cast<size_t>(g.node(5, 3))] = 107;
  const DisplayWindow w{3, 2, 9, 6};
  const NodeQuantity field{&value, nullptr, false, "Feldstaerke E  (V/m)"};
  const NodeProbe full(drawn_mapping(g, w, true), g, w, field);
  const NodeProbe square(drawn_mapping(g, w, false), g, w, field);
  const NodeProbe structure(drawn_mapping(g, w, true), g, w, occupancy);
  // The cut across x on y line 4 through x lines 2..10, values upward; y
  // has no line 10.
  const WorldMapping cut_drawn{100, 30, 600, 530, 0.01, 2000, 0.09, 10000, true};
  const CutProbe cut(cut_drawn, g, {&value, nullptr, false, "Potential (V)"}, CutAbscissa::X, 2, 10, 4);
  const CutProbe no_cut(cut_drawn, g, field, CutAbscissa::Y, 2, 10, 4);
  const struct {
    const PictureProbe& probe;
    int x, y;
    const char* title;
    const char* copy;
  } rows[] = {
      {full, 160, 132, "x= 3.070E-02  y= 2.067E-02  (4, 3)  Feldstaerke E  (V/m) = 4.030E+03", "0.03 0.02"},
      {full, 0, 625, "x= 8.000E-02  y= 1.000E-02  (9, 2)  Feldstaerke E  (V/m) = 9.020E+03", "0.08 0.01"},
      {square, 400, 125, "x= 3.000E-02  y= 5.000E-02  (4, 6)  Feldstaerke E  (V/m) = 4.060E+03", "0.03 0.05"},
      {square, 401, 125, "", ""},  // the empty part right of the shown lines
      {structure, 150, 125, "x= 3.000E-02  y= 2.000E-02  (4, 3)  Material 3, Potential 2", "0.03 0.02"},
      {structure, 150, 225, "x= 4.000E-02  y= 2.000E-02  (5, 3)  Material 7, Erregung 1", "0.04 0.02"},
      {full, 700, 300, "", ""},  // the legend
      {cut, 100, 30, "x= 1.000E-02  (2, 4)  Potential (V) = 2.040E+03", "0.01 0.03"},
      {cut, 390, 500, "x= 6.000E-02  (7, 4)  Potential (V) = 7.040E+03", "0.06 0.03"},  // 0.0564
      {no_cut, 300, 300, "", ""},
  };
  EXPECT_EQ(cut_drawn.world_at(100, 530)->y, 2000);  // values upward
  EXPECT_EQ(cut_drawn.world_at(600, 30)->y, 10000);
  for (const auto& r : rows) {
    const std::optional<ProbeReading> got = r.probe.at_pixel(r.x, r.y);
    EXPECT_EQ(got ? got->title + "|" + got->copy : "|", std::string(r.title) + "|" + r.copy) << r.x << "," << r.y;
  }
}

// Read as the prompts read numbers and snapped to the line at or below, the
// copy lands on its node where the title's four digits cannot tell lines
// apart.
TEST(NodeProbe, CopiedCoordinatesReadBackOntoTheSameNode) {
  Grid g;
  g.nx = g.ny = 40;
  for (int k = 1; k <= 40; ++k) g.x[k] = 0.0123451 + 1e-7 * k, g.y[k] = -2.5e4 + k / 3.0;
  for (int i = 1; i <= g.nx; i += 3) {
    std::istringstream in(node_copy_text(g, {i, 41 - i}) + "\n");
    std::ostringstream out;
    Console console(in, out, true);
    double x = 0, y = 0;
    ASSERT_TRUE(console.read_numbers({x, y})) << in.str();
    EXPECT_EQ(std::pair(cut_line(g.x, 1, 40, x), cut_line(g.y, 1, 40, y)),
              std::pair(std::optional(i), std::optional(41 - i)))
        << in.str();
  }
}

}  // namespace
}  // namespace tambri
