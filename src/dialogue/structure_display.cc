#include "dialogue/structure_display.h"

#include <string>

#include "dialogue/node_probe.h"
#include "draw/node_marks.h"
#include "draw/palettes.h"
#include "draw/picture_files.h"
#include "draw/picture_run.h"
#include "draw/plotter.h"
#include "model/assignment.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

// The inner rectangle of a fixed-potential node reaches this far towards
// its neighbours (single precision, as always).
constexpr double kInnerFraction = static_cast<double>(0.4f);

constexpr int kPotentialColourBase = 10;  // potential / excitation k is drawn in 10 - k
constexpr int kTextColour = 15;

// The legend: a band of 32 pixels for each number 1..9, material k's filled
// swatch on the left and the outline of potential and excitation k on the
// right, their numbers beside them on every second text row.
constexpr int kLegendNumbers = 9;
constexpr int kSwatchHeight = 32;
struct SwatchColumns {
  int left, right;
};
constexpr SwatchColumns kMaterialSwatch{0, 20}, kPotentialSwatch{30, 50};
constexpr TextWindow kNumberTexts{2, 85, 30, 100};
constexpr int kNumberColumn = 3;           // number k on row 2k
constexpr TextCell kNumberHeading{10, 6};  // "Nr."
// Below the legend: the window's coordinates and the prompt.
constexpr TextWindow kInfoTexts{2, 80, 30, 100};
constexpr TextCell kWindowCell{22, 1};
constexpr TextCell kPromptCell{29, 2};

const char* title_of(FieldProblem problem) { return traits_of(problem).structure_title; }

void draw_node(Plotter& plot, int32_t value, const Grid& grid, int i, int j, const DisplayWindow& w) {
  const int e = occupancy_excitation(value), p = occupancy_potential(value), m = occupancy_material(value);
  if (m > 0) {
    const NodeSpan x = cell_span(grid.x, i, w.i1, w.i2), y = cell_span(grid.y, j, w.j1, w.j2);
    plot.colour(m, PageColour::none());
    plot.rectangle(kGfxFilled, y.lo, x.lo, y.hi, x.hi);
  }
  if (p == 0 && e == 0) return;
  const NodeSpan x = mark_span(grid.x, i, w.i1, w.i2, kInnerFraction);
  const NodeSpan y = mark_span(grid.y, j, w.j1, w.j2, kInnerFraction);
  if (p > 0) {
    plot.colour(kPotentialColourBase - p, PageColour::none());
    plot.rectangle(kGfxOutline, y.lo, x.lo, y.hi, x.hi);
  }
  if (e > 0) {
    plot.colour(kPotentialColourBase - e, PageColour::none());
    plot.polyline(diamond(x, y));
  }
}

void draw_structure(Plotter& plot, const StructureModel& model, const DisplayWindow& w, bool grid_under_structure) {
  const Grid& grid = model.grid;
  plot.colour(kStructureGrey, PageColour::none());
  plot.rectangle(kGfxOutline, grid.y[w.j1], grid.x[w.i1], grid.y[w.j2], grid.x[w.i2]);
  // A window reversed in either direction shows no node, so no grid either.
  if (w.i1 > w.i2 || w.j1 > w.j2) return;
  if (grid_under_structure) draw_grid_lines(plot, grid, w);
  for (int j = w.j1; j <= w.j2; ++j) {
    for (int i = w.i1; i <= w.i2; ++i) {
      draw_node(plot, model.occupancy[static_cast<size_t>(grid.node(i, j))], grid, i, j, w);
    }
  }
  if (!grid_under_structure) {
    plot.colour(kStructureGrey, PageColour::none());
    draw_grid_lines(plot, grid, w);
  }
}

// Row k shows material k's colour beside the colour of potential and excitation k.
void draw_legend(GraphicsSurface& surface) {
  surface.gfx_set_viewport(kLegendViewport.x1, kLegendViewport.y1, kLegendViewport.x2, kLegendViewport.y2);
  for (int k = 1; k <= kLegendNumbers; ++k) {
    const int top = kSwatchHeight * (k - 1), bottom = kSwatchHeight * k;
    surface.gfx_set_color(k);
    surface.gfx_rectangle_px(kGfxFilled, kMaterialSwatch.left, top, kMaterialSwatch.right, bottom);
    surface.gfx_set_color(kPotentialColourBase - k);
    surface.gfx_rectangle_px(kGfxOutline, kPotentialSwatch.left, top, kPotentialSwatch.right, bottom);
  }
  set_text_window(surface, kNumberTexts);
  surface.gfx_set_text_color(kTextColour);
  for (int k = 1; k <= kLegendNumbers; ++k) {
    write_text(surface, {2 * k, kNumberColumn}, format_i(k, 1));
  }
  write_text(surface, kNumberHeading, "Nr.");
}

}  // namespace

void show_structure(Console& console, const StructureModel& model, const DisplayWindow& w, bool grid_under_structure,
                    const OutputSettings& output, Pictures pictures) {
  const Grid& grid = model.grid;
  // Without grid lines at all four indices (no grid yet) there is no world to
  // draw in: the picture keeps its title and legend only.
  const bool has_lines = names_grid_lines(grid, w);
  const bool full_window = has_lines && ask_full_window(console, grid, w, false);

  PictureRun run(pictures, console, output, model.output_stem, kTagStructure);
  GraphicsSurface& surface = run.surface();
  run.begin(title_of(model.problem));
  set_structure_palette(surface);

  // A window of a single line or node has no extent; the surface keeps the
  // mapping of an earlier picture, which must not place this one.
  if (has_lines && run.set_world(picture_world(grid, w, full_window))) {
    Plotter plot(surface, nullptr, output, {});
    draw_structure(plot, model, w, grid_under_structure);
  }

  draw_legend(surface);
  set_text_window(surface, kInfoTexts);
  if (has_lines) write_window_coordinates(surface, grid, w, kWindowCell.row, kWindowCell.column);
  set_text_position(surface, kPromptCell);
  run.end(" <Return>", run.probe<NodeProbe>(grid, w, std::span<const int32_t>(model.occupancy)));
}

}  // namespace tambri
