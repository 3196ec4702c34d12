#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "main/program.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  return tambri::run_program(args, {std::cin, std::cout, std::cerr, isatty(0) == 0, isatty(0) != 0 && isatty(1) != 0});
}
