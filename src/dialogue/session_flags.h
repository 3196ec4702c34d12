#pragma once
// What the main menu and GENERATE decide by, kept for the run beside the model.

namespace tambri {

struct SessionFlags {
  bool problem_loaded = false;       // a structure is loaded or started (GENERATE loads only without one)
  bool structure_available = false;  // GENERATE was last left with at least one part
  bool results_available = false;    // CALCUL has run since the structure was loaded or started
};

}  // namespace tambri
