#pragma once
// The isoline picture: lines of equal value of a node quantity over the shown
// part of the grid, optionally with the bands between them filled, the nodes
// with fixed potentials or excitations marked; written at the same time to
// "<stem>_i.ps" and "<stem>_i.bmp" when they are switched on. The levels are
// eleven automatic ones descending from the maximum, or up to eleven single
// values typed while the picture is shown (anything else ends the picture at
// once, without bitmap and without waiting).
#include <optional>

#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

struct IsolineOptions {
  bool logarithmic = false;
  bool full_window = false;
  bool grid_lines = false;
  bool raster_lines = false;
  bool filled = false;
  double min = 0, max = 0;     // the range the automatic levels come from
  bool single_values = false;  // levels typed while the picture is shown
};

// The questions; none when the window names no grid lines or all values are
// equal.
std::optional<IsolineOptions> ask_isolines(Console& console, const ShownField& field, const NodeQuantity& quantity);
// With single values the painting reads them through the run.
void paint_isolines(const IsolineOptions& options, const ShownField& field, const NodeQuantity& quantity,
                    PictureRun& run);

void draw_isolines(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
