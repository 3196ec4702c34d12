#pragma once
// Maps the geometry parts onto the grid nodes: rebuilds the occupancy map from
// nothing, applying the parts in order of entry (later parts win in the digits
// they set). No console output: the parts that cover no node are returned for
// the dialogue to report.
#include <cstdint>
#include <vector>

#include "model/structure_model.h"

namespace tambri {

struct UncoveredPart {
  int32_t shape;  // kShapeRectangle, kShapeTriangle or kShapeCircle
  int number;     // number within its own shape list
};

std::vector<UncoveredPart> rasterise(StructureModel& model);

}  // namespace tambri
