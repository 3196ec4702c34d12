#pragma once
// The GENERATE menu " GENERATE>" with its sub-menus DISKRET, STRUKTUR and
// ANZEIGE: load or start a problem, grid, value tables, parts, display, save.
#include "dialogue/generate_state.h"
#include "dialogue/session_flags.h"
#include "draw/output_settings.h"
#include "draw/pictures.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// One GENERATE run; returns when the user leaves or loading is refused.
void run_generate(Console& console, StructureModel& model, GenerateState& state, SessionFlags& session,
                  OutputSettings& output, Pictures pictures);

}  // namespace tambri
