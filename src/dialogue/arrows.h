#pragma once
// The arrow picture of a vector quantity: an arrow at every (or every n-th)
// node of the shown part, of a length proportional to the magnitude or to
// its logarithm, over the fixed-potential regions coloured by their value and
// the excitation nodes marked by diamonds. Written at the same time, when
// switched on, to "<stem>_p.ps" and "<stem>_p.bmp".
//
// A quantity that is zero at every node gives " ### Feldgrößen zu klein ###"
// and no picture and no file.
#include <optional>

#include "core/arrow_shapes.h"
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

struct ArrowOptions {
  bool logarithmic = false;
  bool full_window = false;
  int step_x = 1, step_y = 1;  // every n-th line carries arrows
  MagnitudeRange range;        // as shown or as changed
};

// The questions; none when the window names no grid lines or the quantity
// is zero everywhere. The full-window answer is kept in `memory`.
std::optional<ArrowOptions> ask_arrows(Console& console, const ShownField& field, const VectorQuantity& quantity,
                                       PictureMemory& memory);
void paint_arrows(const ArrowOptions& options, const ShownField& field, const VectorQuantity& quantity,
                  PictureRun& run);

void draw_arrows(ResultPicture& picture, const VectorQuantity& quantity);

}  // namespace tambri
