#include "dialogue/path_integral_dialogue.h"

#include <string>

#include "core/path_integral.h"
#include "dialogue/node_probe.h"
#include "draw/node_marks.h"
#include "draw/palettes.h"
#include "draw/plotter.h"
#include "model/assignment.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

constexpr int kPathColour = 2;
constexpr int kExcitationColour = 4;
constexpr int kPotentialColour = 10;
constexpr int kGridColour = 12;
constexpr int kTextColour = 15;

// The texts beside the picture: what was integrated, below it the value (its
// column differs with the problem's texts), lower down the prompt.
constexpr TextWindow kTexts{1, 80, 30, 110};
constexpr TextCell kLabelCell{3, 2};
constexpr int kResultRow = 5;
constexpr TextCell kPromptCell{25, 2};

using ProblemTexts = PathIntegralTexts;
const ProblemTexts& texts_of(FieldProblem problem) { return traits_of(problem).path; }

// The corners as entered and checked; none when a reading fails.
std::optional<PathCorners> ask_corners(Console& console, const Grid& grid) {
  console.record(" Eingabe Integrationsweg (Rechteck oder Linie)");
  double xlo = 0, ylo = 0, xru = 0, yru = 0;
  for (;;) {
    console.prompt(" Linke obere Ecke   (Xlo Ylo):");
    if (!console.read_numbers({xlo, ylo})) return std::nullopt;
    if (!first_corner_outside(grid, xlo, ylo)) break;
    console.record(" ### Rechteck außerhalb der Struktur ###");
  }
  for (;;) {
    console.prompt(" Rechte untere Ecke (Xru Yru):");
    if (!console.read_numbers({xru, yru})) return std::nullopt;
    if (std::optional<PathCorners> corners = accept_second_corner(xlo, ylo, xru, yru)) return corners;
    console.record(" ### Keine Fläche oder Linie ###");
  }
}

void draw_path(ResultPicture& picture, const PathIntegral& path, const ProblemTexts& texts) {
  const StructureModel& model = picture.model;
  const Grid& grid = model.grid;
  // The path picture writes no files.
  PictureRun run = picture_run(picture, "");
  GraphicsSurface& surface = run.surface();
  run.begin(texts.title);
  set_line_palette(surface);
  if (run.set_world({model.yb, model.xb, model.ye, model.xe})) {
    Plotter plot(surface, nullptr, picture.output, {});
    plot.colour(kGridColour, PageColour::none());
    plot.rectangle(kGfxOutline, model.yb, model.xb, model.ye, model.xe);
    draw_grid_lines(plot, grid, full_display_window(grid));
    for (int j = 1; j <= grid.ny; ++j) {
      for (int i = 1; i <= grid.nx; ++i) {
        const int32_t code = model.occupancy[static_cast<size_t>(grid.node(i, j))];
        const bool potential = is_fixed_potential(code), excited = is_excitation(code);
        if (!potential && !excited) continue;
        const NodeSpan x = mark_span(grid.x, i, 1, grid.nx, kNodeMarkFraction);
        const NodeSpan y = mark_span(grid.y, j, 1, grid.ny, kNodeMarkFraction);
        if (potential) {
          plot.colour(kPotentialColour, PageColour::none());
          plot.rectangle(kGfxFilled, y.lo, x.lo, y.hi, x.hi);
        } else {
          plot.colour(kExcitationColour, PageColour::none());
          plot.polyline(diamond(x, y));
        }
      }
    }
    plot.colour(kPathColour, PageColour::none());
    plot.rectangle(kGfxOutline, path.ya, path.xa, path.yb, path.xb);
  }
  set_text_window(surface, kTexts);
  surface.gfx_set_text_color(kTextColour);
  write_text(surface, kLabelCell, texts.label);
  write_text(surface, {kResultRow, texts.result_column},
             std::string(texts.result) + format_e10(path.flux) + texts.unit);
  set_text_position(surface, kPromptCell);
  run.end(" <Return>",
          run.probe<NodeProbe>(grid, full_display_window(grid), std::span<const int32_t>(model.occupancy)));
}

}  // namespace

void integrate_along_path(ResultPicture& picture, const DerivedFields& derived) {
  Console& console = picture.console;
  const Grid& grid = picture.model.grid;
  const std::optional<PathCorners> c = ask_corners(console, grid);
  if (!c) return;
  const PathIntegral path = integrate_path(grid, derived, c->xlo, c->ylo, c->xru, c->yru);
  const ProblemTexts& texts = texts_of(picture.model.problem);
  draw_path(picture, path, texts);

  console.record(" Eingabe Integrationsweg (Rechteck oder Linie)");
  console.record(" Linke obere Ecke   (Xlo Ylo):" + format_e10(c->xlo) + format_e10(c->ylo));
  console.record(" Rechte untere Ecke (Xru Yru):" + format_e10(c->xru) + format_e10(c->yru));
  if (c->line_of_constant_x()) console.message(" *** Integration auf x-Linie ***");
  if (c->line_of_constant_y()) console.message(" *** Integration auf y-Linie ***");
  console.message(" Verwendete Koordinaten (m):");
  console.record(" (" + format_e10(path.xa) + "," + format_e10(path.ya) + ")+-----+");
  console.record(std::string(24, ' ') + "+-----+(" + format_e10(path.xb) + "," + format_e10(path.yb) + ")");
  console.message(std::string(texts.console) + format_e10(path.flux) + texts.unit);
  console.empty_line();
}

}  // namespace tambri
