#include "dialogue/equicolour.h"

#include <cmath>
#include <string>

#include "core/equicolour_scale.h"
#include "core/picture_values.h"
#include "dialogue/questions.h"
#include "draw/node_marks.h"
#include "draw/palettes.h"
#include "draw/picture_files.h"
#include "draw/picture_frame.h"
#include "draw/plotter.h"
#include "draw/postscript.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

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

// A label of 1PE8.1, the form of every number written into the picture.
std::string label(double v) { return format_e(v, 8, 1); }

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
  surface.gfx_set_text_position(1, 1);
  surface.gfx_text(label(range.max));
  surface.gfx_set_text_position(16, 1);
  surface.gfx_text(label(range.min));
  surface.gfx_set_text_color(15);
  if (logarithmic) {
    surface.gfx_set_text_position(8, 1);
    surface.gfx_text(" LOG ABS");
  }
  surface.gfx_set_text_window(3, 80, 30, 100);
  write_window_coordinates(surface, grid, w, 22, 3);
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
  ps.text(3, 6, 0.5, label(range.min), 0, 8);
  plot.page_colour(PageColour::fixed(10, 1));
  ps.text(9.6, 6, 0.5, label((range.min + range.max) / 2), 0, 8);
  plot.page_colour(PageColour::fixed(2, 1));
  ps.text(16.3, 6, 0.5, label(range.max), 0, 8);
  if (logarithmic) {
    ps.set_colour(1);
    ps.text(9.5, 7, 0.4, "LOG-Betrag", 0, 10);
  }
}

}  // namespace

void draw_equicolour(ResultPicture& picture, const NodeQuantity& quantity) {
  Console& console = picture.console;
  const Grid& grid = picture.model.grid;
  const DisplayWindow& w = picture.window;
  const OutputSettings& output = picture.output;
  const bool logarithmic = ask_yes(console, " Logarithmus bilden [Y/N]:");
  // Without grid lines at the window's indices there is nothing to show.
  if (!names_grid_lines(grid, w)) return;
  bool& full_window = picture.memory.equicolour_full_window;
  full_window = ask_full_window(console, grid, w, full_window);

  const ValueRange range = picture_value_range(grid, quantity, logarithmic);
  const EquicolourScale scale = equicolour_scale(range.min, range.max);

  GraphicsSurface& surface = picture.pictures.surface;
  const std::string& stem = picture.model.output_stem;
  PictureFrame frame(surface, picture.pictures.viewer, console, output);
  PsWriter ps(output);
  frame.begin(" TAMBRI: " + pad_to_width(quantity.name, 25));
  ps.open(picture_file_name(stem, kTagEquicolour, ".ps"));
  set_scale_palette(surface);

  const double x1 = grid.x[w.i1], x2 = grid.x[w.i2], y1 = grid.y[w.j1], y2 = grid.y[w.j2];
  const PicturePlacement placement =
      place_picture(ps, full_window, x1, x2 - x1, y1, y2 - y1, quantity.name, stem, output.comment);
  Plotter plot(surface, &ps, output, structure_page_mapping(placement));
  // A region without extent in a stretched direction has no world to map:
  // the surface would keep an earlier picture's mapping.
  if (set_picture_world(surface, picture_world(grid, w, full_window))) {
    draw_cells(plot, grid, w, quantity, logarithmic, scale);
  }
  ps.set_colour(1);
  ps.set_line_width(2);
  ps.rectangle(placement.page_x(y1), placement.page_y(x1), placement.page_x(y2), placement.page_y(x2),
               kRectangleOutline);
  ps.set_colour(1);
  ps.set_line_width(1);
  ps.plot(-placement.origin_x, -placement.origin_y, kPenMoveOrigin);
  write_window_bounds(ps, grid, w);

  draw_screen_legend(surface, grid, w, range, logarithmic);
  surface.gfx_set_text_position(27, 5);
  frame.end(picture_file_name(stem, kTagEquicolour, ".bmp"), " <Return>");

  write_page_legend(plot, ps, range, logarithmic);
  end_page(ps, picture.console);
}

}  // namespace tambri
