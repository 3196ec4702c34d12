#include "breathing.h"

#include <emscripten.h>

// The time of the last breath is kept with the module on the page's side.
// The body is JavaScript, which the C++ formatter would break.
// clang-format off
EM_JS(int, tambri_breath_due, (double interval_ms), {
  const now = performance.now();
  if (Module.tambriLastBreath !== undefined && now - Module.tambriLastBreath < interval_ms) return 0;
  Module.tambriLastBreath = now;
  return 1;
});
// clang-format on

namespace tambri::web {

// Long enough that a dialogue of many short flushes is not slowed down, short
// enough that the page never looks frozen.
constexpr double kBreathIntervalMs = 50;

void breathe_now_and_then() {
  if (tambri_breath_due(kBreathIntervalMs)) emscripten_sleep(0);
}

}  // namespace tambri::web
