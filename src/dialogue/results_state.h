#pragma once
// What the RESULTS menu keeps besides the output settings.
#include "dialogue/result_picture.h"
#include "draw/display_window.h"

namespace tambri {

// Which picture the quantity sub-menu draws.
enum class PlotKind { kCut = 1, kEquicolour = 2, kIsolines = 3, kMountain = 4 };

struct ResultsState {
  DisplayWindow window;  // the zoom every picture shares; the full grid on entry
  PlotKind plot_kind = PlotKind::kEquicolour;
  PictureMemory memory;
  // Set by the command line: every entry writes the fields as "<stem>.vtr".
  bool write_vtk = false;
};

}  // namespace tambri
