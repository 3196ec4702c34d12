// Ctrl-C in the browser. There are no signals: the page notes the key in
// Module.tambriInterrupted while the program is working (at a prompt it drops
// the line typed instead, as a terminal does), and the calculation looks at
// the note after each iteration, as natively, and stops. Looking also lets the
// page breathe, so it stays responsive during a long calculation even without
// progress output.
#include <emscripten.h>

#include "breathing.h"
#include "text/interrupt.h"

// The body is JavaScript, which the C++ formatter would break.
// clang-format off
EM_JS(int, tambri_interrupt_noted, (int take), {
  const noted = Module.tambriInterrupted ? 1 : 0;
  if (take) Module.tambriInterrupted = false;
  return noted;
});
// clang-format on

namespace tambri {

void catch_interrupts() {}

bool interrupt_pending() { return tambri_interrupt_noted(0) != 0; }

bool take_interrupt() {
  web::breathe_now_and_then();
  return tambri_interrupt_noted(1) != 0;
}

// The page's note never comes in the middle of anything: there is nothing to
// hold back.
InterruptsHeld::InterruptsHeld() {
  sigemptyset(&previous_);
  sigemptyset(&open_);
}

InterruptsHeld::~InterruptsHeld() = default;

}  // namespace tambri
