#pragma once
// Small field problems built directly (grid and occupancy set by hand) and an
// independent dense solver for the five-point system.
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "model/structure_model.h"
#include "solve/assembly.h"
#include "solve/field_arrays.h"

namespace tambri::test {

inline std::vector<double> uniform_lines(double from, double to, int count) {
  std::vector<double> lines;
  for (int n = 0; n < count; ++n) lines.push_back(from + (to - from) * n / (count - 1));
  return lines;
}

// Lines whose spacing grows by `ratio` from one interval to the next.
inline std::vector<double> graded_lines(double from, double to, int count, double ratio) {
  std::vector<double> steps;
  double total = 0.0, h = 1.0;
  for (int n = 1; n < count; ++n, h *= ratio) {
    steps.push_back(h);
    total += h;
  }
  std::vector<double> lines{from};
  for (double step : steps) lines.push_back(lines.back() + step * (to - from) / total);
  lines.back() = to;
  return lines;
}

// A new problem of the given kind: tables as for a new structure, the grid
// from the given lines, every node on material 0.
inline std::unique_ptr<StructureModel> make_model(int problem, const std::vector<double>& x,
                                                  const std::vector<double>& y) {
  auto model = std::make_unique<StructureModel>();
  model->problem = problem;
  reset_tables_for_new_problem(*model);
  model->grid.nx = static_cast<int>(x.size());
  model->grid.ny = static_cast<int>(y.size());
  for (size_t n = 0; n < x.size(); ++n) model->grid.x[n + 1] = x[n];
  for (size_t n = 0; n < y.size(); ++n) model->grid.y[n + 1] = y[n];
  model->xb = x.front();
  model->xe = x.back();
  model->yb = y.front();
  model->ye = y.back();
  for (int k = 1; k <= model->grid.nodes(); ++k) model->occupancy[k] = 0;
  return model;
}

inline void set_code(StructureModel& model, int i, int j, int32_t code) {
  model.occupancy[model.grid.node(i, j)] = code;
}

// Sets the code on every node of x lines i1..i2 and y lines j1..j2.
inline void set_block(StructureModel& model, int i1, int i2, int j1, int j2, int32_t code) {
  for (int j = j1; j <= j2; ++j) {
    for (int i = i1; i <= i2; ++i) set_code(model, i, j, code);
  }
}

inline std::unique_ptr<FieldArrays> assembled(const StructureModel& model) {
  auto arrays = std::make_unique<FieldArrays>();
  fill_material_coefficients(model, arrays->material);
  assemble(model, arrays->material, arrays->matrix, arrays->solution);
  return arrays;
}

// The system as a dense row-major matrix, rows and columns 0..N-1 for k = 1..N.
struct DenseSystem {
  int n = 0;
  std::vector<double> a;
  std::vector<double> b;
  double& at(int row, int col) { return a[static_cast<size_t>(row * n + col)]; }
};

inline DenseSystem dense_system(const Grid& grid, const StencilMatrix& m) {
  DenseSystem s;
  s.n = grid.nodes();
  s.a.assign(static_cast<size_t>(s.n * s.n), 0.0);
  for (int j = 1; j <= grid.ny; ++j) {
    for (int i = 1; i <= grid.nx; ++i) {
      const int k = grid.node(i, j);
      const int row = k - 1;
      s.at(row, row) = m.mitte[k];
      if (j > 1) s.at(row, row - grid.nx) = m.links[k];
      if (j < grid.ny) s.at(row, row + grid.nx) = m.rechts[k];
      if (i > 1) s.at(row, row - 1) = m.oben[k];
      if (i < grid.nx) s.at(row, row + 1) = m.unten[k];
      s.b.push_back(m.rhs[k]);
    }
  }
  return s;
}

// Gaussian elimination with partial pivoting; returns x of a x = b.
inline std::vector<double> dense_solve(DenseSystem s) {
  const int n = s.n;
  for (int c = 0; c < n; ++c) {
    int pivot = c;
    for (int r = c + 1; r < n; ++r) {
      if (std::abs(s.at(r, c)) > std::abs(s.at(pivot, c))) pivot = r;
    }
    if (pivot != c) {
      for (int col = 0; col < n; ++col) std::swap(s.at(c, col), s.at(pivot, col));
      std::swap(s.b[static_cast<size_t>(c)], s.b[static_cast<size_t>(pivot)]);
    }
    for (int r = c + 1; r < n; ++r) {
      const double f = s.at(r, c) / s.at(c, c);
      if (f == 0.0) continue;
      for (int col = c; col < n; ++col) s.at(r, col) -= f * s.at(c, col);
      s.b[static_cast<size_t>(r)] -= f * s.b[static_cast<size_t>(c)];
    }
  }
  std::vector<double> x(static_cast<size_t>(n));
  for (int r = n - 1; r >= 0; --r) {
    double sum = s.b[static_cast<size_t>(r)];
    for (int col = r + 1; col < n; ++col) sum -= s.at(r, col) * x[static_cast<size_t>(col)];
    x[static_cast<size_t>(r)] = sum / s.at(r, r);
  }
  return x;
}

}  // namespace tambri::test
