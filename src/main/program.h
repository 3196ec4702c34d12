#pragma once
// The main program: command line, start-up, banner, the GENERATE step, the
// calculation step and the main menu " TAMBRI>".
#include <iosfwd>
#include <string>
#include <vector>

namespace tambri {

struct ProgramIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool echo_input;  // true when stdin is not a terminal
  // stdin and stdout are a terminal: answers are read with line editing and
  // history, and Ctrl-C is taken by the dialogue.
  bool terminal = false;
};

// Runs the program with the command-line arguments (without the program name)
// and returns its exit status: 0 after X at the main menu or when the input ends
// at " TAMBRI>", 1 when the input ends anywhere else, 2 for an unknown option,
// 130 (as for SIGINT) after Ctrl-C twice at one prompt.
int run_program(const std::vector<std::string>& args, ProgramIo io);

}  // namespace tambri
