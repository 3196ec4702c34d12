#pragma once
// Charge Q' (E), current I' (S) or flux PHI' (M) per metre through a
// rectangle or along a line the user enters: the corners, a picture of the
// path over the whole structure (no files), and the result on the console.
#include "core/field_arrays.h"
#include "dialogue/result_picture.h"

namespace tambri {

void integrate_along_path(ResultPicture& picture, const DerivedFields& derived);

}  // namespace tambri
