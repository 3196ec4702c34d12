#include "core/path_integral.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/assembly.h"

namespace tambri {
namespace {

double width(const GridLines& lines, int n, int count) { return count >= 2 ? box_width(lines, n, count) : 0.0; }

}  // namespace

bool first_corner_outside(const Grid& grid, double xlo, double ylo) {
  if (!std::isfinite(xlo) || !std::isfinite(ylo)) return true;
  return xlo > grid.x[grid.nx] || ylo > grid.y[grid.ny];
}

std::optional<PathCorners> accept_second_corner(double xlo, double ylo, double xru, double yru) {
  for (double v : {xlo, ylo, xru, yru}) {
    if (!std::isfinite(v)) return std::nullopt;
  }
  if (xru < xlo || yru < ylo) return std::nullopt;
  const bool same_x = std::fabs(xru - xlo) < kPathTolerance;
  const bool same_y = std::fabs(yru - ylo) < kPathTolerance;
  if (same_x && same_y) return std::nullopt;
  PathCorners corners{xlo, ylo, xru, yru};
  if (same_x) corners.xru = xlo;
  if (same_y) corners.yru = ylo;
  return corners;
}

PathIntegral integrate_path(const Grid& grid, const DerivedFields& d, double xlo, double ylo, double xru, double yru) {
  const int nx = grid.nx;
  const int ny = grid.ny;
  PathIntegral p;
  if (nx < 1 || ny < 1) return p;

  p.il = line_at_or_below(grid.x, nx, xlo);
  p.ir = line_at_or_below(grid.x, nx, xru);
  p.jl = line_at_or_below(grid.y, ny, ylo);
  p.jr = line_at_or_below(grid.y, ny, yru);

  if (xlo < grid.x[1]) {
    p.xa = xlo;
    p.ia = 0;
  } else {
    p.xa = grid.x[p.il];
    p.ia = p.il;
  }
  if (ylo < grid.y[1]) {
    p.ya = ylo;
    p.ja = 0;
  } else {
    p.ya = grid.y[p.jl];
    p.ja = p.jl;
  }
  if (xru > grid.x[nx]) {
    p.xb = xru;
    p.ib = nx + 1;
  } else {
    p.xb = grid.x[p.ir];
    p.ib = p.ir;
  }
  if (yru > grid.y[ny]) {
    p.yb = yru;
    p.jb = ny + 1;
  } else {
    p.yb = grid.y[p.jr];
    p.jb = p.jr;
  }

  // Outward normal component: minus on the sides with the smaller coordinate.
  double f = 0.0;
  if (0 < p.ja && p.ja < p.jb) {
    for (int i = p.il; i <= p.ir; ++i) f = f - width(grid.x, i, nx) * d.flux_y[grid.node(i, p.ja)];
  }
  if (p.jb <= ny) {
    for (int i = p.il; i <= p.ir; ++i) f = f + width(grid.x, i, nx) * d.flux_y[grid.node(i, p.jb)];
  }
  if (0 < p.ia && p.ia < p.ib) {
    for (int j = p.jl; j <= p.jr; ++j) f = f - width(grid.y, j, ny) * d.flux_x[grid.node(p.ia, j)];
  }
  if (p.ib <= nx) {
    for (int j = p.jl; j <= p.jr; ++j) f = f + width(grid.y, j, ny) * d.flux_x[grid.node(p.ib, j)];
  }
  p.flux = f;
  return p;
}

}  // namespace tambri
