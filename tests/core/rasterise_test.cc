#include "core/rasterise.h"

#include <gtest/gtest.h>

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
    } else if (op[0] == "map") {
      map.push_back(c.ints(1));
    } else if (op[0] == "uncovered") {
      parts.emplace_back(shapes.at(op.at(1)), c.ints(1)[0]);
    } else {
      add(m, op[0], c.numbers(1));
    }
  }
  check();
}

TEST(Rasterise, WithoutGridOnlyAreaPartsAreReported) {
  StructureModel m;
  m.grid.nx = 3;
  m.grid.x = {0, 0, 1, 2};  // ny = 0: no nodes
  add(m, "rectangle", {0, 0, 1, 1, 1});
  add(m, "point", {0, 0, 1});
  add(m, "border", {kSideGesamt, 10});
  add(m, "circle", {0, 0, 5, 1});
  add(m, "triangle", {0, 0, 1, 0, 0, 1, 1});
  add(m, "rectangle", {0, 0, 2, 2, 1});
  EXPECT_EQ(uncovered(m),
            (Uncovered{{kShapeRectangle, 1}, {kShapeCircle, 1}, {kShapeTriangle, 1}, {kShapeRectangle, 2}}));
}

TEST(Rasterise, DamagedEntrySequenceStaysWithinTheLists) {
  StructureModel m = unit_grid();
  add(m, "border", {9, 10});
  add(m, "rectangle", {0, 0, 4, 4, 1});
  m.sequence_length = 6;
  m.sequence[3] = kShapeRectangle;  // a second rectangle that is not in the list
  m.sequence[4] = 3;                // no shape
  m.sequence[5] = kShapeBorder;
  m.sequence[6] = kShapePoint;
  m.points.at[1] = {0, 0, 9};  // stale entry beyond the count
  EXPECT_TRUE(uncovered(m).empty());
  EXPECT_EQ(map_of(m), Rows(5, std::vector<int32_t>(5, 1)));
}

}  // namespace
}  // namespace tambri
