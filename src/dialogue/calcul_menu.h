#pragma once
// The CALCUL menu " CALCUL>": prepares the system on entry (coefficients,
// potential notes, assembly), runs the chosen solver, changes the solver and
// its parameters, and prints the assembled arrays as tables.
#include <string>

#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "core/solvers.h"
#include "dialogue/result_table.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// One visit of the menu. With `start_immediately` it runs ILU-BICG after the
// assembly and returns without showing the menu. Tables read `clock`.
void run_calcul_menu(Console& console, const StructureModel& model, SolverSettings& settings, FieldArrays& arrays,
                     bool start_immediately, const Clock& clock);

// The progress line of one iteration of a solver (1..4), "+" carriage
// control included.
std::string progress_line(int solver, const IterationReport& report);

}  // namespace tambri
