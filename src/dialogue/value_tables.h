#pragma once
// The three value tables of GENERATE (M materials, P potentials, E
// excitations): show the table, change one entry, show it again.
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

enum class ValueTable { Material, Potential, Excitation };

// Lowest material values of each problem; a material must be greater. Eps_rel
// and Mue_rel use single-precision 0.9 widened, so 0.9 itself is accepted.
inline constexpr double kLowestRelativeMaterial = static_cast<double>(0.9f);
inline constexpr double kLowestConductivity = 0.0;

void edit_value_table(Console& console, StructureModel& model, ValueTable table);

}  // namespace tambri
