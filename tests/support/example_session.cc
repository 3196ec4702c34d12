#include "support/example_session.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tambri::test {

std::filesystem::path examples_dir() { return std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples"; }

Lines read_lines(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::invalid_argument("cannot read " + path.string());
  Lines lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Lines example_script(const std::string& name) { return read_lines(examples_dir() / (name + ".txt")); }

Lines until_start_question(const Lines& script) {
  if (script.size() < 2 || script[script.size() - 2] != "N" || script.back() != "X")
    throw std::invalid_argument("script does not end with N, X");
  return Lines(script.begin(), script.end() - 2);
}

Lines replace_run(const Lines& lines, const Lines& from, const Lines& to) {
  auto at = std::search(lines.begin(), lines.end(), from.begin(), from.end());
  if (at == lines.end()) throw std::invalid_argument("answers to replace not found: " + from.front());
  Lines out(lines.begin(), at);
  out.insert(out.end(), to.begin(), to.end());
  out.insert(out.end(), at + static_cast<long>(from.size()), lines.end());
  return out;
}

Lines immediate_start() { return {"Y"}; }

Lines solve_with_relative_error(const std::string& relative_error) {
  // "SR" opens the settings straight at the relative error; after the answer
  // the settings are shown again with the change menu, which X leaves.
  return {"N", "C", "SR", relative_error, "X", "R", "X"};
}

Lines path_integral(const std::string& letter, const std::string& first_corner, const std::string& second_corner) {
  return {"T" + letter, first_corner, second_corner, "", "X"};
}

Lines table_to_file(const std::string& quantity, const std::string& file) { return {"T" + quantity, file, "X"}; }

std::vector<double> path_integral_results(const std::string& screen) {
  std::vector<double> values;
  std::istringstream in(screen);
  for (std::string line; std::getline(in, line);) {
    for (const char* label : {"Q' =", "I' =", "PHI' ="}) {
      if (line.rfind(label, 0) == 0) values.push_back(std::stod(line.substr(std::string(label).size(), 10)));
    }
  }
  return values;
}

double half_print_unit(double printed) {
  if (printed == 0.0 || !std::isfinite(printed)) return 0.0;
  // The exponent as printed: a value that rounds up to 10.000 prints as 1.000
  // with the next exponent, and this helper receives the printed value.
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(printed)) + 1e-12));
  return 0.5 * std::pow(10.0, exponent - 3);
}

}  // namespace tambri::test
