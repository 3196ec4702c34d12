#include "core/vtk_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/solve_fixture.h"
#include "support/vtk_reader.h"

namespace tambri {
namespace {

TEST(VtkFile, EveryNodeQuantityWithItsNameInGridOrderAndTheLinesAsCoordinates) {
  auto model = test::make_model(FieldProblem::kMagnetostatic, {0.0, 0.1, 0.3}, {-1.0, 2.0});
  auto arrays = std::make_unique<FieldArrays>();
  for (int k = 1; k <= 6; ++k) {
    arrays->solution.potential[k] = 0.1 * k + 1.0 / 3.0;  // digits that need all 17 places
    arrays->derived.strength_x[k] = k;
    arrays->derived.strength_y[k] = -k;
    arrays->derived.flux_x[k] = 1e-300 * k;
    arrays->derived.flux_y[k] = 2.0 * k;
    arrays->derived.density[k] = 10.0 * k;
    arrays->material.c[k] = 4.0;
    model->occupancy[k] = 100 * k;
  }
  const test::VtkFile file = test::read_vtk(vtk_rectilinear_grid(*model, *arrays));
  EXPECT_EQ(file.whole_extent, "0 2 0 1 0 0");
  ASSERT_EQ(file.arrays.size(), 11u);
  EXPECT_EQ(file.arrays.at("x (m)"), (std::vector<double>{0.0, 0.1, 0.3}));
  EXPECT_EQ(file.arrays.at("y (m)"), (std::vector<double>{-1.0, 2.0}));
  EXPECT_EQ(file.arrays.at("z (m)"), (std::vector<double>{0.0}));
  const auto& vz = file.arrays.at("Vz (Vs/m)");
  ASSERT_EQ(vz.size(), 6u);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(vz[k - 1], arrays->solution.potential[k]) << k;  // read back exactly
  EXPECT_EQ(file.arrays.at("Hy (A/m)")[4], -5.0);
  EXPECT_EQ(file.arrays.at("Bx (Vs/m2)")[1], 2e-300);
  EXPECT_EQ(file.arrays.at("By (Vs/m2)")[2], 6.0);
  EXPECT_EQ(file.arrays.at("wm (Ws/m3)")[5], 60.0);
  EXPECT_EQ(file.arrays.at("Belegung")[3], 400.0);
  EXPECT_EQ(file.arrays.at("Mu (Vs/Am)")[0], 0.25);  // the permeability, 1/c
}

}  // namespace
}  // namespace tambri
