#pragma once
// Everything the program keeps for the whole run besides the console: the one
// structure model and the settings and arrays that live beside it. Allocated
// once at start-up.
#include "generate/generate_state.h"
#include "graphics/output_settings.h"
#include "model/structure_model.h"
#include "solve/solver_settings.h"

namespace tambri {

struct ProgramState {
  explicit ProgramState(bool headless_run) : headless(headless_run) {}

  bool headless;
  StructureModel model;
  GenerateState generate;
  SolverSettings solver;
  OutputSettings output;
};

}  // namespace tambri
