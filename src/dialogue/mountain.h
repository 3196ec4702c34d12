#pragma once
// The mountain picture: a node quantity over the shown part of the grid as a
// surface in an oblique view, the grid's x across, its y into the depth and
// the value upward, drawn facet by facet from the back row to the front so
// that nearer facets cover farther ones; as a wire-frame with hidden lines or
// in 11 height colours. Written at the same time to "<stem>_g.ps" and
// "<stem>_g.bmp" when those are switched on.
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

void draw_mountain(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
