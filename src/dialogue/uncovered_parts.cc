#include "dialogue/uncovered_parts.h"

#include <string>

#include "text/fortran_format.h"

namespace tambri {

void report_uncovered_parts(Console& console, const std::vector<UncoveredPart>& parts) {
  for (const UncoveredPart& part : parts) {
    const char* name = part.shape == kShapeRectangle ? "Rechteck" : part.shape == kShapeTriangle ? "Dreieck" : "Kreis";
    console.message(std::string(" ### Keine Diskretisierungspunkte für ") + name + " " + format_i(part.number, 2) +
                    " ###");
  }
}

void rasterise_and_report(Console& console, StructureModel& model) {
  report_uncovered_parts(console, rasterise(model));
}

}  // namespace tambri
