#pragma once
// The cut: a node quantity along one grid line of the shown part, as a curve
// over x or over y, written at the same time to "schnitt.dat" (abscissa and
// value, one point a line) and, when switched on, to "<stem>_s.ps" and
// "<stem>_s.bmp".
#include <optional>

#include "core/cut_points.h"
#include "core/node_quantity.h"
#include "dialogue/result_picture.h"

namespace tambri {

inline constexpr const char* kCutFile = "schnitt.dat";

struct CutOptions {
  CutAbscissa abscissa = CutAbscissa::X;
  int line = 0;  // along x a y line, along y an x line
  bool logarithmic = false;
  CutRange range;  // the diagram's, as shown or as changed
};

// The questions; "schnitt.dat" is written before the range is shown. None
// when a coordinate is not a number (then nothing is written).
std::optional<CutOptions> ask_cut(Console& console, const ShownField& field, const NodeQuantity& quantity);
void paint_cut(const CutOptions& options, const ShownField& field, const NodeQuantity& quantity, PictureRun& run);

void draw_cut(ResultPicture& picture, const NodeQuantity& quantity);

}  // namespace tambri
