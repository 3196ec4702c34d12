#pragma once
// The arrow picture of a vector quantity: an arrow at every (or every n-th)
// node of the shown part, of a length proportional to the magnitude or to
// its logarithm, over the fixed-potential regions coloured by their value and
// the excitation nodes marked by diamonds. Written at the same time, when
// switched on, to "<stem>_p.ps" and "<stem>_p.bmp".
//
// A quantity that is zero at every node gives " ### Feldgrößen zu klein ###"
// and no picture and no file.
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

void draw_arrows(ResultPicture& picture, const VectorQuantity& quantity);

}  // namespace tambri
