#include "core/rasterise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <type_traits>

#include "model/assignment.h"

namespace tambri {
namespace {

// A model with x lines at `xs` and y lines at `ys`.
StructureModel model_with_grid(std::initializer_list<double> xs, std::initializer_list<double> ys) {
  StructureModel m;
  for (double x : xs) m.grid.x[++m.grid.nx] = x;
  for (double y : ys) m.grid.y[++m.grid.ny] = y;
  return m;
}

// 0, 1, ..., 4 in both directions.
StructureModel unit_grid() { return model_with_grid({0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}); }

// Enters a part at the end of its list and of the entry sequence.
template <class Part>
void add(StructureModel& m, const Part& part) {
  auto enter = [&](auto& list, int32_t shape) {
    list.at[++list.count] = part;
    m.sequence[++m.sequence_length] = shape;
  };
  if constexpr (std::is_same_v<Part, PointPart>) enter(m.points, kShapePoint);
  if constexpr (std::is_same_v<Part, RectanglePart>) enter(m.rectangles, kShapeRectangle);
  if constexpr (std::is_same_v<Part, TrianglePart>) enter(m.triangles, kShapeTriangle);
  if constexpr (std::is_same_v<Part, CirclePart>) enter(m.circles, kShapeCircle);
  if constexpr (std::is_same_v<Part, BorderPart>) enter(m.borders, kShapeBorder);
}

int32_t at(const StructureModel& m, int i, int j) { return m.occupancy[m.grid.node(i, j)]; }

// The map as rows of x lines and columns of y lines.
std::vector<std::vector<int32_t>> map_of(const StructureModel& m) {
  std::vector<std::vector<int32_t>> rows;
  for (int i = 1; i <= m.grid.nx; ++i) {
    rows.emplace_back();
    for (int j = 1; j <= m.grid.ny; ++j) rows.back().push_back(at(m, i, j));
  }
  return rows;
}

using Rows = std::vector<std::vector<int32_t>>;

TEST(RasteriseCodes, EmptyStructureClearsAnOldMap) {
  StructureModel m = unit_grid();
  m.occupancy.fill(123);
  EXPECT_TRUE(rasterise(m).empty());
  for (int32_t v : m.occupancy) ASSERT_EQ(v, 0);
}

TEST(RasteriseCodes, LaterPartsWinOnlyInTheDigitsTheySet) {
  StructureModel m = unit_grid();
  add(m, RectanglePart{0, 0, 4, 4, 3});        // material 3 everywhere
  add(m, RectanglePart{0, 0, 2, 2, 500});      // excitation 5
  add(m, RectanglePart{1, 1, 3, 3, 20});       // potential 2 wins the overlap, material stays
  add(m, RectanglePart{3, 3, 4, 4, 7});        // material 7 under the potential
  add(m, RectanglePart{4, 0, 4, 1, kEmptyCode});  // clears everything, material too
  add(m, RectanglePart{3, 0, 3, 1, 600});      // excitation 6 replaces the potential
  add(m, RectanglePart{0, 0, 4, 4, 5000});     // no assignment code: no effect
  add(m, RectanglePart{0, 0, 4, 4, -3});
  EXPECT_TRUE(rasterise(m).empty());
  EXPECT_EQ(map_of(m), (Rows{{503, 503, 503, 3, 3},
                             {503, 23, 23, 23, 3},
                             {503, 23, 23, 23, 3},
                             {603, 603, 23, 27, 7},
                             {0, 0, 3, 7, 7}}));
}

TEST(RasteriseShapes, PointGoesToTheNearestLineAndTheHigherOneOnATie) {
  StructureModel m = unit_grid();
  add(m, PointPart{1.5, 2.4, 1});  // halfway in x
  add(m, PointPart{-100, 100, 2});  // far outside: the nearest corner
  add(m, PointPart{std::numeric_limits<double>::quiet_NaN(), 1, 3});
  add(m, PointPart{1, std::numeric_limits<double>::infinity(), 4});
  rasterise(m);
  EXPECT_EQ(at(m, 3, 3), 1);
  EXPECT_EQ(at(m, 1, 5), 2);
  int marked = 0;
  for (int32_t v : m.occupancy) marked += v != 0;
  EXPECT_EQ(marked, 2);
}

TEST(RasteriseShapes, RectangleEdgesCarryTheSinglePrecisionTolerance) {
  const double t = static_cast<double>(1.0e-6F);
  StructureModel m = unit_grid();
  add(m, RectanglePart{1 + 0.9 * t, 1 + 0.9 * t, 3 - 0.9 * t, 3 - 0.9 * t, 1});  // includes lines 2..4
  add(m, RectanglePart{1.1 * t, 0, 1, 0, 2});  // x line 1 is 1.1 t outside: only x line 2
  // Between the widened float and the double 1e-6: outside for the program.
  add(m, RectanglePart{0, 0.999999999e-6, 4, 0.5, 3});
  add(m, RectanglePart{3.0000005, 4, 3.0000005, 4, 4});  // zero size, within the tolerance of a node
  add(m, RectanglePart{2.5, 0, 2.5, 4, 5});              // zero height between two lines
  const std::vector<UncoveredPart> uncovered = rasterise(m);
  EXPECT_EQ(map_of(m), (Rows{{0, 0, 0, 0, 0},
                             {2, 1, 1, 1, 0},
                             {0, 1, 1, 1, 0},
                             {0, 1, 1, 1, 4},
                             {0, 0, 0, 0, 0}}));
  ASSERT_EQ(uncovered.size(), 2u);
  EXPECT_EQ(uncovered[0].shape, kShapeRectangle);
  EXPECT_EQ(uncovered[0].number, 3);
  EXPECT_EQ(uncovered[1].number, 5);
}

TEST(RasteriseShapes, CircleIsStrictlyInsideItsRadiusPlusTolerance) {
  StructureModel m = unit_grid();
  add(m, CirclePart{2, 2, 1, 6});       // the node at distance 1 is inside through the tolerance
  add(m, CirclePart{0.0000005, 0, 0, 7});  // radius 0 on a node
  add(m, CirclePart{0.5, 0.5, 0, 8});   // radius 0 between nodes
  const std::vector<UncoveredPart> uncovered = rasterise(m);
  EXPECT_EQ(map_of(m), (Rows{{7, 0, 0, 0, 0},
                             {0, 0, 6, 0, 0},
                             {0, 6, 6, 6, 0},
                             {0, 0, 6, 0, 0},
                             {0, 0, 0, 0, 0}}));
  ASSERT_EQ(uncovered.size(), 1u);
  EXPECT_EQ(uncovered[0].shape, kShapeCircle);
  EXPECT_EQ(uncovered[0].number, 3);
}

TEST(RasteriseShapes, TriangleMarksItsInsideEdgesAndVertices) {
  StructureModel m = unit_grid();
  add(m, TrianglePart{0, 0, 4, 0, 0, 4, 1});
  rasterise(m);
  EXPECT_EQ(map_of(m), (Rows{{1, 1, 1, 1, 1},
                             {1, 1, 1, 1, 0},
                             {1, 1, 1, 0, 0},
                             {1, 1, 0, 0, 0},
                             {1, 0, 0, 0, 0}}));
}

TEST(RasteriseShapes, CollinearTriangleMarksTheWholeLineThroughItsVertices) {
  StructureModel m = unit_grid();
  add(m, TrianglePart{1, 1, 2, 2, 3, 3, 2});
  add(m, TrianglePart{0.5, 0.1, 0.5, 0.2, 0.5, 0.3, 3});  // on no node
  const std::vector<UncoveredPart> uncovered = rasterise(m);
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(at(m, i, j), i == j ? 2 : 0) << i << "," << j;
  }
  ASSERT_EQ(uncovered.size(), 1u);
  EXPECT_EQ(uncovered[0].shape, kShapeTriangle);
  EXPECT_EQ(uncovered[0].number, 2);
}

TEST(RasteriseShapes, BordersMarkTheirEdgesAndALaterBorderWins) {
  StructureModel m = unit_grid();
  add(m, BorderPart{kSideGesamt, 10});
  add(m, BorderPart{kSideOben, 20});
  add(m, BorderPart{kSideRechts, 4});
  rasterise(m);
  EXPECT_EQ(map_of(m), (Rows{{20, 20, 20, 20, 24},
                             {10, 0, 0, 0, 14},
                             {10, 0, 0, 0, 14},
                             {10, 0, 0, 0, 14},
                             {10, 10, 10, 10, 14}}));
}

TEST(RasteriseShapes, WithoutGridOnlyAreaPartsAreReported) {
  StructureModel m;
  m.grid.nx = 3;
  m.grid.x = {0, 0, 1, 2};  // ny = 0: no nodes
  add(m, RectanglePart{0, 0, 1, 1, 1});
  add(m, PointPart{0, 0, 1});
  add(m, BorderPart{kSideGesamt, 10});
  add(m, CirclePart{0, 0, 5, 1});
  add(m, TrianglePart{0, 0, 1, 0, 0, 1, 1});
  add(m, RectanglePart{0, 0, 2, 2, 1});
  const std::vector<UncoveredPart> uncovered = rasterise(m);
  ASSERT_EQ(uncovered.size(), 4u);
  const std::pair<int32_t, int> expected[] = {
      {kShapeRectangle, 1}, {kShapeCircle, 1}, {kShapeTriangle, 1}, {kShapeRectangle, 2}};
  for (size_t n = 0; n < uncovered.size(); ++n) {
    EXPECT_EQ(uncovered[n].shape, expected[n].first);
    EXPECT_EQ(uncovered[n].number, expected[n].second);
  }
}

TEST(RasteriseShapes, DamagedEntrySequenceStaysWithinTheLists) {
  StructureModel m = unit_grid();
  add(m, BorderPart{9, 10});
  add(m, RectanglePart{0, 0, 4, 4, 1});
  m.sequence_length = 6;
  m.sequence[3] = kShapeRectangle;  // a second rectangle that is not in the list
  m.sequence[4] = 3;                // no shape
  m.sequence[5] = kShapeBorder;
  m.sequence[6] = kShapePoint;
  m.points.at[1] = {0, 0, 9};       // stale entry beyond the count
  EXPECT_TRUE(rasterise(m).empty());
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(at(m, i, j), 1);
  }
}

}  // namespace
}  // namespace tambri
