#include "core/nearest_node.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tambri {
namespace {

// Unevenly spaced lines 0, 1, 3, 7, 15 in both directions.
Grid uneven_grid() {
  Grid g;
  g.nx = g.ny = 5;
  const double at[] = {0, 1, 3, 7, 15};
  for (int k = 1; k <= 5; ++k) g.x[k] = g.y[k] = at[k - 1];
  return g;
}

TEST(NearestNode, NearestLineOfARangeWithTiesToTheLowerOne) {
  const Grid g = uneven_grid();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    int first, last;
    double value;
    std::optional<int> line;
  } rows[] = {
      {1, 5, 0.4, 1},
      {1, 5, 0.6, 2},
      {1, 5, 2.0, 2},  // 2 lies halfway between 1 and 3
      {1, 5, 11.0, 4},
      {1, 5, 11.5, 5},
      {2, 4, 0.0, 2},  // beyond a range: its end line
      {2, 4, 99, 4},
      {3, 3, -5, 3},
      {1, 5, nan, std::nullopt},
      {1, 5, INFINITY, std::nullopt},
      {4, 3, 5.0, std::nullopt},
      {0, 3, 1.0, std::nullopt},
      {1, kMaxLines + 1, 1.0, std::nullopt},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(nearest_line(g.x, r.first, r.last, r.value), r.line) << r.first << ".." << r.last << " at " << r.value;
  }
}

TEST(NearestNode, NodeOfTheShownPartOnlyForPointsInsideIt) {
  const Grid g = uneven_grid();
  const struct {
    int i1, i2, j1, j2;
    double x, y;
    int i, j;  // 0: none
  } rows[] = {
      {1, 5, 1, 5, 6.0, 1.9, 4, 2},  {2, 4, 3, 5, 1.0, 15.0, 2, 5},  // the edges belong to the part
      {2, 4, 3, 5, 0.99, 5.0, 0, 0}, {2, 4, 3, 5, 5.0, 15.01, 0, 0},
      {2, 4, 3, 5, NAN, 5.0, 0, 0},  {1, 6, 1, 5, 1.0, 1.0, 0, 0},  // beyond the grid's five lines
  };
  for (const auto& r : rows) {
    const std::optional<GridNode> n = nearest_node(g, r.i1, r.i2, r.j1, r.j2, r.x, r.y);
    ASSERT_EQ(n.has_value(), r.i != 0) << r.x << "," << r.y;
    if (n) {
      EXPECT_EQ(std::pair(n->i, n->j), std::pair(r.i, r.j)) << r.x << "," << r.y;
    }
  }
}

}  // namespace
}  // namespace tambri
