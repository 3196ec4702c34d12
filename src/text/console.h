#pragma once
// The console dialogue: line records with carriage control on output, one
// answer line per read on input.
//
// Output: the first character of a record is not shown. A blank record starts
// a new line (the line feed is written before the text, and only when a record
// already occupies the current line, so an empty record shows as an empty
// line); a "+" record returns to the start of the current line and overwrites
// it. A prompt is a record that leaves the cursor behind its text.
//
// Input: when stdin is not a terminal every line read is echoed, so a piped
// transcript reads like the screen. Every read throws EndOfInput when the
// input is closed, so no prompt loop can spin on a closed input. An input
// waiter, when set, is called before every line is read.
//
// At a terminal a line editor may read the lines instead (line_editor.h):
// the prompt is then shown again by the editor, which starts at the prompt's
// line. Ctrl-C there drops the line typed so far and shows the prompt again on
// a new line (the first time with a note how the program ends); a second
// Ctrl-C within a second at the same prompt throws Interrupted.
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "text/input_waiter.h"
#include "text/record_sink.h"

namespace tambri {

struct EndOfInput {};
// Ctrl-C twice at one prompt: the user wants the program ended.
struct Interrupted {};

class LineEditor;

// One value slot of a free-form number read.
struct NumberField {
  NumberField(double& value) : real(&value) {}  // NOLINT: implicit by design
  NumberField(int& value) : integer(&value) {}  // NOLINT: implicit by design
  double* real = nullptr;
  int* integer = nullptr;
};

class Console : public RecordSink {
 public:
  Console(std::istream& in, std::ostream& out, bool echo_input);
  ~Console() override;

  // --- output ---
  void record(std::string_view text) override;
  void empty_line() { record(" "); }
  // A record preceded by one empty line (messages and most prompts).
  void message(std::string_view text);
  // A record that leaves the cursor on its line; flushed.
  void prompt(std::string_view text);
  // Prompt preceded by one empty line.
  void prompt_after_empty_line(std::string_view text);
  // Ends the last line at program end.
  void finish();

  // --- input; each throws EndOfInput on a closed input ---
  // One raw line without its line end (LF or CRLF).
  std::string read_line();
  // First character of the line, a-z folded to upper case; blank for an empty
  // line; a non-ASCII first character is returned as '\x01' (never a command).
  char read_letter();
  // First `count` characters, folded like read_letter, blank-padded.
  std::string read_letters(int count);
  // First `width` characters, blank-padded (file names, comments).
  std::string read_text(int width);
  // Free-form numbers: blanks and/or commas separate, further lines are read
  // (empty ones skipped) until every field has its value; values left on the
  // line are ignored. Each value is stored as soon as it is read. Returns false
  // when a token is not a number of its field's type (an integer field refuses
  // a decimal point or exponent).
  bool read_numbers(std::initializer_list<NumberField> fields);
  // A one-character integer field: blank or empty line reads 0, a digit its
  // value, anything else fails.
  std::optional<int> read_digit();
  // The wait of a picture: one line, read and ignored; at a terminal Ctrl-C
  // ends it like Return.
  void await_return();

  // Called before each line is read; null for none. Not owned.
  void set_input_waiter(InputWaiter* waiter) { waiter_ = waiter; }
  // Lines are read through `editor` from now on (null: from the stream).
  void use_line_editor(std::unique_ptr<LineEditor> editor);
  // True when the input is a terminal, i.e. answers are not echoed: the user
  // sees what the program writes there as it happens.
  bool interactive() const { return !echo_input_; }

  std::istream& input() { return in_; }
  std::ostream& output() { return out_; }

 private:
  void write_text(std::string_view text);
  std::string read_answer(bool return_wait);
  std::string edited_line(bool return_wait);

  std::istream& in_;
  std::ostream& out_;
  bool echo_input_;
  InputWaiter* waiter_ = nullptr;
  bool line_occupied_ = false;  // a record occupies the current line
  int line_chars_ = 0;          // characters shown on the current line
  std::string shown_line_;      // and those characters, for the line editor
  std::unique_ptr<LineEditor> editor_;
  bool told_how_to_end_ = false;
};

// Parses one free-form token; exposed for tests.
std::optional<double> parse_real_token(std::string_view token);
std::optional<int> parse_integer_token(std::string_view token);

}  // namespace tambri
