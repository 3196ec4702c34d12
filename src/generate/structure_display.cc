#include "generate/structure_display.h"

namespace tambri {

void set_structure_palette(GraphicsSurface& surface) { (void)surface; }

void show_structure(Console& console, const StructureModel& model, const DisplayWindow& window,
                    bool grid_under_structure, const OutputSettings& output, Pictures pictures) {
  (void)console; (void)model; (void)window; (void)grid_under_structure; (void)output; (void)pictures;
}

}  // namespace tambri
