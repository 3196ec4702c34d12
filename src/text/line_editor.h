#pragma once
// Answer lines typed at a terminal, through libedit: the line can be edited
// (arrows, Home/End, Backspace/Delete, emacs keys, ~/.editrc), Up and Down
// go through earlier answers of this run and of earlier runs, and Ctrl-C
// ends the wait for the line. The answers are kept in ~/.tambri_history
// ($HOME), at most kHistorySize of them; a history file that cannot be read or
// written is ignored without a word.
#include <istream>
#include <memory>
#include <string>

#include "text/input_waiter.h"

namespace tambri {

class LineEditor {
 public:
  static constexpr int kHistorySize = 500;

  enum class Outcome {
    kLine,         // a line was read
    kInterrupted,  // Ctrl-C (see interrupt.h): the line typed so far is dropped
    kEnd,          // the input ended (Ctrl-D on an empty line, the terminal gone)
  };

  // An editor on standard input and output; null when standard input is no
  // terminal. Catches Ctrl-C (catch_interrupts) and sets the character type
  // to UTF-8 so that the prompts' umlauts count as one column each.
  static std::unique_ptr<LineEditor> open_at_terminal();
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // Shows `prompt` from the start of the current line and reads one line
  // (without its line end) into `line`. `waiter`, when set, is called with
  // `in` before each key is waited for.
  Outcome read(const std::string& prompt, std::string& line, InputWaiter* waiter, std::istream& in);

  struct State;

 private:
  explicit LineEditor(std::unique_ptr<State> state);
  void save_history();

  std::unique_ptr<State> state_;
};

}  // namespace tambri
