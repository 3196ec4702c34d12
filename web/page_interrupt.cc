// Ctrl-C in the browser: there are no signals; the page notes Ctrl-C typed
// while the program works in Module.tambriInterrupted, and forgets it when the
// program next asks for a line (no line reader here to take it). A solver
// looks at the note after every iteration, which is also where the page gets
// its turn: a long calculation that writes nothing would otherwise hold the
// page still until it ends.
#include <emscripten.h>

#include "text/interrupt.h"

EM_JS(int, tambri_take_interrupt, (), {
  const noted = Module.tambriInterrupted ? 1 : 0;
  Module.tambriInterrupted = false;
  return noted;
});

EM_JS(int, tambri_interrupt_noted, (), { return Module.tambriInterrupted ? 1 : 0; });

// Whether the page's last turn is 50 ms ago or more (as often as the console's
// output lets it breathe); the time is the page's to keep.
EM_JS(int, tambri_breath_due, (), {
  const now = performance.now();
  if (now - (Module.tambriBreathAt || 0) < 50) return 0;
  Module.tambriBreathAt = now;
  return 1;
});

namespace tambri {
namespace {

void breathe() {
  if (tambri_breath_due()) emscripten_sleep(0);
}

}  // namespace

void catch_interrupts() {}

bool interrupt_pending() {
  breathe();
  return tambri_interrupt_noted() != 0;
}

bool take_interrupt() {
  breathe();
  return tambri_take_interrupt() != 0;
}

InterruptsHeld::InterruptsHeld() {
  sigemptyset(&previous_);
  open_ = previous_;
}

InterruptsHeld::~InterruptsHeld() = default;

}  // namespace tambri
