// The equicolour and mountain pictures of the solved 201 x 201 coax reference
// problem, drawn as the RESULTS menu draws them: the whole dialogue of one
// picture with its answers, the surface, and with the files switched on the
// PostScript file and the bitmap (written to a temporary folder). The wait
// for Return reads an answer line and returns at once.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "core/assembly.h"
#include "core/derived_fields.h"
#include "core/field_arrays.h"
#include "core/solver_settings.h"
#include "core/solvers.h"
#include "dialogue/equicolour.h"
#include "dialogue/mountain.h"
#include "solved_reference.h"

namespace tambri {
namespace {

enum class Picture { kEquicolour, kMountain };

void run_picture(benchmark::State& state, Picture kind, const char* answers, bool files) {
  bench::SolvedCoax& s = bench::solved_coax();
  bench::WorkingFolder scratch;
  OutputSettings output;
  output.postscript_off = !files;
  output.bitmap_off = !files;
  PictureMemory memory;
  GraphicsSurface surface;
  HeadlessViewer viewer;
  const DisplayWindow window = full_display_window(s.model->grid);
  const DerivedFields& d = s.arrays->derived;
  const NodeQuantity strength{&d.strength_x, &d.strength_y, true, "Feldstaerke E  (V/m)"};
  const NodeQuantity potential{&s.arrays->solution.potential, nullptr, false, "Potential (V)"};
  std::istringstream in;
  std::ostringstream out;
  Console console(in, out, false);
  for (auto _ : state) {
    in.clear();
    in.str(answers);
    out.str("");
    ResultPicture picture{console, *s.model, output, window, {surface, viewer}, memory};
    if (kind == Picture::kEquicolour) draw_equicolour(picture, strength);
    else draw_mountain(picture, potential);
    benchmark::DoNotOptimize(surface.pixels());
  }
  const char* ps = kind == Picture::kEquicolour ? "coax_c.ps" : "coax_g.ps";
  if (files) state.counters["ps_bytes"] = static_cast<double>(std::filesystem::file_size(scratch.path() / ps));
  state.SetLabel("coax 201 x 201");
}

void BM_EquicolourPostScriptBitmap(benchmark::State& state) { run_picture(state, Picture::kEquicolour, "N\n\n", true); }
BENCHMARK(BM_EquicolourPostScriptBitmap)->Unit(benchmark::kMillisecond);

void BM_EquicolourScreenOnly(benchmark::State& state) { run_picture(state, Picture::kEquicolour, "N\n\n", false); }
BENCHMARK(BM_EquicolourScreenOnly)->Unit(benchmark::kMillisecond);

// Coloured facets; the wire-frame writes the same records with other colours.
void BM_MountainPostScriptBitmap(benchmark::State& state) {
  run_picture(state, Picture::kMountain, "N\nN\nY\n\n", true);
}
BENCHMARK(BM_MountainPostScriptBitmap)->Unit(benchmark::kMillisecond);

void BM_MountainScreenOnly(benchmark::State& state) { run_picture(state, Picture::kMountain, "N\nN\nY\n\n", false); }
BENCHMARK(BM_MountainScreenOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tambri
