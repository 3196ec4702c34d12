#pragma once
// The RESULTS menu " RESULTS>": tables of every node quantity, the path
// integrals, the result pictures, the zoom they share and the output
// settings of their files.
#include "core/field_arrays.h"
#include "dialogue/result_table.h"
#include "dialogue/results_state.h"
#include "draw/output_settings.h"
#include "draw/pictures.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// One visit. On entry the PostScript comment is blanked, the zoom set to the
// whole grid and the derived quantities computed (" *** Felder ready ***").
// Requires a solved potential on a grid of at least two lines each way.
void run_results(Console& console, const StructureModel& model, FieldArrays& arrays, OutputSettings& output,
                 ResultsState& state, Pictures pictures, const Clock& clock);

}  // namespace tambri
