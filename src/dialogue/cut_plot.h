#pragma once
// The cut: a node quantity along one grid line of the shown part, as a curve
// over x or over y, written at the same time to "schnitt.dat" (abscissa and
// value, one point a line) and, when switched on, to "<stem>_s.ps" and
// "<stem>_s.bmp".
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

inline constexpr const char* kCutFile = "schnitt.dat";

void draw_cut(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
