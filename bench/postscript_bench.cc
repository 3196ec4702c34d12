// The PostScript writer on its own, in bytes written per second to a real
// file in the temporary folder, on the two heaviest record mixes the pictures
// produce for a 201 x 201 grid:
//   - a filled isoline picture: for each of 11 levels a fill polygon ("n", a
//     move, lines back to the first point, "c f") in the level's hue in every
//     element below or across the level, and the level's line segments (move,
//     line) in its hue at width 2; the frame and the labels at the end;
//   - an equicolour mosaic: one hue and one filled rectangle per cell.
// The same pictures in grey (black and white) are measured as well, since
// set_grey formats a field of its own, and the bare file for comparison.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/postscript.h"
#include "text/record_sink.h"

namespace tambri {
namespace {

constexpr int kLines = 201;
constexpr int kLevels = 11;

struct Scratch {
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tambri_ps_bench_XXXXXX").string();
    if (mkdtemp(pattern.data())) dir = pattern;
    for (int k = 0; k < kLines; ++k) line.push_back(0.001 * k * (1 + 0.002 * k));  // non-uniform grid
    value.resize(kLines * kLines);
    for (int i = 0; i < kLines; ++i) {
      for (int j = 0; j < kLines; ++j) {
        // A smooth field with hills and saddles, so that every level crosses
        // many elements.
        value[i * kLines + j] = std::sin(0.045 * i) * std::cos(0.031 * j) + 0.3 * std::sin(0.011 * (i + 2 * j));
      }
    }
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  double v(int i, int j) const { return value[i * kLines + j]; }
  // Cell edges: midpoints between lines, the outer lines at the border.
  double low(int k) const { return k == 0 ? line[0] : (line[k - 1] + line[k]) / 2; }
  double high(int k) const { return k == kLines - 1 ? line[k] : (line[k] + line[k + 1]) / 2; }
  std::filesystem::path dir;
  std::vector<double> line;
  std::vector<double> value;
};

void colour(PsWriter& ps, bool grey, int k, int n) {
  if (grey) {
    ps.set_grey(k, n);
  } else {
    ps.set_hue(k, n);
  }
}

struct Point {
  double x, y;
};

void polygon(PsWriter& ps, const PicturePlacement& p, const Point* points, int count) {
  ps.end_path(kPathNew);
  ps.plot(p.page_x(points[0].y), p.page_y(points[0].x), kPenMove);
  for (int k = 1; k <= count; ++k) {
    const Point& q = points[k % count];
    ps.plot(p.page_x(q.y), p.page_y(q.x), kPenLine);
  }
  ps.end_path(kPathFill);
}

void write_isolines(PsWriter& ps, const Scratch& g, bool grey) {
  const double extent = g.line.back() - g.line.front();
  const PicturePlacement p =
      place_picture(ps, false, g.line.front(), extent, g.line.front(), extent, "Potential phi  (V)", "bench", "");
  for (int k = 1; k <= kLevels; ++k) {
    const double level = 1.2 - 0.22 * k;
    for (int i = 1; i < kLines; ++i) {
      for (int j = 1; j < kLines; ++j) {
        const double xa = g.line[i - 1], xb = g.line[i], ya = g.line[j - 1], yb = g.line[j];
        const double fa = g.v(i - 1, j - 1) - level, fb = g.v(i, j - 1) - level;
        const double fc = g.v(i - 1, j) - level, fd = g.v(i, j) - level;
        const bool below_a = fa < 0;
        if ((fa < 0) == (fb < 0) && (fa < 0) == (fc < 0) && (fa < 0) == (fd < 0)) {
          if (!below_a) continue;
          const Point cell[4] = {{xa, ya}, {xb, ya}, {xb, yb}, {xa, yb}};
          colour(ps, grey, kLevels + 1 - (k + 1), kLevels);
          polygon(ps, p, cell, 4);
          continue;
        }
        // Crossings on edge 1 (A to B) and edge 2 (A to C), or their
        // neighbours when the level runs elsewhere: enough for a realistic
        // mix of triangles and segments.
        const double t1 = std::abs(fa - fb) > 1e-12 ? std::clamp(fa / (fa - fb), 0.0, 1.0) : 0.5;
        const double t2 = std::abs(fa - fc) > 1e-12 ? std::clamp(fa / (fa - fc), 0.0, 1.0) : 0.5;
        const Point p1{xa + t1 * (xb - xa), ya}, p2{xa, ya + t2 * (yb - ya)};
        const Point corner = below_a ? Point{xa, ya} : Point{xb, yb};
        const Point piece[3] = {p1, p2, corner};
        colour(ps, grey, kLevels + 1 - (k + 1), kLevels);
        polygon(ps, p, piece, 3);
        ps.set_line_width(2);
        colour(ps, grey, kLevels + 1 - k, kLevels);
        ps.plot(p.page_x(p1.y), p.page_y(p1.x), kPenMove);
        ps.plot(p.page_x(p2.y), p.page_y(p2.x), kPenLine);
      }
    }
  }
  ps.set_line_width(2);
  ps.set_colour(1);
  ps.rectangle(p.page_x(g.line.front()), p.page_y(g.line.front()), p.page_x(g.line.back()), p.page_y(g.line.back()),
               kRectangleOutline);
  ps.set_line_width(1);
  ps.plot(-p.origin_x, -p.origin_y, kPenMoveOrigin);
  for (int k = 1; k <= kLevels; ++k) {
    colour(ps, grey, kLevels + 1 - k, kLevels);
    const int row = (k - 1) / 6, column = (k - 1) % 6;  // six labels to a row
    ps.text(2 + 3 * column, 7 - row, 0.5, " 1.0E+00", 0, 8);
  }
  ps.plot(0, 0, kPenEnd);
}

void write_mosaic(PsWriter& ps, const Scratch& g, bool grey) {
  const double extent = g.line.back() - g.line.front();
  const PicturePlacement p =
      place_picture(ps, false, g.line.front(), extent, g.line.front(), extent, "Feldstaerke E  (V/m)", "bench", "");
  for (int i = 0; i < kLines; ++i) {
    for (int j = 0; j < kLines; ++j) {
      colour(ps, grey, (i * 7 + j * 3) % 128 + 1, 128);
      ps.rectangle(p.page_x(g.low(j)), p.page_y(g.low(i)), p.page_x(g.high(j)), p.page_y(g.high(i)), kRectangleFilled);
    }
  }
  ps.plot(-p.origin_x, -p.origin_y, kPenMoveOrigin);
  ps.plot(0, 0, kPenEnd);
}

template <void (*Write)(PsWriter&, const Scratch&, bool)>
void BM_PsWriter(benchmark::State& state) {
  Scratch g;
  OutputSettings settings;
  settings.postscript_off = false;
  PsWriter ps(settings);
  const bool grey = state.range(0) != 0;
  const std::string name = (g.dir / "bench_i.ps").string();
  for (auto _ : state) {
    if (!ps.open(name)) state.SkipWithError("cannot create the PostScript file");
    Write(ps, g, grey);
  }
  std::error_code error;
  const auto size = std::filesystem::file_size(name, error);
  if (error) {
    state.SkipWithError("no PostScript file");
    return;
  }
  state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}
// What the file alone costs: as many bytes as the filled isoline picture in
// colour, in records of 21 characters (a point record and its line end)
// formatted beforehand, through the same buffered record file.
void BM_RecordFileOnly(benchmark::State& state) {
  Scratch g;
  const std::string name = (g.dir / "bench_r.txt").string();
  const std::string record = "  12.3456 -78.9012 l";
  constexpr size_t kBytes = 26'793'500;
  const size_t records = kBytes / (record.size() + 1);
  for (auto _ : state) {
    FileRecordSink file(name);
    for (size_t k = 0; k < records; ++k) file.record(record);
    if (!file.close()) state.SkipWithError("cannot write the file");
  }
  state.SetBytesProcessed(static_cast<int64_t>(records * (record.size() + 1)) * state.iterations());
}
BENCHMARK(BM_RecordFileOnly)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PsWriter<write_isolines>)
    ->Name("BM_PsWriterFilledIsolines")
    ->ArgName("grey")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PsWriter<write_mosaic>)
    ->Name("BM_PsWriterMosaic")
    ->ArgName("grey")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tambri
