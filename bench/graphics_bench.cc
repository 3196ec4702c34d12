// The heaviest picture load: an equicolour-sized mosaic of 201 x 201 filled
// cells on the surface and in PostScript (PostScript on, written to a
// temporary file), then the bitmap of the window. The parts are measured on
// their own as well.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "draw/postscript.h"
#include "draw/surface.h"

namespace tambri {
namespace {

constexpr int kLines = 201;

struct Scratch {
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tambri_bench_XXXXXX").string();
    if (mkdtemp(pattern.data())) dir = pattern;
    for (int k = 0; k < kLines; ++k) line.push_back(0.001 * k * (1 + 0.002 * k));  // non-uniform grid
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  // Cell edges: midpoints between lines, the outer lines at the border.
  double low(int k) const { return k == 0 ? line[0] : (line[k - 1] + line[k]) / 2; }
  double high(int k) const { return k == kLines - 1 ? line[k] : (line[k] + line[k + 1]) / 2; }
  std::filesystem::path dir;
  std::vector<double> line;
};

int level(int i, int j) { return (i * 7 + j * 3) % 128; }

void draw_cells(GraphicsSurface& s, const Scratch& g) {
  s.gfx_set_viewport(0, 25, 600, 625);
  s.gfx_set_world(0, g.line.front(), g.line.front(), g.line.back(), g.line.back());
  for (int i = 0; i < kLines; ++i) {
    for (int j = 0; j < kLines; ++j) {
      s.gfx_set_color(16 + level(i, j));
      s.gfx_rectangle(kGfxFilled, g.low(j), g.low(i), g.high(j), g.high(i));
    }
  }
}

void write_cells(PsWriter& ps, const Scratch& g) {
  const double extent = g.line.back() - g.line.front();
  const PicturePlacement p =
      place_picture(ps, false, g.line.front(), extent, g.line.front(), extent, "Feldstaerke E  (V/m)", "bench", "");
  for (int i = 0; i < kLines; ++i) {
    for (int j = 0; j < kLines; ++j) {
      ps.set_hue(level(i, j) + 1, 128);
      ps.rectangle(p.page_x(g.low(j)), p.page_y(g.low(i)), p.page_x(g.high(j)), p.page_y(g.high(i)), kRectangleFilled);
    }
  }
  ps.plot(-p.origin_x, -p.origin_y, kPenMoveOrigin);
  ps.plot(0, 0, kPenEnd);
}

void BM_EquicolourLoadSurfacePostScriptBitmap(benchmark::State& state) {
  Scratch g;
  GraphicsSurface surface;
  OutputSettings settings;
  settings.postscript_off = false;
  PsWriter ps(settings);
  const std::string ps_name = (g.dir / "bench_c.ps").string(), bmp_name = (g.dir / "bench_c.bmp").string();
  for (auto _ : state) {
    surface.gfx_clear(0);
    if (!ps.open(ps_name)) state.SkipWithError("cannot create the PostScript file");
    draw_cells(surface, g);
    write_cells(ps, g);
    if (!surface.gfx_save_bitmap(bmp_name, 0, 0, 800, 630)) state.SkipWithError("cannot save the bitmap");
  }
  state.counters["ps_bytes"] = static_cast<double>(std::filesystem::file_size(ps_name));
}
BENCHMARK(BM_EquicolourLoadSurfacePostScriptBitmap)->Unit(benchmark::kMillisecond);

void BM_EquicolourLoadSurfaceOnly(benchmark::State& state) {
  Scratch g;
  GraphicsSurface surface;
  for (auto _ : state) {
    draw_cells(surface, g);
    benchmark::DoNotOptimize(surface.pixels());
  }
}
BENCHMARK(BM_EquicolourLoadSurfaceOnly)->Unit(benchmark::kMillisecond);

void BM_EquicolourLoadPostScriptOnly(benchmark::State& state) {
  Scratch g;
  OutputSettings settings;
  settings.postscript_off = false;
  PsWriter ps(settings);
  const std::string ps_name = (g.dir / "bench_c.ps").string();
  for (auto _ : state) {
    if (!ps.open(ps_name)) state.SkipWithError("cannot create the PostScript file");
    write_cells(ps, g);
  }
}
BENCHMARK(BM_EquicolourLoadPostScriptOnly)->Unit(benchmark::kMillisecond);

void BM_SaveBitmap(benchmark::State& state) {
  Scratch g;
  GraphicsSurface surface;
  draw_cells(surface, g);
  const std::string bmp_name = (g.dir / "bench_c.bmp").string();
  for (auto _ : state) {
    if (!surface.gfx_save_bitmap(bmp_name, 0, 0, 800, 630)) state.SkipWithError("cannot save the bitmap");
  }
}
BENCHMARK(BM_SaveBitmap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tambri
