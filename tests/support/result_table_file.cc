#include "support/result_table_file.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tambri::test {
namespace {

int nearest(const std::map<int, double>& lines, double coordinate) {
  int best = 0;
  double distance = INFINITY;
  for (const auto& [number, value] : lines) {
    if (std::fabs(value - coordinate) < distance) {
      distance = std::fabs(value - coordinate);
      best = number;
    }
  }
  if (best == 0) throw std::out_of_range("table has no lines");
  return best;
}

double number_at(const std::string& line, size_t from, size_t width) {
  if (line.size() < from + width) throw std::invalid_argument("short table line: " + line);
  return std::stod(line.substr(from, width));
}

}  // namespace

int ResultTableFile::x_line_at(double coordinate) const { return nearest(x, coordinate); }
int ResultTableFile::y_line_at(double coordinate) const { return nearest(y, coordinate); }

ResultTableFile parse_result_table(const std::string& text) {
  ResultTableFile table;
  std::istringstream in(text);
  std::getline(in, table.header);
  std::vector<int> block;  // y-line numbers of the current block
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("       y-Line", 0) == 0) {
      block.clear();
      std::istringstream numbers(line.substr(13));
      for (int j; numbers >> j;) block.push_back(j);
    } else if (line.rfind("        (m)", 0) == 0) {
      // Two blanks and a 9-column coordinate per y line.
      for (size_t k = 0; k < block.size(); ++k) table.y[block[k]] = number_at(line, 15 + 11 * k, 9);
    } else if (line.rfind(" Maximum: ", 0) == 0) {
      table.maximum = number_at(line, 10, 10);
    } else if (line.rfind(" Minimum: ", 0) == 0) {
      table.minimum = number_at(line, 10, 10);
    } else if (line.size() > 13 && line[0] == ' ' && std::isdigit(static_cast<unsigned char>(line[3]))) {
      // Row: the x line in 3 columns, its coordinate in 9, then a blank and
      // 10 columns per value.
      const int i = std::stoi(line.substr(1, 3));
      table.x[i] = number_at(line, 4, 9);
      for (size_t k = 0; k < block.size(); ++k) table.node[{i, block[k]}] = number_at(line, 14 + 11 * k, 10);
    }
  }
  if (table.node.empty()) throw std::invalid_argument("no table values");
  return table;
}

}  // namespace tambri::test
