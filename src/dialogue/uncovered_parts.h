#pragma once
// What the dialogue says about the parts that the rasterisation could not put
// on any node.
#include <vector>

#include "core/rasterise.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// Writes " ### Keine Diskretisierungspunkte für <Shape> nn ###" for each part,
// each after an empty line.
void report_uncovered_parts(Console& console, const std::vector<UncoveredPart>& parts);

// Rasterise and report: what every caller in the dialogue does.
void rasterise_and_report(Console& console, StructureModel& model);

}  // namespace tambri
