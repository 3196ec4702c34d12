#include "core/derived_fields.h"

#include <cmath>

namespace tambri {
namespace {

bool differ(double a, double b) { return std::fabs(a - b) >= kMaterialChange; }

}  // namespace

void compute_derived_fields(const StructureModel& model, const MaterialCoefficients& material,
                            const NodalSolution& solution, DerivedFields& derived) {
  const Grid& grid = model.grid;
  const int nx = grid.nx;
  const int ny = grid.ny;
  const NodeArray& u = solution.potential;
  const NodeArray& c = material.c;
  const bool magnetic = model.problem == FieldProblem::kMagnetostatic;
  // Where pass 1 puts -du/dx and -du/dy (the latter negated in problem M).
  NodeArray& qx = magnetic ? derived.flux_y : derived.strength_x;
  NodeArray& qy = magnetic ? derived.flux_x : derived.strength_y;
  // Bx = -gy, formed as 0.0 - gy so that a zero derivative gives +0.0 and its
  // table entry does not print as -0.000E+00.
  const auto y_form = [magnetic](double gy) { return magnetic ? 0.0 - gy : gy; };

  for (int j = 1; j <= ny; ++j) {
    for (int i = 1; i <= nx; ++i) {
      const int k = grid.node(i, j);

      if (nx < 2) {
        qx[k] = 0.0;
      } else if (i == 1) {
        qx[k] = (u[k] - u[k + 1]) / (grid.x[2] - grid.x[1]);
      } else if (i == nx) {
        qx[k] = (u[k - 1] - u[k]) / (grid.x[nx] - grid.x[nx - 1]);
      } else {
        qx[k] = (u[k - 1] - u[k + 1]) / (grid.x[i + 1] - grid.x[i - 1]);
        // The central quotient of this node or of the previous one reaches
        // across a change of material: take the neighbour's value on the own
        // side instead.
        if (differ(c[k], c[k + 1])) qx[k] = qx[k - 1];
        if (i >= 3 && differ(c[k - 2], c[k - 1])) qx[k - 1] = qx[k];
      }

      if (ny < 2) {
        qy[k] = 0.0;
      } else if (j == 1) {
        qy[k] = y_form((u[k] - u[k + nx]) / (grid.y[2] - grid.y[1]));
      } else if (j == ny) {
        qy[k] = y_form((u[k - nx] - u[k]) / (grid.y[ny] - grid.y[ny - 1]));
      } else {
        qy[k] = y_form((u[k - nx] - u[k + nx]) / (grid.y[j + 1] - grid.y[j - 1]));
        if (differ(c[k], c[k + nx])) qy[k] = qy[k - nx];
        if (j >= 3 && differ(c[k - 2 * nx], c[k - nx])) qy[k - nx] = qy[k];
      }
    }
  }

  const int n = grid.nodes();
  switch (model.problem) {
    case FieldProblem::kMagnetostatic:
      for (int k = 1; k <= n; ++k) {
        const double bx = derived.flux_x[k], by = derived.flux_y[k];
        const double hx = c[k] * bx, hy = c[k] * by;
        derived.strength_x[k] = hx;
        derived.strength_y[k] = hy;
        derived.density[k] = (hx * bx + hy * by) * 0.5;
      }
      break;
    case FieldProblem::kCurrentFlow:
      for (int k = 1; k <= n; ++k) {
        const double ex = derived.strength_x[k], ey = derived.strength_y[k];
        const double sx = c[k] * ex, sy = c[k] * ey;
        derived.flux_x[k] = sx;
        derived.flux_y[k] = sy;
        derived.density[k] = ex * sx + ey * sy;  // loss power: no factor 1/2
      }
      break;
    case FieldProblem::kElectrostatic:
      for (int k = 1; k <= n; ++k) {
        const double ex = derived.strength_x[k], ey = derived.strength_y[k];
        const double dx = c[k] * ex, dy = c[k] * ey;
        derived.flux_x[k] = dx;
        derived.flux_y[k] = dy;
        derived.density[k] = (ex * dx + ey * dy) * 0.5;
      }
      break;
  }
  derived.valid = true;
}

}  // namespace tambri
