#include "core/potential_legend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/solve_fixture.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

using test::make_model;
using test::set_block;

std::vector<int> in_order(const PotentialLegend& legend, int PotentialEntry::*member) {
  std::vector<int> c;
  for (int n = 0; n < legend.count; ++n) c.push_back(legend.sorted[static_cast<size_t>(n)].*member);
  return c;
}

TEST(PotentialLegend, ColoursSpreadOverTheNineByHowManyArePresent) {
  const char* expected[] = {"1",           "1 9",           "1 5 9",           "1 3 5 7",          "1 3 5 7 9",
                            "1 2 3 4 5 6", "1 2 3 4 5 6 7", "1 2 3 4 5 6 7 8", "1 2 3 4 5 6 7 8 9"};
  for (int n = 1; n <= 9; ++n) {
    auto model = make_model(FieldProblem::kElectrostatic, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1});
    for (int p = 1; p <= n; ++p) model->occupancy[static_cast<size_t>(model->grid.node(p, 1))] = 10 * p;
    const std::vector<double> colours = test::numbers(expected[n - 1]);
    EXPECT_EQ(in_order(potential_legend(*model), &PotentialEntry::colour),
              std::vector<int>(colours.begin(), colours.end()));
  }
}

TEST(PotentialLegend, SortedByValueOverTheWholeGrid) {
  auto model = make_model(FieldProblem::kElectrostatic, {0, 1, 2, 3}, {0, 1, 2});
  model->tables.potential[1] = 10;
  model->tables.potential[5] = -3;
  model->tables.potential[7] = 10;  // equal to 1: behind it
  model->tables.potential[8] = 50;  // in the table, on no node
  set_block(*model, 1, 1, 1, 3, 10);
  set_block(*model, 4, 4, 1, 3, 21);  // potential 2 (0 V) over material 1
  set_block(*model, 2, 2, 2, 2, 75);
  set_block(*model, 3, 3, 3, 3, 53);
  set_block(*model, 3, 3, 2, 2, 503);  // an excitation, no potential
  const PotentialLegend legend = potential_legend(*model);
  EXPECT_EQ(in_order(legend, &PotentialEntry::number), (std::vector<int>{5, 2, 1, 7}));
  EXPECT_EQ(in_order(legend, &PotentialEntry::colour), (std::vector<int>{1, 3, 5, 7}));
  EXPECT_EQ((std::vector<int>{legend.colour_of[1], legend.colour_of[5], legend.colour_of[8]}),
            (std::vector<int>{5, 1, 0}));
  // A value that is not a number still gets a colour, and no crash.
  model->tables.potential[2] = std::nan("");
  const PotentialLegend odd = potential_legend(*model);
  EXPECT_EQ(odd.count, 4);
  EXPECT_NE(odd.colour_of[2], 0);
}

}  // namespace
}  // namespace tambri
