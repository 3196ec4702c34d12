#pragma once
// Case tables kept in plain text files beside the tests, so that the test code
// holds only the logic of a check. One case per line, columns separated by
// '|', '#' starts a comment, blank lines are skipped. Columns are trimmed; a
// column in double quotes keeps its blanks. words() splits a column on blanks;
// number() reads a double as strtod does ("nan", "-inf" and hexadecimal floats
// for a value that must be one exact double), "a/b" as the quotient a / b and
// "a*b" as the product (before the quotient: "a*b/c" is a * (b / c)), for
// values worked out by hand from decimal constants. A table that cannot be read or
// holds no case throws, so no test passes over an empty table.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tambri::test {

inline double number(const std::string& text) {
  const size_t star = text.find('*', 1), slash = text.find('/', 1);
  if (star != std::string::npos) return number(text.substr(0, star)) * number(text.substr(star + 1));
  if (slash != std::string::npos) return number(text.substr(0, slash)) / number(text.substr(slash + 1));
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') throw std::runtime_error("not a number: \"" + text + "\"");
  return v;
}

inline std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

inline std::vector<double> numbers(const std::string& text) {
  std::vector<double> out;
  for (const std::string& w : words(text)) out.push_back(number(w));
  return out;
}

struct CaseRow {
  std::string where;  // "file:line", for failure messages
  std::vector<std::string> cols;
  const std::string& operator[](size_t n) const { return cols.at(n); }
  std::vector<std::string> words(size_t n) const { return test::words(cols.at(n)); }
  std::vector<double> numbers(size_t n) const { return test::numbers(cols.at(n)); }
  double number(size_t n, size_t k = 0) const { return test::number(words(n).at(k)); }
  std::vector<int> ints(size_t n) const {
    const std::vector<double> v = numbers(n);
    return {v.begin(), v.end()};
  }
};

// `relative` is a path below the source tree, e.g. "tests/core/data/x.txt".
inline std::vector<CaseRow> read_cases(const std::string& relative) {
  std::ifstream in(std::string(TAMBRI_SOURCE_DIR) + "/" + relative);
  std::vector<CaseRow> rows;
  int n = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line.substr(0, line.find('#')));
    CaseRow row{relative + ":" + std::to_string(++n), {}};
    for (std::string col; std::getline(fields, col, '|');) {
      col.erase(0, col.find_first_not_of(" \t\r"));
      col.erase(col.find_last_not_of(" \t\r") + 1);
      if (col.size() >= 2 && col.front() == '"' && col.back() == '"') col = col.substr(1, col.size() - 2);
      row.cols.push_back(col);
    }
    if (!row.cols.empty() && !(row.cols.size() == 1 && row.cols[0].empty())) rows.push_back(row);
  }
  if (rows.empty()) throw std::runtime_error("no cases in " + relative);
  return rows;
}

}  // namespace tambri::test
