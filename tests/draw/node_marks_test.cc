#include "draw/node_marks.h"

#include <gtest/gtest.h>

namespace tambri {
namespace {

TEST(NodeMarks, CellsAndMarksAreCutAtTheShownBorderAndDiamondsCloseThere) {
  GridLines lines{};
  for (int k = 1; k <= 4; ++k) lines[k] = k * k;  // 1, 4, 9, 16
  const NodeSpan inner = mark_span(lines, 2, 1, 4, 0.5);
  EXPECT_EQ(inner.lo, 2.5);
  EXPECT_EQ(inner.hi, 6.5);
  const NodeSpan cell = cell_span(lines, 3, 2, 3);  // the last shown line: cut there
  EXPECT_EQ(cell.lo, 6.5);
  EXPECT_EQ(cell.hi, 9);
  // A node on the first shown x line: its diamond is the half below that line.
  const auto d = diamond(mark_span(lines, 2, 2, 4, 0.5), inner);
  EXPECT_EQ(d.front().x, d.back().x);
  EXPECT_EQ(d.front().y, d.back().y);
  EXPECT_EQ(d[0].y, 4);  // the corner on the cut side lies on the node's own line
  EXPECT_EQ(d[2].y, 6.5);
}

}  // namespace
}  // namespace tambri
