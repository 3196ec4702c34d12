#include "dialogue/structure_display.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "draw/picture_files.h"
#include "draw/picture_frame.h"
#include "text/fortran_format.h"
#include "model/assignment.h"

namespace tambri {
namespace {

// Single-precision constants of the picture, widened as the arithmetic sees them.
constexpr double kSquareTolerance = static_cast<double>(1e-5f);
constexpr double kInnerFraction = static_cast<double>(0.4f);
constexpr double kRampSlope = static_cast<double>(1.26f);
constexpr double kRampSteepSlope = static_cast<double>(2.34f);

constexpr int kPotentialColourBase = 10;  // potential / excitation k is drawn in 10 - k
constexpr int kGridColour = 11;
constexpr int kTextColour = 15;

constexpr std::int32_t rgb(int red, int green, int blue) { return blue << 16 | green << 8 | red; }

// Colour k (1-9) of the blue-green-yellow-red ramp.
std::int32_t ramp_colour(int k) {
  const int t = k <= 8 ? 15 * (k - 1) : 127;
  const auto truncated = [](double v) { return std::min(static_cast<int>(v), 63); };
  if (t <= 50) {
    const int c = truncated(t * kRampSlope);
    return rgb(0, c, 63 - c);
  }
  if (t <= 77) return rgb(truncated((t - 51) * kRampSteepSlope), 63, 0);
  return rgb(63, 63 - truncated((t - 78) * kRampSlope), 0);
}

const char* title_of(int32_t problem) {
  switch (problem) {
    case kProblemS: return " Material (Voll), Potential (Rechtecke)";
    case kProblemM: return " Material (Voll), Potential (Rechtecke), Stromdichte (Rauten)";
    default: return " Material (Voll), Potential (Rechtecke), Raumladung (Rauten)";
  }
}

using Lines = std::array<double, kMaxLines + 1>;

// Where one node lies along one axis of the shown window (lines first..last):
// its own line, its cell between the midpoints to the neighbouring lines and
// its inner rectangle reaching 0.4 of the way to them. The window's first and
// last lines cut both at the border.
struct NodeSpan {
  double at, cell_lo, cell_hi, inner_lo, inner_hi;
};

NodeSpan node_span(const Lines& lines, int k, int first, int last) {
  const double at = lines[k];
  NodeSpan s{at, at, at, at, at};
  if (k > first) {
    s.cell_lo = (lines[k - 1] + at) / 2;
    s.inner_lo = at - kInnerFraction * (at - lines[k - 1]);
  }
  if (k < last) {
    s.cell_hi = (at + lines[k + 1]) / 2;
    s.inner_hi = at + kInnerFraction * (lines[k + 1] - at);
  }
  return s;
}

// World points are (model y, model x): y runs across, x down the picture.
void draw_node(GraphicsSurface& surface, int32_t value, const NodeSpan& x, const NodeSpan& y) {
  const int e = occupancy_excitation(value), p = occupancy_potential(value), m = occupancy_material(value);
  if (m > 0) {
    surface.gfx_set_color(m);
    surface.gfx_rectangle(kGfxFilled, y.cell_lo, x.cell_lo, y.cell_hi, x.cell_hi);
  }
  if (p > 0) {
    surface.gfx_set_color(kPotentialColourBase - p);
    surface.gfx_rectangle(kGfxOutline, y.inner_lo, x.inner_lo, y.inner_hi, x.inner_hi);
  }
  if (e > 0) {
    // The corners lie on the node's own lines at the sides of the inner
    // rectangle; at the window's border a side collapses onto the node, which
    // leaves the half (or, in a corner, the quarter) inside the window.
    surface.gfx_set_color(kPotentialColourBase - e);
    surface.gfx_move_to(y.at, x.inner_lo);
    surface.gfx_line_to(y.inner_hi, x.at);
    surface.gfx_line_to(y.at, x.inner_hi);
    surface.gfx_line_to(y.inner_lo, x.at);
    surface.gfx_line_to(y.at, x.inner_lo);
  }
}

void draw_grid(GraphicsSurface& surface, const Grid& grid, const DisplayWindow& w) {
  surface.gfx_set_color(kGridColour);
  for (int i = w.i1 + 1; i < w.i2; ++i) {
    surface.gfx_move_to(grid.y[w.j1], grid.x[i]);
    surface.gfx_line_to(grid.y[w.j2], grid.x[i]);
  }
  for (int j = w.j1 + 1; j < w.j2; ++j) {
    surface.gfx_move_to(grid.y[j], grid.x[w.i1]);
    surface.gfx_line_to(grid.y[j], grid.x[w.i2]);
  }
}

void draw_structure(GraphicsSurface& surface, const StructureModel& model, const DisplayWindow& w,
                    bool grid_under_structure) {
  const Grid& grid = model.grid;
  surface.gfx_set_color(kGridColour);
  surface.gfx_rectangle(kGfxOutline, grid.y[w.j1], grid.x[w.i1], grid.y[w.j2], grid.x[w.i2]);
  // A window reversed in either direction shows no node, so no grid either.
  if (w.i1 > w.i2 || w.j1 > w.j2) return;
  if (grid_under_structure) draw_grid(surface, grid, w);
  for (int j = w.j1; j <= w.j2; ++j) {
    const NodeSpan y = node_span(grid.y, j, w.j1, w.j2);
    for (int i = w.i1; i <= w.i2; ++i) {
      draw_node(surface, model.occupancy[static_cast<size_t>(grid.node(i, j))],
                node_span(grid.x, i, w.i1, w.i2), y);
    }
  }
  if (!grid_under_structure) draw_grid(surface, grid, w);
}

// Row k shows material k's colour beside the colour of potential and excitation k.
void draw_legend(GraphicsSurface& surface) {
  surface.gfx_set_viewport(kLegendViewport.x1, kLegendViewport.y1, kLegendViewport.x2, kLegendViewport.y2);
  for (int k = 1; k <= 9; ++k) {
    surface.gfx_set_color(k);
    surface.gfx_rectangle_px(kGfxFilled, 0, 32 * (k - 1), 20, 32 * k);
    surface.gfx_set_color(kPotentialColourBase - k);
    surface.gfx_rectangle_px(kGfxOutline, 30, 32 * (k - 1), 50, 32 * k);
  }
  surface.gfx_set_text_window(2, 85, 30, 100);
  surface.gfx_set_text_color(kTextColour);
  for (int k = 1; k <= 9; ++k) {
    surface.gfx_set_text_position(2 * k, 3);
    surface.gfx_text(format_i(k, 1));
  }
  surface.gfx_set_text_position(10, 6);
  surface.gfx_text("Nr.");
}

void write_window_coordinates(GraphicsSurface& surface, const Grid& grid, const DisplayWindow& w) {
  const struct {
    const char* label;
    double value;
  } rows[] = {{"Xb=", grid.x[w.i1]}, {"Xe=", grid.x[w.i2]}, {"Yb=", grid.y[w.j1]}, {"Ye=", grid.y[w.j2]}};
  int row = 22;
  for (const auto& r : rows) {
    surface.gfx_set_text_position(row++, 1);
    surface.gfx_text(std::string(r.label) + format_e(r.value, 8, 1));
  }
}

bool is_line(int k, int count) { return k >= 1 && k <= count; }

}  // namespace

void set_structure_palette(GraphicsSurface& surface) {
  for (int k = 1; k <= 9; ++k) surface.gfx_set_palette_rgb(k, ramp_colour(k));
  surface.gfx_set_palette_rgb(10, rgb(0, 63, 0));
  surface.gfx_set_palette_rgb(11, rgb(30, 30, 30));
}

void show_structure(Console& console, const StructureModel& model, const DisplayWindow& w,
                    bool grid_under_structure, const OutputSettings& output, Pictures pictures) {
  const Grid& grid = model.grid;
  // Without grid lines at all four indices (no grid yet) there is no world to
  // draw in: the picture keeps its title and legend only.
  const bool has_lines = is_line(w.i1, grid.nx) && is_line(w.i2, grid.nx) && is_line(w.j1, grid.ny) &&
                         is_line(w.j2, grid.ny);
  bool full_window = false;
  double lx = 0, ly = 0;
  if (has_lines) {
    lx = grid.x[w.i2] - grid.x[w.i1];
    ly = grid.y[w.j2] - grid.y[w.j1];
    if (std::fabs(lx - ly) > kSquareTolerance) {
      console.prompt(" Volles Zeichenfenster [Y/N]:");
      full_window = console.read_letter() == 'Y';
    }
  }

  GraphicsSurface& surface = pictures.surface;
  PictureFrame frame(surface, pictures.viewer, console, output);
  frame.begin(title_of(model.problem));
  set_structure_palette(surface);

  if (has_lines) {
    const double y1 = grid.y[w.j1], x1 = grid.x[w.i1];
    const double side = std::max(lx, ly);
    const bool world_set = full_window ? surface.gfx_set_world(0, y1, x1, grid.y[w.j2], grid.x[w.i2])
                                       : surface.gfx_set_world(0, y1, x1, y1 + side, x1 + side);
    // A window of a single line or node has no extent; the surface keeps the
    // mapping of an earlier picture, which must not place this one.
    if (world_set) draw_structure(surface, model, w, grid_under_structure);
  }

  draw_legend(surface);
  surface.gfx_set_text_window(2, 80, 30, 100);
  if (has_lines) write_window_coordinates(surface, grid, w);
  surface.gfx_set_text_position(29, 2);

  frame.end(picture_file_name(model.output_stem, kTagStructure, ".bmp"));
}

}  // namespace tambri
