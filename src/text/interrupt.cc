#include "text/interrupt.h"

#include <pthread.h>

namespace tambri {
namespace {

// The one piece of state a signal handler may touch: it can reach nothing
// else (no object, no argument), and only a volatile sig_atomic_t may be
// written there and read elsewhere without a race.
volatile std::sig_atomic_t interrupt_noted = 0;

extern "C" void note_interrupt(int) { interrupt_noted = 1; }

}  // namespace

void catch_interrupts() {
  struct sigaction action {};
  action.sa_handler = note_interrupt;
  sigemptyset(&action.sa_mask);
  // Reads and writes elsewhere go on; the line reader waits in ppoll, which
  // the signal ends whatever this flag says.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

bool interrupt_pending() { return interrupt_noted != 0; }

bool take_interrupt() {
  if (interrupt_noted == 0) return false;
  interrupt_noted = 0;
  return true;
}

InterruptsHeld::InterruptsHeld() {
  sigset_t held;
  sigemptyset(&held);
  sigaddset(&held, SIGINT);
  pthread_sigmask(SIG_BLOCK, &held, &previous_);
  open_ = previous_;
  sigdelset(&open_, SIGINT);
}

InterruptsHeld::~InterruptsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace tambri
