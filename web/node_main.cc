// The program's entry under node. Emscripten's isatty() answers yes for the
// standard streams whatever they are, so piped answers would not be echoed;
// node itself knows whether a stream is a terminal.
#include <emscripten.h>

#include <iostream>
#include <string>
#include <vector>

#include "main/program.h"

namespace {

bool node_isatty(int fd) {
  return EM_ASM_INT({ return require('tty').isatty($0) ? 1 : 0; }, fd) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool in_tty = node_isatty(0);
  return tambri::run_program(args, {std::cin, std::cout, std::cerr, !in_tty, in_tty && node_isatty(1)});
}
