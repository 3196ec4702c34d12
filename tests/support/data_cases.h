#pragma once
// Case tables kept as text beside the tests: one case a line, '#' starts a
// comment, '|' separates the fields of a case and blanks the values within a
// field. Numbers are read by strtod, so nan, inf, -inf and hexadecimal floats
// (for a value that must be one exact double) are written as such; "a/b" is
// the quotient a / b, for values worked out by hand as fractions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tambri::test {

struct DataCase {
  std::string where;                             // file:line, for failure messages
  std::vector<std::vector<std::string>> fields;  // the words of each field

  std::vector<double> numbers(size_t f) const {
    std::vector<double> v;
    for (const std::string& w : fields.at(f)) {
      const size_t slash = w.find('/', 1);
      v.push_back(std::strtod(w.c_str(), nullptr) / (slash == std::string::npos ? 1.0 : std::strtod(&w[slash + 1], nullptr)));
    }
    return v;
  }
  double number(size_t f, size_t n = 0) const { return numbers(f).at(n); }
  std::vector<int> ints(size_t f) const {
    const std::vector<double> v = numbers(f);
    return {v.begin(), v.end()};
  }
};

// The cases of tests/<name>; a missing or empty file fails the test.
inline std::vector<DataCase> read_cases(const std::string& name) {
  std::ifstream in(std::string(TAMBRI_SOURCE_DIR) + "/tests/" + name);
  std::vector<DataCase> cases;
  std::string line, field, word;
  for (int number = 1; std::getline(in, line); ++number) {
    line = line.substr(0, line.find('#'));
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    DataCase c{name + ":" + std::to_string(number), {}};
    for (std::istringstream fields(line); std::getline(fields, field, '|');) {
      std::istringstream words(field);
      c.fields.emplace_back();
      while (words >> word) c.fields.back().push_back(word);
    }
    cases.push_back(std::move(c));
  }
  EXPECT_FALSE(cases.empty()) << "no cases in tests/" << name;
  return cases;
}

}  // namespace tambri::test
