#pragma once
// The three value tables of GENERATE (M materials, P potentials, E
// excitations): show the table, change one entry, show it again.
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

enum class ValueTable { Material, Potential, Excitation };

void edit_value_table(Console& console, StructureModel& model, ValueTable table);

}  // namespace tambri
