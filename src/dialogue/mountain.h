#pragma once
// The mountain picture: a node quantity over the shown part of the grid as a
// surface in an oblique view, the grid's x across, its y into the depth and
// the value upward, drawn facet by facet from the back row to the front so
// that nearer facets cover farther ones; as a wire-frame with hidden lines or
// in 11 height colours. Written at the same time to "<stem>_g.ps" and
// "<stem>_g.bmp" when those are switched on.
#include <optional>

#include "core/node_quantity.h"
#include "core/picture_values.h"
#include "dialogue/result_picture.h"

namespace tambri {

struct MountainOptions {
  bool logarithmic = false;
  ValueRange range;  // of the heights, as shown or as widened
  bool coloured = false;
};

// The questions; none when the window names no grid lines.
std::optional<MountainOptions> ask_mountain(Console& console, const ShownField& field, const NodeQuantity& quantity);
void paint_mountain(const MountainOptions& options, const ShownField& field, const NodeQuantity& quantity,
                    PictureRun& run);

void draw_mountain(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
