#include "dialogue/discretisation.h"

#include <gtest/gtest.h>

#include <vector>

namespace tambri {
namespace {

std::vector<double> lines_of(const StructureModel& m) {
  return std::vector<double>(m.grid.x.begin() + 1, m.grid.x.begin() + 1 + m.grid.nx);
}

void set_x(StructureModel& m, const std::vector<double>& lines, double xb, double xe) {
  m.grid.nx = static_cast<int>(lines.size());
  for (size_t k = 0; k < lines.size(); ++k) m.grid.x[k + 1] = lines[k];
  m.xb = xb;
  m.xe = xe;
}

// A full grid keeps its inner lines. An edge moved past all lines falls back
// to the extents, and so does a single surviving line, which would leave a
// grid that no range entry can extend.
TEST(FitLinesToExtents, OuterLinesBecomeTheExtentsOrOnlyTheExtentsRemain) {
  std::vector<double> full;
  for (int i = 0; i < kMaxLines; ++i) full.push_back(i);
  std::vector<double> fitted = full;
  fitted.front() = -5;
  fitted.back() = 300;
  const struct {
    std::vector<double> lines;
    double xb, xe;
    std::vector<double> fitted;
  } cases[] = {{full, -5, 300, fitted}, {{0, 1}, 2, 3, {2, 3}}, {{0, 1, 2}, 0.9, 1.1, {0.9, 1.1}}};
  for (const auto& c : cases) {
    StructureModel m;
    set_x(m, c.lines, c.xb, c.xe);
    fit_lines_to_extents(x_axis(m));
    EXPECT_EQ(lines_of(m), c.fitted);
  }
}

TEST(MergeEquidistantLines, KeepsOuterLinesDropsLinesWithinToleranceAndCountsFromTheIndex) {
  StructureModel m;
  set_x(m, {0, 1, 2, 3, 4}, 0, 4);
  auto merged = merge_equidistant_lines(x_axis(m), 1 + 5e-7, 3, 3);
  ASSERT_TRUE(merged);
  // The old line 1 lies within 1e-6 of the new first line and gives way to it.
  ASSERT_EQ(merged->size(), 5u);
  EXPECT_EQ(*merged, (std::vector<double>{0, 1 + 5e-7, (*merged)[2], 3, 4}));
  EXPECT_DOUBLE_EQ((*merged)[2], 2 + 2.5e-7);
  // New lines are computed from their index, not summed up step by step.
  set_x(m, {0, 1}, 0, 1);
  merged = merge_equidistant_lines(x_axis(m), 0, 1, 11);
  ASSERT_TRUE(merged);
  ASSERT_EQ(merged->size(), 11u);
  for (int k = 1; k <= 11; ++k) EXPECT_EQ((*merged)[k - 1], 0 + (k - 1) * (1.0 / 10));
}

}  // namespace
}  // namespace tambri
