#pragma once
// The solved field as a VTK XML rectilinear grid (".vtr"), so that it opens in
// ParaView or any VTK reader: the grid lines as coordinates (x along the
// structure's x, y along its y, z = 0) and at every node the potential, the
// two field-strength and two flux-density components, the energy (or loss
// power) density, the occupancy code and the material coefficient, each named
// with its unit. Values are written in the shortest form that reads back to
// the same double.
#include <string>

#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri {

// The whole file; requires the derived fields of the solution.
std::string vtk_rectilinear_grid(const StructureModel& model, const FieldArrays& arrays);

}  // namespace tambri
