#pragma once
// The isoline picture: lines of equal value of a node quantity over the shown
// part of the grid, optionally with the bands between them filled, the nodes
// with fixed potentials or excitations marked; written at the same time to
// "<stem>_i.ps" and "<stem>_i.bmp" when they are switched on. The levels are
// eleven automatic ones descending from the maximum, or up to eleven single
// values typed while the picture is shown (anything else ends the picture at
// once, without bitmap and without waiting).
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

void draw_isolines(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
