#pragma once
// What the console calls before it blocks on an answer line. Whatever must
// stay alive while the dialogue waits (a picture window that has to repaint
// itself and answer the desktop) does its work here and returns once a line,
// the end of the input or an error is there to be read. The read itself, and
// so the whole dialogue, stays on the caller's one thread.
#include <istream>

namespace tambri {

class InputWaiter {
 public:
  virtual ~InputWaiter() = default;
  // Returns when reading from `in` will not block, or at once when it cannot
  // tell for this stream (the read then blocks as it would without a waiter).
  virtual void await_input(std::istream& in) = 0;
};

}  // namespace tambri
