#include "dialogue/equicolour.h"

#include <cmath>
#include <string>

#include "core/equicolour_scale.h"
#include "core/picture_values.h"
#include "dialogue/node_probe.h"
#include "dialogue/questions.h"
#include "draw/node_marks.h"
#include "draw/palettes.h"
#include "draw/picture_files.h"
#include "draw/plotter.h"
#include "draw/postscript.h"

namespace tambri {
namespace {

constexpr int kLevels = kEquicolourLevels;
constexpr int kLowest = kEquicolourLowestIndex;
constexpr int kHighest = kEquicolourHighestIndex;

// The screen colour bar in a 100 x 100 world over the legend viewport: one
// box 0.7 high every 0.725, the highest level at the top (single precision,
// as always).
constexpr double kBarStep = static_cast<double>(0.725f);
constexpr double kBarBox = static_cast<double>(0.7f);
constexpr double kBarLeft = 10, kBarRight = 70;

// The page colour bar: 128 boxes 0.125 cm wide from (3, 4) to (19, 5).
constexpr double kPageBarLeft = 3, kPageBarBottom = 4, kPageBarTop = 5, kPageBarRight = 19;
constexpr double kPageBarBox = 0.125;

// Where the legend's texts go: rows of the screen's text windows beside the
// bar (columns 85-100, then 80-100), and on the page above the bar.
constexpr int kMaxRow = 1, kMinRow = 16, kLogRow = 8, kLabelColumn = 1;
constexpr int kWindowRow = 22, kWindowColumn = 3;
constexpr int kPromptRow = 27, kPromptColumn = 5;
constexpr double kPageLabelY = 6, kPageLabelSize = 0.5;
constexpr double kPageMinX = 3, kPageMiddleX = 9.6, kPageMaxX = 16.3;

void set_scale_palette(GraphicsSurface& surface) {
  for (int n = 0; n < kLevels; ++n) surface.gfx_set_palette_rgb(kLowest + n, ramp_colour(n));
}

// One filled cell per node, cut at the border lines, so the mosaic covers
// exactly the shown region. A node without a finite value is left out.
void draw_cells(Plotter& plot, const Grid& grid, const DisplayWindow& w, const NodeQuantity& quantity, bool logarithmic,
                const EquicolourScale& scale) {
  for (int i = w.i1; i <= w.i2; ++i) {
    const NodeSpan x = cell_span(grid.x, i, w.i1, w.i2);
    for (int j = w.j1; j <= w.j2; ++j) {
      const double v = picture_value(quantity, grid.node(i, j), logarithmic);
      if (!std::isfinite(v)) continue;
      const NodeSpan y = cell_span(grid.y, j, w.j1, w.j2);
      const int index = equicolour_index(scale, v);
      plot.colour(index, PageColour::level_of(index - kLowest + 1, kLevels));
      plot.rectangle(kGfxFilled, y.lo, x.lo, y.hi, x.hi);
    }
  }
}

void draw_screen_legend(GraphicsSurface& surface, const Grid& grid, const DisplayWindow& w, const ValueRange& range,
                        bool logarithmic) {
  surface.gfx_set_viewport(kLegendViewport.x1, kLegendViewport.y1, kLegendViewport.x2, kLegendViewport.y2);
  surface.gfx_set_world(0, 0, 0, 100, 100);
  for (int n = 0; n < kLevels; ++n) {
    surface.gfx_set_color(kHighest - n);
    surface.gfx_rectangle(kGfxFilled, kBarLeft, kBarStep * n, kBarRight, kBarStep * n + kBarBox);
  }
  surface.gfx_set_text_window(3, 85, 24, 100);
  write_text(surface, {kMaxRow, kLabelColumn}, value_label(range.max));
  write_text(surface, {kMinRow, kLabelColumn}, value_label(range.min));
  surface.gfx_set_text_color(15);
  if (logarithmic) write_text(surface, {kLogRow, kLabelColumn}, " LOG ABS");
  surface.gfx_set_text_window(3, 80, 30, 100);
  write_window_coordinates(surface, grid, w, kWindowRow, kWindowColumn);
}

void write_page_legend(Plotter& plot, PsWriter& ps, const ValueRange& range, bool logarithmic) {
  for (int k = 1; k <= kLevels; ++k) {
    plot.page_colour(PageColour::level_of(k, kLevels));
    const double left = kPageBarLeft + kPageBarBox * (k - 1);
    ps.rectangle(left, kPageBarBottom, left + kPageBarBox, kPageBarTop, kRectangleFilled);
  }
  ps.set_colour(1);
  ps.set_line_width(2);
  ps.rectangle(kPageBarLeft, kPageBarBottom, kPageBarRight, kPageBarTop, kRectangleOutline);
  ps.set_line_width(1);
  // Blue under the minimum, green-yellow under the middle, red under the
  // maximum; black on a black-and-white page.
  plot.page_colour(PageColour::fixed(3, 1));
  ps.text(kPageMinX, kPageLabelY, kPageLabelSize, value_label(range.min), 0, 8);
  plot.page_colour(PageColour::fixed(10, 1));
  ps.text(kPageMiddleX, kPageLabelY, kPageLabelSize, value_label((range.min + range.max) / 2), 0, 8);
  plot.page_colour(PageColour::fixed(2, 1));
  ps.text(kPageMaxX, kPageLabelY, kPageLabelSize, value_label(range.max), 0, 8);
  if (logarithmic) {
    ps.set_colour(1);
    ps.text(9.5, 7, 0.4, "LOG-Betrag", 0, 10);
  }
}

}  // namespace

std::optional<EquicolourOptions> ask_equicolour(Console& console, const ShownField& field, PictureMemory& memory) {
  EquicolourOptions o;
  o.logarithmic = ask_yes(console, " Logarithmus bilden [Y/N]:");
  // Without grid lines at the window's indices there is nothing to show.
  if (!names_grid_lines(field.grid(), field.window)) return std::nullopt;
  memory.equicolour_full_window = ask_full_window(console, field.grid(), field.window, memory.equicolour_full_window);
  o.full_window = memory.equicolour_full_window;
  return o;
}

void paint_equicolour(const EquicolourOptions& o, const ShownField& field, const NodeQuantity& quantity,
                      PictureRun& run) {
  const Grid& grid = field.grid();
  const DisplayWindow& w = field.window;
  const ValueRange range = picture_value_range(grid, quantity, o.logarithmic);
  const EquicolourScale scale = equicolour_scale(range.min, range.max);

  GraphicsSurface& surface = run.surface();
  PsWriter& ps = run.page();
  run.begin(picture_title(quantity.name));
  run.open_page(kStructureTitleLayout, {quantity.name, field.model.output_stem, run.output().comment});
  set_scale_palette(surface);
  const PicturePlacement placement = run.place_on_page(grid, w, o.full_window);
  Plotter plot(surface, &ps, run.output(), structure_page_mapping(placement));
  // A region without extent in a stretched direction has no world to map:
  // the surface would keep an earlier picture's mapping.
  if (run.set_world(picture_world(grid, w, o.full_window))) {
    draw_cells(plot, grid, w, quantity, o.logarithmic, scale);
  }
  const double x1 = grid.x[w.i1], x2 = grid.x[w.i2], y1 = grid.y[w.j1], y2 = grid.y[w.j2];
  ps.set_colour(1);
  ps.set_line_width(2);
  ps.rectangle(placement.page_x(y1), placement.page_y(x1), placement.page_x(y2), placement.page_y(x2),
               kRectangleOutline);
  ps.set_colour(1);
  ps.set_line_width(1);
  ps.plot(-placement.origin_x, -placement.origin_y, kPenMoveOrigin);
  write_window_bounds(ps, grid, w);

  draw_screen_legend(surface, grid, w, range, o.logarithmic);
  surface.gfx_set_text_position(kPromptRow, kPromptColumn);
  run.end(" <Return>", run.probe<NodeProbe>(grid, w, quantity));

  write_page_legend(plot, ps, range, o.logarithmic);
  run.end_page();
}

void draw_equicolour(ResultPicture& picture, const NodeQuantity& quantity) {
  const ShownField field = shown_field(picture);
  const std::optional<EquicolourOptions> options = ask_equicolour(picture.console, field, picture.memory);
  if (!options) return;
  PictureRun run = picture_run(picture, kTagEquicolour);
  paint_equicolour(*options, field, quantity, run);
}

}  // namespace tambri
