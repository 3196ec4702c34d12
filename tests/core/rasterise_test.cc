#include "core/rasterise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "model/assignment.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

using Rows = std::vector<std::vector<int32_t>>;
using Uncovered = std::vector<std::pair<int32_t, int>>;  // shape and number

// x and y lines at 0, 1, ..., 4.
StructureModel unit_grid() {
  StructureModel m;
  m.grid.nx = m.grid.ny = 5;
  for (int n = 1; n <= 5; ++n) m.grid.x[n] = m.grid.y[n] = n - 1;
  return m;
}

// Enters a part, named by its shape, at the end of its list and of the entry
// sequence; v holds its coordinates and, last, its code.
void add(StructureModel& m, const std::string& shape, const std::vector<double>& v) {
  const auto enter = [&](auto& list, int32_t code, const auto& part) {
    list.at[++list.count] = part;
    m.sequence[++m.sequence_length] = code;
  };
  const auto c = static_cast<int32_t>(v.back());
  if (shape == "point") enter(m.points, kShapePoint, PointPart{v[0], v[1], c});
  if (shape == "rectangle") enter(m.rectangles, kShapeRectangle, RectanglePart{v[0], v[1], v[2], v[3], c});
  if (shape == "triangle") enter(m.triangles, kShapeTriangle, TrianglePart{v[0], v[1], v[2], v[3], v[4], v[5], c});
  if (shape == "circle") enter(m.circles, kShapeCircle, CirclePart{v[0], v[1], v[2], c});
  if (shape == "border") enter(m.borders, kShapeBorder, BorderPart{static_cast<int32_t>(v[0]), c});
}

// Rasterises and returns the parts reported as covering no node.
Uncovered uncovered(StructureModel& m) {
  Uncovered u;
  for (const UncoveredPart& p : rasterise(m)) u.emplace_back(p.shape, p.number);
  return u;
}

// The map as rows of x lines and columns of y lines.
Rows map_of(const StructureModel& m) {
  Rows rows(static_cast<size_t>(m.grid.nx));
  for (int i = 1; i <= m.grid.nx; ++i) {
    for (int j = 1; j <= m.grid.ny; ++j) rows[i - 1].push_back(m.occupancy[m.grid.node(i, j)]);
  }
  return rows;
}

// The structures of the table: parts in, uncovered parts and map out.
TEST(Rasterise, CodesAndShapesOfTheTable) {
  const std::map<std::string, int32_t> shapes{
      {"point", kShapePoint}, {"rectangle", kShapeRectangle}, {"triangle", kShapeTriangle}, {"circle", kShapeCircle}};
  StructureModel m;
  Rows map;
  Uncovered parts;
  std::string where;
  const auto check = [&] {
    if (where.empty()) return;
    EXPECT_EQ(uncovered(m), parts) << where;
    EXPECT_EQ(map_of(m), map) << where;
  };
  for (const test::CaseRow& c : test::read_cases("tests/core/data/rasterise.txt")) {
    const std::vector<std::string> op = c.words(0);
    if (op[0] == "new") {
      check();
      m = unit_grid();
      m.occupancy.fill(c.ints(1)[0]);
      map.clear(), parts.clear(), where = c.where;
      if (c.cols.size() > 2) m.grid.ny = c.ints(2)[0];
    } else if (op[0] == "sequence") {  // entries set directly: position, shape, ...
      const std::vector<int> v = c.ints(1);
      for (size_t n = 0; n + 1 < v.size(); n += 2) m.sequence[v[n]] = v[n + 1];
      m.sequence_length = std::max(m.sequence_length, v[v.size() - 2]);
    } else if (op[0] == "stale") {  // a point beyond the list's count
      m.points.at[m.points.count + 1] = {c.number(1, 0), c.number(1, 1), c.ints(1)[2]};
    } else if (op[0] == "map") {
      map.push_back(c.cols.size() > 1 ? c.ints(1) : std::vector<int32_t>{});  // "map |": a line without nodes
    } else if (op[0] == "uncovered") {
      parts.emplace_back(shapes.at(op.at(1)), c.ints(1)[0]);
    } else {
      add(m, op[0], c.numbers(1));
    }
  }
  check();
}

}  // namespace
}  // namespace tambri
