#include "core/cut_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "support/solve_fixture.h"
#include "support/text_cases.h"

namespace tambri {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

TEST(CutLine, LowerLineWithinTheDisplayedLines) {
  const GridLines y{0, 0, 0.25, 0.75, 1.5, 2.5};
  // Displayed lines 2..4 (0.25 to 1.5): between lines the lower one; on the
  // grid but outside the region, or no number, none.
  const double values[] = {1.0, 0.75, 0.25, 1.5, 0.2, 1.6, kNan, kInf};
  const int lines[] = {3, 3, 2, 4, 0, 0, 0, 0};  // 0: none
  for (int n = 0; n < 8; ++n) EXPECT_EQ(cut_line(y, 2, 4, values[n]).value_or(0), lines[n]) << values[n];
  EXPECT_EQ(cut_line(y, 3, 3, 0.75), 3);  // a region of one line
  EXPECT_EQ(cut_line(y, 4, 2, 1.0), std::nullopt);
}

std::vector<double> listed(const std::array<double, kMaxLines + 1>& from, const CutPoints& p) {
  return {from.begin() + 1, from.begin() + 1 + p.count};
}

TEST(CutPoints, AlongEitherLineAndOnALogarithmicScale) {
  auto model = test::make_model(FieldProblem::kElectrostatic, {0, 1, 3}, {10, 20, 40, 80});
  auto d = std::make_unique<DerivedFields>();
  const NodeQuantity ex{&d->strength_x, nullptr, false, "Ex"}, e{&d->strength_x, &d->strength_y, true, "E"};
  const auto cut = [&](const NodeQuantity& q, CutAbscissa abscissa, int first, int last, int line, bool log) {
    CutPoints p;
    collect_cut_points(model->grid, q, abscissa, first, last, line, log, p);
    return p;
  };
  for (int k = 1; k <= 12; ++k) d->strength_x[k] = 3.0 * k, d->strength_y[k] = 4.0 * k;
  // Over x on y line 2 (nodes 4..6), lines 2..3; over y on x line 3 (nodes 3, 6, 9, 12).
  const CutPoints over_x = cut(ex, CutAbscissa::X, 2, 3, 2, false);
  EXPECT_EQ(listed(over_x.a, over_x), (std::vector<double>{1, 3}));
  EXPECT_EQ(listed(over_x.v, over_x), (std::vector<double>{15, 18}));
  const CutPoints over_y = cut(e, CutAbscissa::Y, 1, 4, 3, false);
  EXPECT_EQ(listed(over_y.a, over_y), (std::vector<double>{10, 20, 40, 80}));
  EXPECT_EQ(listed(over_y.v, over_y), (std::vector<double>{15, 30, 45, 60}));
  // log10(|v + 1.0E-15|): -15 for an exact zero, the magnitude of a negative
  // value, and no number at all for -1.0E-15 (its sum is zero).
  d->strength_x[1] = 0.0;
  d->strength_x[2] = -100.0;
  d->strength_x[3] = -1.0E-15;
  const CutPoints log = cut(ex, CutAbscissa::X, 1, 3, 1, true);
  EXPECT_EQ(listed(log.v, log), (std::vector<double>{-15, 2, -kInf}));
  d->strength_y[2] = 0.0;
  EXPECT_DOUBLE_EQ(cut(e, CutAbscissa::X, 1, 3, 1, true).v[2], 2.0);
  // Lines outside the grid give no points.
  EXPECT_EQ(cut(ex, CutAbscissa::X, 1, 4, 1, false).count + cut(ex, CutAbscissa::Y, 1, 4, 4, false).count +
                cut(ex, CutAbscissa::X, 0, 2, 1, false).count,
            0);
}

CutPoints points_of(const std::vector<double>& a, const std::vector<double>& v) {
  CutPoints p;
  p.count = static_cast<int>(a.size());
  std::copy(a.begin(), a.end(), p.a.begin() + 1);
  std::copy(v.begin(), v.end(), p.v.begin() + 1);
  return p;
}

TEST(CutRange, ZeroSpansAreWidenedSoThatNoScaleDividesByZero) {
  EXPECT_EQ(widened_max(3.0, 3.0), 3.0 + 1.0E-15);
  EXPECT_EQ(widened_max(1.0, 1.0 + 1.0E-14), 1.0 + 1.0E-14);          // wide enough already
  EXPECT_EQ(widened_max(100.0, 100.0), std::nextafter(100.0, kInf));  // 100 + 1.0E-15 is 100
  for (double v : {0.0, -1.0E-300, 1.0E-300, -5.0, -1.0E15, 1.0E20, 1.0E300}) EXPECT_GT(widened_max(v, v), v) << v;
  // A constant quantity; the abscissa from the first and last point; values
  // without a number are left out, and none at all gives 0.
  const auto range = [](const CutPoints& p) {
    const CutRange r = cut_range(p);
    return std::vector<double>{r.amin, r.amax, r.vmin, r.vmax};
  };
  EXPECT_EQ(range(points_of({0.1, 0.2, 0.4}, {7, 7, 7})), (std::vector<double>{0.1, 0.4, 7, 7 + 1.0E-15}));
  EXPECT_EQ(range(points_of({0, 1, 2}, {kNan, -2, -kInf})), (std::vector<double>{0, 2, -2, -2 + 1.0E-15}));
  EXPECT_EQ(range(points_of({0, 1, 2}, {kNan, kInf, -kInf})), (std::vector<double>{0, 2, 0, 1.0E-15}));
  const CutRange one = cut_range(points_of({100}, {1}));  // one point: the abscissa is widened too
  EXPECT_GT(one.amax, one.amin);
  EXPECT_TRUE(std::isfinite(page_scales(one).sa));
}

std::vector<std::vector<double>> clipped(const CutPoints& p, const CutRange& r) {
  PenPath path;
  clip_to_band(p, r, path);
  std::vector<std::vector<double>> moves;
  for (int n = 0; n < path.count; ++n) moves.push_back({path.moves[n].x, path.moves[n].y, double(path.moves[n].pen)});
  return moves;
}

TEST(CutClip, CurveHeldInTheBandAlongItsEdges) {
  for (const test::CaseRow& c : test::read_cases("tests/core/data/cut_clip.txt")) {
    const std::vector<double> r = c.numbers(2), want = c.words(3)[0] == "none" ? std::vector<double>{} : c.numbers(3);
    const auto got = clipped(points_of(c.numbers(0), c.numbers(1)), CutRange{r[0], r[1], r[2], r[3]});
    ASSERT_EQ(3 * got.size(), want.size()) << c.where;
    for (size_t n = 0; n < want.size(); ++n) EXPECT_NEAR(got[n / 3][n % 3], want[n], 1e-12) << c.where << " " << n;
  }
  const auto back = clipped(points_of({0, 1}, {5.0E-16, -4.0E-16}), CutRange{0, 1, 0, 1.0E-15});
  ASSERT_EQ(back.size(), 2u);
  EXPECT_TRUE(back[1][0] >= 0.0 && back[1][0] <= 16.0);
}

// The full capacity fits with every point leaving and re-entering the band;
// a count beyond the buffers is held at their capacity.
TEST(CutClip, CapacityHeldForAnyCount) {
  CutPoints zigzag;
  for (int n = 1; n <= kMaxLines; ++n) zigzag.a[n] = n, zigzag.v[n] = n % 2 ? 20 : 8;
  for (int count : {kMaxLines, 5 * kMaxLines}) {
    zigzag.count = count;
    PenPath path;
    clip_to_band(zigzag, CutRange{1, kMaxLines, 0, 16}, path);
    EXPECT_EQ(path.count, 1 + 2 * (kMaxLines - 1) - (kMaxLines - 1) / 2);
    EXPECT_EQ(cut_range(zigzag).amax, kMaxLines);
  }
}

}  // namespace
}  // namespace tambri
