// The arrow picture of the field strength on the solved 201 x 201 coax
// reference problem, as P E in the evaluation draws it with PostScript and
// bitmap output on and every arrow asked for: the dialogue's questions, the
// range over the grid, 40,401 arrows on the surface and the page, the
// conductors' cells, the legends, the bitmap and the PostScript file (in a
// temporary folder). The wait for Return is answered at once.
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
#include "dialogue/arrows.h"
#include "solved_reference.h"

namespace tambri {
namespace {

// Shows nothing; the wait reads the answer line.
class NoWindow : public Viewer {
 public:
  void present(const GraphicsSurface&) override {}
  void wait_for_return(const GraphicsSurface&, Console& console, const PictureProbe*) override { console.read_line(); }
  bool has_window() const override { return false; }
};

void BM_ArrowPictureCoaxPostScriptBitmap(benchmark::State& state) {
  bench::SolvedCoax& coax = bench::solved_coax();
  bench::WorkingFolder folder;
  const std::filesystem::path& dir = folder.path();

  OutputSettings output;
  output.postscript_off = false;
  output.bitmap_off = false;
  PictureMemory memory;
  GraphicsSurface surface;
  NoWindow viewer;
  const DisplayWindow window = full_display_window(coax.model->grid);
  const VectorQuantity field{&coax.arrays->derived.strength_x, &coax.arrays->derived.strength_y,
                             "Feldstaerke E  (V/m)"};
  std::istringstream in;
  std::ostringstream out;
  Console console(in, out, false);
  for (auto _ : state) {
    // No logarithm, (square: no window question), every arrow, the range kept.
    in.clear();
    in.str("n\nY\nn\n\n");
    out.str("");
    ResultPicture picture{console, *coax.model, output, window, {surface, viewer}, memory};
    draw_arrows(picture, field);
  }
  if (!std::filesystem::exists(dir / "coax_p.bmp")) state.SkipWithError("no bitmap written");
  state.counters["ps_bytes"] = static_cast<double>(std::filesystem::file_size(dir / "coax_p.ps"));
}
BENCHMARK(BM_ArrowPictureCoaxPostScriptBitmap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tambri
