#pragma once
// The equicolour picture: a node quantity over the shown part of the grid as
// a mosaic of one filled cell per node in 128 colours from blue (the grid's
// minimum) over green and yellow to red (its maximum), with a colour bar and
// the value labels; written at the same time to "<stem>_c.ps" and
// "<stem>_c.bmp" when those are switched on.
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

void draw_equicolour(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
