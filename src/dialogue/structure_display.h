#pragma once
// The structure picture: every node's material as a filled cell, fixed
// potentials as rectangles, excitations as diamonds, the grid under or over
// them, the legend and the window's coordinates; optionally saved as
// "<stem>_a.bmp". Draws, waits for Return, clears.
#include "dialogue/generate_state.h"
#include "draw/output_settings.h"
#include "draw/pictures.h"
#include "draw/surface.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

void show_structure(Console& console, const StructureModel& model, const DisplayWindow& window,
                    bool grid_under_structure, const OutputSettings& output, Pictures pictures);

}  // namespace tambri
