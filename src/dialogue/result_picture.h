#pragma once
// What every result picture works with, handed over by the RESULTS menu:
// the dialogue, the structure, the output settings, the shown part of the
// grid, the surface with its window, and what the pictures keep from one
// call to the next. Each picture is one function of this and its quantity.
#include "draw/display_window.h"
#include "draw/output_settings.h"
#include "draw/pictures.h"
#include "model/structure_model.h"
#include "text/console.h"

namespace tambri {

// Answers that a picture keeps for its next call (for the whole run).
struct PictureMemory {
  bool equicolour_full_window = false;
  bool arrows_full_window = false;
};

struct ResultPicture {
  Console& console;
  const StructureModel& model;
  const OutputSettings& output;
  const DisplayWindow& window;
  Pictures pictures;
  PictureMemory& memory;
};

}  // namespace tambri
