#include "generate/generate_menu.h"

namespace tambri {

void run_generate(Console& console, StructureModel& model, GenerateState& state,
                  OutputSettings& output) {
  (void)console; (void)model; (void)state; (void)output;
}

}  // namespace tambri
