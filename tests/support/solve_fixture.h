#pragma once
// Small field problems built directly (grid and occupancy set by hand) and an
// independent dense solver for the five-point system.
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "core/assembly.h"
#include "core/field_arrays.h"
#include "model/structure_model.h"

namespace tambri::test {

// `count` lines from `from` to `to` whose spacing grows by `ratio` per step.
inline std::vector<double> lines(double from, double to, int count, double ratio = 1.0) {
  std::vector<double> x{0.0};
  for (double h = 1.0; static_cast<int>(x.size()) < count; h *= ratio) x.push_back(x.back() + h);
  for (double& v : x) v = from + (to - from) * v / x.back();
  return x;
}

// A new problem: tables as for a new structure, every node on material 0.
inline std::unique_ptr<StructureModel> make_model(FieldProblem problem, const std::vector<double>& x,
                                                  const std::vector<double>& y) {
  auto model = std::make_unique<StructureModel>();
  model->problem = problem;
  reset_tables_for_new_problem(*model);
  model->grid.nx = static_cast<int>(x.size());
  model->grid.ny = static_cast<int>(y.size());
  std::copy(x.begin(), x.end(), model->grid.x.begin() + 1);
  std::copy(y.begin(), y.end(), model->grid.y.begin() + 1);
  return model;
}

// Sets the code on the nodes of x lines i1..i2 and y lines j1..j2.
inline void set_block(StructureModel& model, int i1, int i2, int j1, int j2, int32_t code) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) model.occupancy[model.grid.node(i, j)] = code;
  }
}

// A few hundred nodes with everything in it: a graded grid, two materials,
// fixed potentials inside and on the border, a source region.
inline std::unique_ptr<StructureModel> mixed_model(FieldProblem problem) {
  auto model = make_model(problem, lines(0, 0.02, 17, 1.08), lines(0, 0.03, 15, 0.93));
  // In problem E the permittivities are scaled by 1/eps0 to bring the
  // coefficients near 1. With eps0 in them, ILU-CG's (A p, p) falls below the
  // 1.0E-20 division guard once the corrections are small, the guard shortens
  // the steps, and a tolerance as tight as these tests use is met by the short
  // steps before the potential is that close.
  const double scale = problem == FieldProblem::kElectrostatic ? 1.0 / kEps0 : 1.0;
  model->tables.material0 = scale;
  model->tables.material[2] = 6.0 * scale;
  model->tables.potential[1] = 100.0;
  model->tables.potential[4] = -20.0;
  model->tables.excitation[1] = problem == FieldProblem::kMagnetostatic ? 2.0E6 : 3.0E-4;
  set_block(*model, 1, 17, 1, 1, 10);
  set_block(*model, 9, 13, 6, 12, 2);
  set_block(*model, 4, 5, 9, 10, 40);
  set_block(*model, 12, 15, 3, 5, 101);
  return model;
}

inline std::unique_ptr<FieldArrays> assembled(const StructureModel& model) {
  auto arrays = std::make_unique<FieldArrays>();
  fill_material_coefficients(model, arrays->material);
  assemble(model, arrays->material, arrays->matrix, arrays->solution);
  return arrays;
}

// A dense row-major system, rows and columns 0..n-1 for k = 1..n.
struct Dense {
  int n = 0;
  std::vector<double> a, b;
  double& at(int r, int c) { return a[static_cast<size_t>(r * n + c)]; }
};

inline Dense dense_system(const Grid& g, const StencilMatrix& m) {
  Dense s{g.nodes(), std::vector<double>(static_cast<size_t>(g.nodes() * g.nodes())), {}};
  for (int k = 1; k <= g.nodes(); ++k) {
    const int i = (k - 1) % g.nx + 1, j = (k - 1) / g.nx + 1, r = k - 1;
    s.at(r, r) = m.mitte[k];
    if (j > 1) s.at(r, r - g.nx) = m.links[k];
    if (j < g.ny) s.at(r, r + g.nx) = m.rechts[k];
    if (i > 1) s.at(r, r - 1) = m.oben[k];
    if (i < g.nx) s.at(r, r + 1) = m.unten[k];
    s.b.push_back(m.rhs[k]);
  }
  return s;
}

// Gaussian elimination with partial pivoting.
inline std::vector<double> dense_solve(Dense s) {
  const int n = s.n;
  auto b = [&](int r) -> double& { return s.b[static_cast<size_t>(r)]; };
  for (int c = 0; c < n; ++c) {
    int p = c;
    for (int r = c + 1; r < n; ++r) p = std::abs(s.at(r, c)) > std::abs(s.at(p, c)) ? r : p;
    for (int col = 0; col < n; ++col) std::swap(s.at(c, col), s.at(p, col));
    std::swap(b(c), b(p));
    for (int r = c + 1; r < n; ++r) {
      const double f = s.at(r, c) / s.at(c, c);
      for (int col = c; col < n && f != 0.0; ++col) s.at(r, col) -= f * s.at(c, col);
      b(r) -= f * b(c);
    }
  }
  std::vector<double> x(static_cast<size_t>(n));
  for (int r = n - 1; r >= 0; --r) {
    double sum = b(r);
    for (int c = r + 1; c < n; ++c) sum -= s.at(r, c) * x[static_cast<size_t>(c)];
    x[static_cast<size_t>(r)] = sum / s.at(r, r);
  }
  return x;
}

inline std::vector<double> potential_of(const StructureModel& model, const FieldArrays& arrays) {
  const auto first = arrays.solution.potential.begin() + 1;
  return {first, first + model.grid.nodes()};
}

}  // namespace tambri::test
