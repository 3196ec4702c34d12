#pragma once
// Ctrl-C at a terminal. The program does not end on it: the handler only
// notes it, and whoever is waiting or working looks at the note when it can
// act on it (the line reader drops the line, a solver run stops after its
// iteration, a picture's wait ends); anything else leaves the note for the
// next prompt. Without the handler (input from a pipe or a file) SIGINT keeps
// its default meaning.
#include <csignal>

namespace tambri {

// Installs the noting handler for SIGINT (for the rest of the run).
void catch_interrupts();
// Whether a Ctrl-C is noted and not yet taken.
bool interrupt_pending();
// Takes the note: true when there was one.
bool take_interrupt();

// Holds SIGINT back while it lives (this thread), so that neither the default
// action nor the handler comes in the middle of something that must be done
// whole; a signal that came meanwhile is delivered when it ends.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
  // The signal mask before, with SIGINT let through: for ppoll.
  const sigset_t* open_mask() const { return &open_; }

 private:
  sigset_t previous_;
  sigset_t open_;
};

}  // namespace tambri
