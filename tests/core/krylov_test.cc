// The Krylov solvers fuse and reorder their loops for speed; every value they
// produce must still be, bit for bit, the value of the recurrences written out
// one plain loop per step. The plain versions below are that reference.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "core/solvers.h"
#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::assembled;
using test::lines;
using test::make_model;
using test::mixed_model;
using test::set_block;
using Vec = std::vector<double>;  // [1..n], slot 0 unused

// What a solver leaves after each iteration.
struct Trace {
  std::vector<Vec> u;
  std::vector<double> e_max;
  std::vector<int> k_max;
};

class PlainKrylov {
 public:
  // The D-ILU factors: M = (D + L) D^-1 (D + U) with diag(M) = diag(A), so
  // each pivot is the diagonal less the products through the two neighbours
  // before it; the preconditioner scales by the pivots' inverses.
  PlainKrylov(const Grid& g, const StencilMatrix& a, const NodeArray& u)
      : nx_(g.nx), n_(g.nodes()), a_(a), u_(u.begin(), u.begin() + n_ + 1), d_(u_.size()), f_(5, Vec(u_.size())) {
    for (int k = 1; k <= n_; ++k) {
      d_[k] = a.mitte[k];
      if (k > 1) d_[k] -= a.unten[k - 1] * a.oben[k] / d_[k - 1];
      if (k > nx_) d_[k] -= a.rechts[k - nx_] * a.links[k] / d_[k - nx_];
      f_[0][k] = 1.0 / d_[k];
      for (int m = 1; m < 5; ++m)
        f_[m][k] = (m == 1 ? a.oben : m == 2 ? a.links : m == 3 ? a.unten : a.rechts)[k] * f_[0][k];
    }
  }

  // A x, the terms with a neighbour outside 1..n left out of the sum (which
  // starts from -0.0, the exact identity of IEEE addition).
  Vec product(const Vec& x) const {
    Vec y(x.size());
    for (int k = 1; k <= n_; ++k) {
      double sum = -0.0;
      if (k - nx_ >= 1) sum += a_.links[k] * x[k - nx_];
      if (k - 1 >= 1) sum += a_.oben[k] * x[k - 1];
      sum += a_.mitte[k] * x[k];
      if (k + 1 <= n_) sum += a_.unten[k] * x[k + 1];
      if (k + nx_ <= n_) sum += a_.rechts[k] * x[k + nx_];
      y[k] = sum;
    }
    return y;
  }

  // M^-1 z: forward through D + L, backward through I + D^-1 U, with the
  // scaled factors in the order the solvers use them.
  Vec precondition(Vec z) const {
    const Vec &dinv = f_[0], &oben = f_[1], &links = f_[2], &unten = f_[3], &rechts = f_[4];
    for (int k = 1; k <= n_; ++k) z[k] = z[k] * dinv[k];
    for (int k = 2; k <= nx_; ++k) z[k] = z[k] - oben[k] * z[k - 1];
    for (int k = nx_ + 1; k <= n_; ++k) z[k] = z[k] - links[k] * z[k - nx_] - oben[k] * z[k - 1];
    for (int k = n_ - 1; k >= n_ - nx_ + 1; --k) z[k] = z[k] - unten[k] * z[k + 1];
    for (int k = n_ - nx_; k >= 1; --k) z[k] = z[k] - rechts[k] * z[k + nx_] - unten[k] * z[k + 1];
    return z;
  }

  Trace bicg(int iterations) const {
    Vec u = u_, r(u.size()), p(u.size()), v(u.size()), s(u.size());
    const Vec au = product(u);
    for (int k = 1; k <= n_; ++k) r[k] = a_.rhs[k] - au[k];
    r = precondition(r);
    const Vec r_hat = r;
    double rho = dot(r, r), beta = rho, omega = 1.0;
    Trace trace;
    for (int n = 1; n <= iterations; ++n) {
      const double rho_old = rho;
      for (int k = 1; k <= n_; ++k) p[k] = beta * (p[k] - omega * v[k]) + r[k];
      v = precondition(product(p));
      const double alpha = rho / guarded(dot(v, r_hat));
      for (int k = 1; k <= n_; ++k) s[k] = r[k] - alpha * v[k];
      const Vec t = precondition(product(s));
      omega = dot(t, s) / guarded(dot(t, t));
      Vec du(u.size());
      for (int k = 1; k <= n_; ++k) {
        r[k] = s[k] - omega * t[k];
        du[k] = alpha * p[k] + omega * s[k];
        u[k] = u[k] + du[k];
      }
      record(trace, u, du);
      rho = dot(r, r_hat);
      omega = guarded(omega);
      beta = rho / guarded(rho_old) * alpha / omega;
    }
    return trace;
  }

  Trace cg(int iterations) const {
    Vec u = u_, r(u.size()), q(u.size());
    const Vec au = product(u);
    for (int k = 1; k <= n_; ++k) r[k] = a_.rhs[k] - au[k];
    Vec z = precondition(r), p = z;
    Trace trace;
    for (int n = 1; n <= iterations; ++n) {
      const double gamma = dot(r, z);
      q = product(p);
      const double delta = guarded(dot(q, p));
      const double alpha = gamma / delta;
      for (int k = 1; k <= n_; ++k) r[k] = r[k] - alpha * q[k];
      z = precondition(r);
      Vec du(u.size());
      for (int k = 1; k <= n_; ++k) {
        du[k] = alpha * p[k];
        u[k] = u[k] + du[k];
      }
      record(trace, u, du);
      const double beta = -dot(z, q) / delta;
      for (int k = 1; k <= n_; ++k) p[k] = z[k] + beta * p[k];
    }
    return trace;
  }

 private:
  double dot(const Vec& x, const Vec& y) const {
    double sum = 0.0;
    for (int k = 1; k <= n_; ++k) sum += x[k] * y[k];
    return sum;
  }
  static double guarded(double d) {
    const double m = std::max(std::fabs(d), 1.0E-20);
    return d < 0 ? -m : m;
  }
  void record(Trace& trace, const Vec& u, const Vec& du) const {
    double e_max = 0.0;
    int k_max = 0;
    for (int k = 1; k <= n_; ++k) {
      const double e = std::fabs(du[k]) / (std::fabs(u[k]) + 0.10000000149011612);
      if (k == 1 || e > e_max) e_max = e, k_max = k;
    }
    trace.u.push_back(u);
    trace.e_max.push_back(e_max);
    trace.k_max.push_back(k_max);
  }

  int nx_, n_;
  const StencilMatrix& a_;
  Vec u_, d_;
  std::vector<Vec> f_;  // 1 / pivot, then Oben, Links, Unten and Rechts scaled by it
};

// Bit patterns, so that even the sign of a zero must agree.
uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }

void expect_same_bits(const Vec& expected, const double* actual, int n, const std::string& where) {
  for (int k = 1; k <= n; ++k) {
    ASSERT_EQ(bits(expected[k]), bits(actual[k]))
        << where << " node " << k << ": " << expected[k] << " vs " << actual[k];
  }
}

// Grids whose row counts leave swept bands of one, two and three rows over,
// odd and even row lengths, graded spacing, two materials, fixed potentials
// inside and on the border, and sources; problem E also with its true, tiny
// coefficients, with which the division guard comes into play.
std::vector<std::unique_ptr<StructureModel>> models() {
  std::vector<std::unique_ptr<StructureModel>> list;
  list.push_back(mixed_model(FieldProblem::kElectrostatic));
  list.push_back(mixed_model(FieldProblem::kMagnetostatic));
  list.push_back(mixed_model(FieldProblem::kElectrostatic));
  list.back()->tables.material0 = 1.0;
  list.back()->tables.material[2] = 6.0;
  list.push_back(make_model(FieldProblem::kCurrentFlow, lines(0, 1, 12, 1.2), lines(0, 2, 12, 0.9)));
  list.back()->tables.material[3] = 40.0;
  list.back()->tables.potential[2] = 5.0;
  set_block(*list.back(), 1, 12, 10, 10, 20);
  set_block(*list.back(), 3, 6, 2, 7, 3);
  set_block(*list.back(), 1, 1, 1, 1, 10);
  list.push_back(make_model(FieldProblem::kMagnetostatic, lines(0, 1, 3), lines(0, 1, 2)));
  list.back()->tables.excitation[1] = 1.0E6;
  set_block(*list.back(), 1, 1, 1, 1, 10);
  set_block(*list.back(), 2, 3, 2, 2, 101);
  return list;
}

// Every iterate, e_max and k_max of the first iterations, bit for bit; the
// product and the preconditioner run inside them on every grid of the list.
// A fault of the plain sweeps alone breaks the equality; the same fault in
// the solvers changes the iteration counts the solvers' screen pins.
TEST(KrylovBitwise, EveryIterationIsThePlainRecurrence) {
  constexpr int kIterations = 8;
  for (const auto& model : models()) {
    for (int solver : {kSolverIluBicg, kSolverIluCg}) {
      auto arrays = assembled(*model);
      const Grid& g = model->grid;
      const PlainKrylov plain(g, arrays->matrix, arrays->solution.potential);
      const Trace expected = solver == kSolverIluBicg ? plain.bicg(kIterations) : plain.cg(kIterations);
      SolverSettings settings;
      settings.iteration_limit = kIterations;
      settings.relative_error = -1.0;  // never ready
      int n = 0;
      const auto check = [&](const IterationReport& report) {
        const std::string where = std::string(solver_info(solver).name) + " " + std::to_string(g.nx) + "x" +
                                  std::to_string(g.ny) + " iteration " + std::to_string(report.iteration);
        ASSERT_EQ(report.iteration, n + 1);
        expect_same_bits(expected.u[n], arrays->solution.potential.data(), g.nodes(), where);
        EXPECT_EQ(bits(report.e_max), bits(expected.e_max[n])) << where;
        EXPECT_EQ(g.node(report.i, report.j), expected.k_max[n]) << where;
        ++n;
      };
      solver_info(solver).solve(*model, *arrays, settings, check);
      EXPECT_EQ(n, kIterations);
    }
  }
}

}  // namespace
}  // namespace tambri
