#pragma once
// Reading back a result table the program wrote to a file: the values of
// every node, the grid lines and the reported extremes.
#include <map>
#include <string>
#include <utility>

namespace tambri::test {

struct ResultTableFile {
  std::string header;                          // the first line
  std::map<int, double> x, y;                  // line number -> coordinate, as printed
  std::map<std::pair<int, int>, double> node;  // (x line, y line) -> value
  double maximum = 0.0, minimum = 0.0;
  // The value at node (i, j); throws std::out_of_range when the table has none.
  double at(int i, int j) const { return node.at({i, j}); }
  // The number of the printed line nearest to a coordinate.
  int x_line_at(double coordinate) const;
  int y_line_at(double coordinate) const;
};

// Parses the blocks of six y lines; throws std::invalid_argument on a row or
// header it cannot read.
ResultTableFile parse_result_table(const std::string& text);

}  // namespace tambri::test
