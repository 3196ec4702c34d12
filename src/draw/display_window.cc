#include "draw/display_window.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "text/fortran_format.h"

namespace tambri {
namespace {

bool is_line(int k, int count) { return k >= 1 && k <= count; }

}  // namespace

DisplayWindow full_display_window(const Grid& grid) { return {1, 1, grid.nx, grid.ny}; }

bool names_grid_lines(const Grid& grid, const DisplayWindow& w) {
  return is_line(w.i1, grid.nx) && is_line(w.i2, grid.nx) && is_line(w.j1, grid.ny) && is_line(w.j2, grid.ny);
}

bool ask_full_window(Console& console, const Grid& grid, const DisplayWindow& w, bool kept, PromptSpacing spacing) {
  const double lx = grid.x[w.i2] - grid.x[w.i1];
  const double ly = grid.y[w.j2] - grid.y[w.j1];
  if (!(std::fabs(lx - ly) > kSquareTolerance)) return kept;
  if (spacing == PromptSpacing::kAfterEmptyLine) console.empty_line();
  console.prompt(" Volles Zeichenfenster [Y/N]:");
  return console.read_letter() == 'Y';
}

WorldWindow picture_world(const Grid& grid, const DisplayWindow& w, bool full_window) {
  const double y1 = grid.y[w.j1], x1 = grid.x[w.i1];
  if (full_window) return {y1, x1, grid.y[w.j2], grid.x[w.i2]};
  const double side = std::max(grid.x[w.i2] - x1, grid.y[w.j2] - y1);
  return {y1, x1, y1 + side, x1 + side};
}

bool set_picture_world(GraphicsSurface& surface, const WorldWindow& world) {
  return surface.gfx_set_world(0, world.h1, world.v1, world.h2, world.v2);
}

void write_window_coordinates(GraphicsSurface& surface, const Grid& grid, const DisplayWindow& w, int first_row,
                              int column) {
  const struct {
    const char* label;
    double value;
  } rows[] = {{"Xb=", grid.x[w.i1]}, {"Xe=", grid.x[w.i2]}, {"Yb=", grid.y[w.j1]}, {"Ye=", grid.y[w.j2]}};
  int row = first_row;
  for (const auto& r : rows) {
    surface.gfx_set_text_position(row++, column);
    surface.gfx_text(std::string(r.label) + format_e(r.value, 8, 1));
  }
}

std::string window_bounds_text(const Grid& grid, const DisplayWindow& w) {
  const std::string gap(6, ' ');
  return "(Abmessungen (m):  Xb=" + format_e(grid.x[w.i1], 9, 2) + gap + "Xe=" + format_e(grid.x[w.i2], 9, 2) + gap +
         "Yb=" + format_e(grid.y[w.j1], 9, 2) + gap + "Ye=" + format_e(grid.y[w.j2], 9, 2) + ")";
}

void write_window_bounds(PsWriter& ps, const Grid& grid, const DisplayWindow& w) {
  ps.text(3, 25.5, 0.3, window_bounds_text(grid, w), 0, 86);
}

}  // namespace tambri
