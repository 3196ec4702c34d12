#pragma once
// The part of the grid a picture shows: first and last x line, first and last
// y line. Pictures put the structure's y across (to the right) and its x down,
// so a world point is (model y, model x).
#include <string>
#include <string_view>

#include "draw/postscript.h"
#include "draw/surface.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

struct DisplayWindow {
  int i1 = 1, j1 = 1, i2 = 0, j2 = 0;
};

// Lines 1..nx and 1..ny.
DisplayWindow full_display_window(const Grid& grid);

// Whether all four indices name grid lines; without them there is nothing to map.
bool names_grid_lines(const Grid& grid, const DisplayWindow& w);

// The question " Volles Zeichenfenster [Y/N]:" is asked only when the window's
// x and y extents differ by more than this (single precision, as always).
inline constexpr double kSquareTolerance = static_cast<double>(1e-5f);

enum class PromptSpacing { kSameBlock, kAfterEmptyLine };

// Asks " Volles Zeichenfenster [Y/N]:" when the window is not square and
// returns the answer (Y: full window); a square window keeps `kept` without a
// question. Requires names_grid_lines().
bool ask_full_window(Console& console, const Grid& grid, const DisplayWindow& w, bool kept,
                     PromptSpacing spacing = PromptSpacing::kSameBlock);

// The world window of a picture, corners (horizontal, vertical) =
// (model y, model x).
struct WorldWindow {
  double h1, v1, h2, v2;
};

// Full: the window's own corners, stretched over the square viewport. True to
// scale: a square of the larger extent from the upper left corner, so the
// shorter side leaves empty space to the right or below.
WorldWindow picture_world(const Grid& grid, const DisplayWindow& w, bool full_window);

// Sets it with the smaller x at the top; false (nothing changed) when it has
// no extent.
bool set_picture_world(GraphicsSurface& surface, const WorldWindow& world);

// "Xb=", "Xe=", "Yb=", "Ye=" with X(i1), X(i2), Y(j1), Y(j2) in 1PE8.1 at
// `column` of four rows from `first_row` of the current text window.
void write_window_coordinates(GraphicsSurface& surface, const Grid& grid, const DisplayWindow& w, int first_row,
                              int column);

// The page's line with the window's bounds, 86 characters: "(Abmessungen (m): "
// and "Xb=", "Xe=", "Yb=", "Ye=" with the coordinates in 1PE9.2 at positions
// 20, 38, 56 and 74, ")" in the last place; written at (3, 25.5) in size 0.3.
std::string window_bounds_text(const Grid& grid, const DisplayWindow& w);
void write_window_bounds(PsWriter& ps, const Grid& grid, const DisplayWindow& w);

}  // namespace tambri
