#pragma once
// Everything the program keeps for the whole run besides the console: the one
// structure model and the settings and arrays that live beside it. Allocated
// once at start-up.
#include <memory>
#include <ostream>

#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "dialogue/generate_state.h"
#include "dialogue/results_state.h"
#include "dialogue/session_flags.h"
#include "draw/output_settings.h"
#include "draw/pictures.h"
#include "draw/surface.h"
#include "draw/viewer.h"
#include "model/structure_model.h"

namespace tambri {

struct ProgramState {
  // `notes` takes the viewer's line when no window can be had.
  ProgramState(bool headless_run, std::ostream& notes)
      : headless(headless_run), viewer(make_viewer(headless_run, notes)) {}

  bool headless;
  StructureModel model;
  SessionFlags session;
  GenerateState generate;
  SolverSettings solver;
  // The node arrays of the calculation (several MB), on the heap so that a
  // ProgramState may live on the stack.
  std::unique_ptr<FieldArrays> fields = std::make_unique<FieldArrays>();
  OutputSettings output;
  ResultsState results;
  // The picture window's image and where it is shown (a desktop window unless
  // headless or no display is available); the console hands its waits to the
  // viewer through input_waiter.
  GraphicsSurface surface;
  std::unique_ptr<Viewer> viewer;
  ViewerInputWaiter input_waiter{*viewer, surface};

  Pictures pictures() { return {surface, *viewer}; }
};

}  // namespace tambri
