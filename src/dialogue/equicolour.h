#pragma once
// The equicolour picture: a node quantity over the shown part of the grid as
// a mosaic of one filled cell per node in 128 colours from blue (the grid's
// minimum) over green and yellow to red (its maximum), with a colour bar and
// the value labels; written at the same time to "<stem>_c.ps" and
// "<stem>_c.bmp" when those are switched on.
#include <optional>

#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

struct EquicolourOptions {
  bool logarithmic = false;
  bool full_window = false;
};

// The questions; none when the window names no grid lines. The full-window
// answer is kept in `memory` for the next call.
std::optional<EquicolourOptions> ask_equicolour(Console& console, const ShownField& field, PictureMemory& memory);
void paint_equicolour(const EquicolourOptions& options, const ShownField& field, const NodeQuantity& quantity,
                      PictureRun& run);

void draw_equicolour(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
