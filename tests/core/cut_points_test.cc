#include "core/cut_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "support/solve_fixture.h"

namespace tambri {
namespace {

using test::make_model;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

TEST(CutLine, LowerLineWithinTheDisplayedLines) {
  GridLines y{};
  const double coordinates[] = {0, 0.25, 0.75, 1.5, 2.5};
  for (int n = 1; n <= 5; ++n) y[n] = coordinates[n - 1];
  // Displayed lines 2..4: 0.25 to 1.5, both bounds inside.
  EXPECT_EQ(cut_line(y, 2, 4, 1.0), 3);  // between lines: the lower one
  EXPECT_EQ(cut_line(y, 2, 4, 0.75), 3);
  EXPECT_EQ(cut_line(y, 2, 4, 0.25), 2);
  EXPECT_EQ(cut_line(y, 2, 4, 1.5), 4);
  EXPECT_EQ(cut_line(y, 2, 4, 0.2), std::nullopt);  // on the grid, outside the region
  EXPECT_EQ(cut_line(y, 2, 4, 1.6), std::nullopt);
  EXPECT_EQ(cut_line(y, 2, 4, kNan), std::nullopt);
  EXPECT_EQ(cut_line(y, 2, 4, kInf), std::nullopt);
  EXPECT_EQ(cut_line(y, 3, 3, 0.75), 3);  // a region of one line
  EXPECT_EQ(cut_line(y, 4, 2, 1.0), std::nullopt);
}

struct Quantity {
  std::unique_ptr<StructureModel> model = make_model(kProblemE, {0, 1, 3}, {10, 20, 40, 80});
  std::unique_ptr<DerivedFields> d = std::make_unique<DerivedFields>();
  NodeQuantity component() const { return {&d->strength_x, nullptr, false, "Ex"}; }
  NodeQuantity magnitude() const { return {&d->strength_x, &d->strength_y, true, "E"}; }
  CutPoints cut(const NodeQuantity& q, CutAbscissa abscissa, int first, int last, int line,
                bool log = false) const {
    CutPoints p;
    collect_cut_points(model->grid, q, abscissa, first, last, line, log, p);
    return p;
  }
};

std::vector<double> values(const CutPoints& p, bool abscissa = false) {
  const auto& from = abscissa ? p.a : p.v;
  return {from.begin() + 1, from.begin() + 1 + p.count};
}

TEST(CutPoints, AlongEitherLineAndOnALogarithmicScale) {
  Quantity q;
  for (int k = 1; k <= 12; ++k) {
    q.d->strength_x[k] = 3.0 * k;
    q.d->strength_y[k] = 4.0 * k;
  }
  // Over x on y line 2 (nodes 4..6), lines 2..3; over y on x line 3 (nodes 3, 6, 9, 12).
  const CutPoints over_x = q.cut(q.component(), CutAbscissa::X, 2, 3, 2);
  EXPECT_EQ(values(over_x, true), (std::vector<double>{1, 3}));
  EXPECT_EQ(values(over_x), (std::vector<double>{15, 18}));
  const CutPoints over_y = q.cut(q.magnitude(), CutAbscissa::Y, 1, 4, 3);
  EXPECT_EQ(values(over_y, true), (std::vector<double>{10, 20, 40, 80}));
  EXPECT_EQ(values(over_y), (std::vector<double>{15, 30, 45, 60}));

  // log10(|v + 1.0E-15|): -15 for an exact zero, the magnitude of a negative
  // value, and no number at all for -1.0E-15 (its sum is zero).
  q.d->strength_x[1] = 0.0;
  q.d->strength_x[2] = -100.0;
  q.d->strength_x[3] = -1.0E-15;
  const CutPoints log = q.cut(q.component(), CutAbscissa::X, 1, 3, 1, true);
  EXPECT_DOUBLE_EQ(log.v[1], -15.0);
  EXPECT_DOUBLE_EQ(log.v[2], 2.0);
  EXPECT_EQ(log.v[3], -kInf);
  q.d->strength_y[2] = 0.0;
  EXPECT_DOUBLE_EQ(q.cut(q.magnitude(), CutAbscissa::X, 1, 3, 1, true).v[2], 2.0);

  // Lines outside the grid give no points.
  EXPECT_EQ(q.cut(q.component(), CutAbscissa::X, 1, 4, 1).count, 0);
  EXPECT_EQ(q.cut(q.component(), CutAbscissa::Y, 1, 4, 4).count, 0);
  EXPECT_EQ(q.cut(q.component(), CutAbscissa::X, 0, 2, 1).count, 0);
}

TEST(CutRange, ZeroSpansAreWidenedSoThatNoScaleDividesByZero) {
  EXPECT_EQ(widened_max(3.0, 3.0), 3.0 + 1.0E-15);
  EXPECT_EQ(widened_max(0.0, 1.0E-15), 1.0E-15);
  EXPECT_EQ(widened_max(1.0, 1.0 + 1.0E-14), 1.0 + 1.0E-14);  // wide enough already
  // 100 + 1.0E-15 is 100: the next double above instead.
  EXPECT_EQ(widened_max(100.0, 100.0), std::nextafter(100.0, kInf));
  for (double v : {0.0, -1.0E-300, 1.0E-300, -5.0, 1.0, 100.0, -1.0E15, 1.0E20, 1.0E300}) {
    EXPECT_GT(widened_max(v, v), v) << v;
  }

  // A constant quantity; abscissa from the first and last point.
  CutPoints p;
  p.count = 3;
  p.a = {0, 0.1, 0.2, 0.4};
  p.v = {0, 7, 7, 7};
  CutRange r = cut_range(p);
  EXPECT_EQ((std::vector<double>{r.amin, r.amax, r.vmin, r.vmax}),
            (std::vector<double>{0.1, 0.4, 7, 7 + 1.0E-15}));
  // Values without a number are left out of the range; none at all gives 0.
  p.v = {0, kNan, -2, -kInf};
  r = cut_range(p);
  EXPECT_EQ(r.vmin, -2.0);
  EXPECT_EQ(r.vmax, -2.0 + 1.0E-15);
  p.v = {0, kNan, kInf, -kInf};
  r = cut_range(p);
  EXPECT_EQ(r.vmin, 0.0);
  EXPECT_EQ(r.vmax, 1.0E-15);
  // One point: the abscissa span is widened too.
  p.count = 1;
  p.a[1] = 100.0;
  r = cut_range(p);
  EXPECT_GT(r.amax, r.amin);
  EXPECT_TRUE(std::isfinite(page_scales(r).sa));
}

CutPoints points_of(const std::vector<double>& a, const std::vector<double>& v) {
  CutPoints p;
  p.count = static_cast<int>(a.size());
  for (int n = 1; n <= p.count; ++n) {
    p.a[n] = a[n - 1];
    p.v[n] = v[n - 1];
  }
  return p;
}

std::vector<PenMove> clipped(const CutPoints& p, const CutRange& r) {
  PenPath path;
  clip_to_band(p, r, path);
  return {path.moves.begin(), path.moves.begin() + path.count};
}

void expect_moves(const std::vector<PenMove>& got, const std::vector<PenMove>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t n = 0; n < got.size(); ++n) {
    EXPECT_NEAR(got[n].x, want[n].x, 1e-12) << n;
    EXPECT_NEAR(got[n].y, want[n].y, 1e-12) << n;
    EXPECT_EQ(got[n].pen, want[n].pen) << n;
  }
}

TEST(CutClip, CurveHeldInTheBandAlongItsEdges) {
  // Range 0..16 on both axes: page units equal values.
  const CutRange unit{0, 16, 0, 16};
  // inside, above, above, inside, below, above, inside
  const CutPoints p = points_of({0, 1, 2, 3, 4, 5, 6}, {5, 20, 24, 8, -4, 20, 10});
  expect_moves(clipped(p, unit), {{0, 5, 3},
                                  {11.0 / 15, 16, 2},  // leaving at the top, 11/15 of the way
                                  {2.5, 16, 2},        // back in halfway from 24 to 8
                                  {3, 8, 2},
                                  {3 + 2.0 / 3, 0, 2},  // leaving at the bottom
                                  {5.4, 16, 2},         // below to above: nothing; back in at 5.4
                                  {6, 10, 2}});
  // A first point outside starts on the edge; on the edge counts as inside.
  expect_moves(clipped(points_of({0, 1}, {30, 16}), unit), {{0, 16, 3}, {1, 16, 2}, {1, 16, 2}});
  expect_moves(clipped(points_of({0, 1}, {-1, -2}), unit), {{0, 0, 3}});
  // Page position (a - amin) sa, (v - vmin) sv with sa = sv = 8 here.
  expect_moves(clipped(points_of({1, 2, 3}, {100, 101, 102}), CutRange{1, 3, 100, 102}),
               {{0, 0, 3}, {8, 8, 2}, {16, 16, 2}});
}

TEST(CutClip, TinyValueStepsAndPointsWithoutANumber) {
  // A step of exactly -1.0E-15 out of the band makes the interpolation 0/0;
  // the crossing stays on the segment.
  const CutRange tiny{0, 1, 0, 1.0E-15};
  const std::vector<PenMove> step = clipped(points_of({0, 1}, {0, -1.0E-15}), tiny);
  ASSERT_EQ(step.size(), 2u);
  EXPECT_EQ(step[1].x, 0.0);
  EXPECT_EQ(step[1].y, 0.0);
  const std::vector<PenMove> back = clipped(points_of({0, 1}, {5.0E-16, -4.0E-16}), tiny);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_GE(back[1].x, 0.0);
  EXPECT_LE(back[1].x, 16.0);

  // A point without a number is skipped and the curve starts again after it.
  const CutRange unit{0, 16, 0, 16};
  expect_moves(clipped(points_of({0, 1, 2, 3, 4}, {1, kNan, 2, -kInf, 30}), unit),
               {{0, 1, 3}, {2, 2, 3}, {4, 16, 3}});
  // A range without a usable scale draws nothing.
  EXPECT_TRUE(clipped(points_of({0, 1}, {1, 2}), CutRange{0, 1, 5, 5}).empty());
  EXPECT_TRUE(clipped(points_of({0, 1}, {1, 2}), CutRange{0, 1, 0, kNan}).empty());
  // The full capacity fits: every point leaving and re-entering the band.
  CutPoints zigzag;
  zigzag.count = kMaxLines;
  for (int n = 1; n <= kMaxLines; ++n) {
    zigzag.a[n] = n;
    zigzag.v[n] = n % 2 ? 20 : 8;
  }
  PenPath path;
  clip_to_band(zigzag, CutRange{1, kMaxLines, 0, 16}, path);
  EXPECT_EQ(path.count, 1 + 2 * (kMaxLines - 1) - (kMaxLines - 1) / 2);
  // A count beyond the buffers is held at their capacity.
  zigzag.count = 5 * kMaxLines;
  clip_to_band(zigzag, CutRange{1, kMaxLines, 0, 16}, path);
  EXPECT_EQ(path.count, 1 + 2 * (kMaxLines - 1) - (kMaxLines - 1) / 2);
  EXPECT_EQ(cut_range(zigzag).amax, kMaxLines);
}

}  // namespace
}  // namespace tambri
