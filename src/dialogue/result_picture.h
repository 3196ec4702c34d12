#pragma once
// What every result picture works with, handed over by the RESULTS menu:
// the dialogue, the structure, the output settings, the shown part of the
// grid, the surface with its window, and what the pictures keep from one
// call to the next. Each picture is one function of this and its quantity,
// made of two halves: ask_<picture> reads the answers into an options value,
// paint_<picture> paints from the options, the shown field and a PictureRun.
#include <string_view>

#include "draw/display_window.h"
#include "draw/output_settings.h"
#include "draw/picture_run.h"
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

// The structure and the part of its grid a picture shows.
struct ShownField {
  const StructureModel& model;
  const DisplayWindow& window;
  const Grid& grid() const { return model.grid; }
};

inline ShownField shown_field(const ResultPicture& picture) { return {picture.model, picture.window}; }

// The run of a picture with this tag, its files named from the output stem.
inline PictureRun picture_run(ResultPicture& picture, std::string_view tag) {
  return PictureRun(picture.pictures, picture.console, picture.output, picture.model.output_stem, tag);
}

// The marks of fixed-potential and excited nodes reach this far towards their
// neighbours (single precision, as always).
inline constexpr double kNodeMarkFraction = static_cast<double>(0.1f);

}  // namespace tambri
