#include "core/rasterise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

#include "model/assignment.h"

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

// Enters parts at the end of their lists and of the entry sequence.
template <class... Parts>
void add(StructureModel& m, const Parts&... parts) {
  const auto enter = [&](auto& list, int32_t shape, const auto& part) {
    list.at[++list.count] = part;
    m.sequence[++m.sequence_length] = shape;
  };
  const auto one = [&](const auto& part) {
    using Part = std::decay_t<decltype(part)>;
    if constexpr (std::is_same_v<Part, PointPart>) enter(m.points, kShapePoint, part);
    if constexpr (std::is_same_v<Part, RectanglePart>) enter(m.rectangles, kShapeRectangle, part);
    if constexpr (std::is_same_v<Part, TrianglePart>) enter(m.triangles, kShapeTriangle, part);
    if constexpr (std::is_same_v<Part, CirclePart>) enter(m.circles, kShapeCircle, part);
    if constexpr (std::is_same_v<Part, BorderPart>) enter(m.borders, kShapeBorder, part);
  };
  (one(parts), ...);
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

TEST(RasteriseCodes, LaterPartsWinOnlyInTheDigitsTheySet) {
  StructureModel m = unit_grid();
  add(m, RectanglePart{0, 0, 4, 4, 3},           // material 3 everywhere
      RectanglePart{0, 0, 2, 2, 500},            // excitation 5
      RectanglePart{1, 1, 3, 3, 20},             // potential 2 wins the overlap, material stays
      RectanglePart{3, 3, 4, 4, 7},              // material 7 under the potential
      RectanglePart{4, 0, 4, 1, kEmptyCode},     // clears everything, material too
      RectanglePart{3, 0, 3, 1, 600},            // excitation 6 replaces the potential
      RectanglePart{0, 0, 4, 4, 5000},           // no assignment code: no effect
      RectanglePart{0, 0, 4, 4, -3});
  EXPECT_TRUE(uncovered(m).empty());
  EXPECT_EQ(map_of(m), (Rows{{503, 503, 503, 3, 3},
                             {503, 23, 23, 23, 3},
                             {503, 23, 23, 23, 3},
                             {603, 603, 23, 27, 7},
                             {0, 0, 3, 7, 7}}));
}

// Borders mark their edges and a later border wins; an old map is cleared.
TEST(RasteriseShapes, BordersPointsAndCircles) {
  StructureModel m = unit_grid();
  m.occupancy.fill(123);
  add(m, BorderPart{kSideGesamt, 10}, BorderPart{kSideOben, 20}, BorderPart{kSideRechts, 4});
  EXPECT_TRUE(uncovered(m).empty());
  EXPECT_EQ(map_of(m), (Rows{{20, 20, 20, 20, 24},
                             {10, 0, 0, 0, 14},
                             {10, 0, 0, 0, 14},
                             {10, 0, 0, 0, 14},
                             {10, 10, 10, 10, 14}}));
  // A point goes to the nearest lines, the higher one on a tie, the nearest
  // corner from far outside, nowhere without a number. A circle holds the
  // nodes strictly inside its radius plus the tolerance.
  m = unit_grid();
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  add(m, PointPart{3.5, 0.4, 1}, PointPart{-100, 100, 2}, PointPart{nan, 1, 3}, PointPart{1, inf, 4},
      CirclePart{2, 2, 1, 6},        // the nodes at distance 1 are inside through the tolerance
      CirclePart{0.0000005, 0, 0, 7},  // radius 0 on a node
      CirclePart{0.5, 0.5, 0, 8});     // radius 0 between nodes
  EXPECT_EQ(uncovered(m), (Uncovered{{kShapeCircle, 3}}));
  EXPECT_EQ(map_of(m), (Rows{{7, 0, 0, 0, 2},
                             {0, 0, 6, 0, 0},
                             {0, 6, 6, 6, 0},
                             {0, 0, 6, 0, 0},
                             {1, 0, 0, 0, 0}}));
}

TEST(RasteriseShapes, RectangleEdgesCarryTheSinglePrecisionTolerance) {
  const double t = static_cast<double>(1.0e-6F);
  StructureModel m = unit_grid();
  add(m, RectanglePart{1 + 0.9 * t, 1 + 0.9 * t, 3 - 0.9 * t, 3 - 0.9 * t, 1},  // includes lines 2..4
      RectanglePart{1.1 * t, 0, 1, 0, 2},  // x line 1 is 1.1 t outside: only x line 2
      RectanglePart{0, 0.999999999e-6, 4, 0.5, 3},  // between the widened float and 1e-6: outside
      RectanglePart{3.0000005, 4, 3.0000005, 4, 4},  // zero size, within the tolerance of a node
      RectanglePart{2.5, 0, 2.5, 4, 5});             // zero height between two lines
  EXPECT_EQ(uncovered(m), (Uncovered{{kShapeRectangle, 3}, {kShapeRectangle, 5}}));
  EXPECT_EQ(map_of(m), (Rows{{0, 0, 0, 0, 0},
                             {2, 1, 1, 1, 0},
                             {0, 1, 1, 1, 0},
                             {0, 1, 1, 1, 4},
                             {0, 0, 0, 0, 0}}));
}

TEST(RasteriseShapes, TriangleMarksItsInsideEdgesAndVerticesOrTheLineThroughThem) {
  StructureModel m = unit_grid();
  add(m, TrianglePart{0, 0, 4, 0, 0, 4, 1});
  EXPECT_TRUE(uncovered(m).empty());
  EXPECT_EQ(map_of(m), (Rows{{1, 1, 1, 1, 1}, {1, 1, 1, 1, 0}, {1, 1, 1, 0, 0}, {1, 1, 0, 0, 0}, {1, 0, 0, 0, 0}}));
  m = unit_grid();
  add(m, TrianglePart{1, 1, 2, 2, 3, 3, 2}, TrianglePart{0.5, 0.1, 0.5, 0.2, 0.5, 0.3, 3});  // collinear
  EXPECT_EQ(uncovered(m), (Uncovered{{kShapeTriangle, 2}}));
  EXPECT_EQ(map_of(m), (Rows{{2, 0, 0, 0, 0}, {0, 2, 0, 0, 0}, {0, 0, 2, 0, 0}, {0, 0, 0, 2, 0}, {0, 0, 0, 0, 2}}));
}

TEST(RasteriseShapes, WithoutGridOnlyAreaPartsAreReported) {
  StructureModel m;
  m.grid.nx = 3;
  m.grid.x = {0, 0, 1, 2};  // ny = 0: no nodes
  add(m, RectanglePart{0, 0, 1, 1, 1}, PointPart{0, 0, 1}, BorderPart{kSideGesamt, 10}, CirclePart{0, 0, 5, 1},
      TrianglePart{0, 0, 1, 0, 0, 1, 1}, RectanglePart{0, 0, 2, 2, 1});
  EXPECT_EQ(uncovered(m), (Uncovered{{kShapeRectangle, 1}, {kShapeCircle, 1}, {kShapeTriangle, 1}, {kShapeRectangle, 2}}));
}

TEST(RasteriseShapes, DamagedEntrySequenceStaysWithinTheLists) {
  StructureModel m = unit_grid();
  add(m, BorderPart{9, 10}, RectanglePart{0, 0, 4, 4, 1});
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
