#pragma once
// A console on string streams that echoes the answers, so its output reads
// like the screen of a dialogue run on those answers.
#include <sstream>
#include <string>
#include <vector>

#include "text/console.h"

namespace tambri::test {

struct Screen {
  explicit Screen(const std::string& input) : in(input), console(in, out, true) {}
  // The screen as written, and the same split into lines.
  std::string text() {
    console.finish();
    return out.str();
  }
  std::vector<std::string> lines() {
    std::vector<std::string> result;
    std::istringstream screen(text());
    for (std::string line; std::getline(screen, line);) result.push_back(line);
    return result;
  }
  std::istringstream in;
  std::ostringstream out;
  Console console;
};

}  // namespace tambri::test
