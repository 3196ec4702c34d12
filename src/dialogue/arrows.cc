#include "dialogue/arrows.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/arrow_shapes.h"
#include "core/potential_legend.h"
#include "dialogue/node_probe.h"
#include "dialogue/questions.h"
#include "draw/node_marks.h"
#include "draw/palettes.h"
#include "draw/picture_files.h"
#include "draw/plotter.h"
#include "draw/postscript.h"
#include "model/assignment.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

constexpr int kArrowColour = 15;
constexpr int kFrameColour = kStructureGrey;
constexpr int kExcitationColour = 13;  // not reprogrammed: the start-up colour
constexpr int kBackground = 0;
constexpr int kTextColour = 15;
constexpr int kPotentialLevels = 9;
constexpr int kLegendBoxHeight = 32;
constexpr int kLegendBoxWidth = 50;
// "LOG-Betrag" in the title row.
constexpr int kLogRow = 1, kLogColumn = 49;
// The screen legend beside its boxes: potential value k in row 19 - 2k of
// the first text window, the potential's name below, then the window's
// coordinates and " <Return>" in the second.
constexpr TextWindow kValueTexts{3, 85, 30, 100}, kWindowTexts{3, 80, 30, 100};
constexpr int kValueRowBelowLast = 19, kValueColumn = 2, kNameRow = 20, kNameColumn = 3;
constexpr int kWindowRow = 22, kWindowColumn = 3, kPromptRow = 27, kPromptColumn = 5;
// The page legend: box k from (2k, 4) to (2k + 2, 5), its value above it,
// the name and "LOG-Betrag" above the middle.
struct PageText {
  double x, y, size;
};
constexpr double kPageBox = 2, kPageBarBottom = 4, kPageBarTop = 5, kPageValueY = 5.5, kPageValueSize = 0.4;
constexpr PageText kPageName{9.3, 6.5, 0.5}, kPageLog{9, 8, 0.4};

// The true-to-scale square is masked below or right of the region only when
// it is longer by more than this (metres), and the mask starts a little away
// from the region's border so that its frame stays.
constexpr double kMaskTolerance = 0.001;
constexpr double kMaskGap = static_cast<double>(0.005f);

// " Min=" and " Max=" until the range can scale arrows: a positive maximum
// not below the minimum.
void ask_limits(Console& console, MagnitudeRange& range) {
  for (;;) {
    range.min = ask_number(console, " Min=");
    range.max = ask_number(console, " Max=");
    if (range.max > 0 && range.max >= range.min) return;
    console.message(" ### Max. kleiner Min. ###");
  }
}

// The page half of the arrows: only points inside the shown part are
// written, and a line to a point after a left-out one starts there instead,
// so no line joins the two sides of a gap.
class RegionPath {
 public:
  RegionPath(PsWriter& ps, const PageMapping& mapping, const Grid& grid, const DisplayWindow& w)
      : ps_(ps), mapping_(mapping), y1_(grid.y[w.j1]), y2_(grid.y[w.j2]), x1_(grid.x[w.i1]), x2_(grid.x[w.i2]) {}

  void move(const ArrowPoint& p) { put(p, kPenMove); }
  void line(const ArrowPoint& p) { put(p, kPenLine); }

 private:
  void put(const ArrowPoint& p, int pen) {
    if (!(p.y >= y1_ && p.y <= y2_ && p.x >= x1_ && p.x <= x2_)) {
      after_gap_ = true;
      return;
    }
    ps_.plot(mapping_.page_h(p.y), mapping_.page_v(p.x), after_gap_ ? kPenMove : pen);
    after_gap_ = false;
  }

  PsWriter& ps_;
  const PageMapping& mapping_;
  double y1_, y2_, x1_, x2_;
  bool after_gap_ = true;
};

void draw_arrow_field(Plotter& plot, const Grid& grid, const DisplayWindow& w, const VectorQuantity& quantity,
                      const ArrowScale& scale, int sx, int sy, bool page) {
  GraphicsSurface& surface = plot.surface();
  plot.colour(kArrowColour, PageColour::fixed(kArrowColour));
  plot.line_width(1);
  std::optional<RegionPath> path;
  if (page) path.emplace(*plot.page(), plot.mapping(), grid, w);
  for (int j = w.j1; j <= w.j2; j += sy) {
    for (int i = w.i1; i <= w.i2; i += sx) {
      const auto k = static_cast<size_t>(grid.node(i, j));
      const std::optional<Arrow> arrow = arrow_at(scale, grid.x[i], grid.y[j], (*quantity.x)[k], (*quantity.y)[k]);
      if (!arrow) continue;
      surface.gfx_move_to(arrow->node.y, arrow->node.x);
      surface.gfx_line_to(arrow->tip.y, arrow->tip.x);
      surface.gfx_move_to(arrow->head1.y, arrow->head1.x);
      surface.gfx_line_to(arrow->tip.y, arrow->tip.x);
      surface.gfx_line_to(arrow->head2.y, arrow->head2.x);
      if (!path) continue;
      path->move(arrow->node);
      path->line(arrow->tip);
      path->move(arrow->head1);
      path->line(arrow->tip);
      path->line(arrow->head2);
    }
  }
}

// Fixed-potential cells in the colour of their value, excitation nodes as
// diamonds over their cells.
void draw_structure_overlay(Plotter& plot, const StructureModel& model, const DisplayWindow& w,
                            const PotentialLegend& legend) {
  const Grid& grid = model.grid;
  int current = -1;
  const auto use = [&](int colour, PageColour page) {
    if (colour == current) return;
    plot.colour(colour, page);
    current = colour;
  };
  for (int j = w.j1; j <= w.j2; ++j) {
    for (int i = w.i1; i <= w.i2; ++i) {
      const int32_t value = model.occupancy[static_cast<size_t>(grid.node(i, j))];
      if (!is_fixed_potential(value) && !is_excitation(value)) continue;
      const NodeSpan x = cell_span(grid.x, i, w.i1, w.i2), y = cell_span(grid.y, j, w.j1, w.j2);
      if (is_fixed_potential(value)) {
        const int colour = legend.colour_of[static_cast<size_t>(value / 10)];
        use(colour, PageColour::level_of(colour, kPotentialLevels));
        plot.rectangle(kGfxFilled, y.lo, x.lo, y.hi, x.hi);
      } else {
        use(kExcitationColour, PageColour::fixed(kExcitationColour));
        plot.polyline(diamond(x, y));
      }
    }
  }
}

// In the true-to-scale square, what lies beyond the region is painted over on
// the screen; the page leaves those points out instead.
void mask_beyond_region(GraphicsSurface& surface, const Grid& grid, const DisplayWindow& w) {
  const double x1 = grid.x[w.i1], x2 = grid.x[w.i2], y1 = grid.y[w.j1], y2 = grid.y[w.j2];
  const double lx = x2 - x1, ly = y2 - y1, side = std::max(lx, ly);
  surface.gfx_set_color(kBackground);
  if (side - kMaskTolerance > lx) surface.gfx_rectangle(kGfxFilled, y1, x2 + kMaskGap * side, y1 + side, x1 + side);
  if (side - kMaskTolerance > ly) surface.gfx_rectangle(kGfxFilled, y2 + kMaskGap * side, x1, y1 + side, x1 + side);
}

const char* potential_name(FieldProblem problem) { return traits_of(problem).potential_name; }

void draw_screen_legend(GraphicsSurface& surface, const StructureModel& model, const DisplayWindow& w,
                        const PotentialLegend& legend) {
  surface.gfx_set_viewport(kLegendViewport.x1, kLegendViewport.y1, kLegendViewport.x2, kLegendViewport.y2);
  for (int c = 1; c <= kPotentialLevels; ++c) {
    surface.gfx_set_color(c);
    surface.gfx_rectangle_px(kGfxFilled, 0, kLegendBoxHeight * (kPotentialLevels - c), kLegendBoxWidth,
                             kLegendBoxHeight * (kPotentialLevels + 1 - c));
  }
  // Each value beside its colour's box, in that colour.
  set_text_window(surface, kValueTexts);
  for (int n = 0; n < legend.count; ++n) {
    const PotentialEntry& e = legend.sorted[static_cast<size_t>(n)];
    surface.gfx_set_text_color(e.colour);
    write_text(surface, {kValueRowBelowLast - 2 * e.colour, kValueColumn}, value_label(e.value));
  }
  surface.gfx_set_text_color(kTextColour);
  write_text(surface, {kNameRow, kNameColumn}, potential_name(model.problem));
  set_text_window(surface, kWindowTexts);
  write_window_coordinates(surface, model.grid, w, kWindowRow, kWindowColumn);
  surface.gfx_set_text_position(kPromptRow, kPromptColumn);
}

// Written with the origin back at the page corner.
void write_page_legend(PsWriter& ps, Plotter& plot, const StructureModel& model, const DisplayWindow& w,
                       const PotentialLegend& legend, bool logarithmic) {
  ps.set_colour(1);
  write_window_bounds(ps, model.grid, w);
  for (int k = 1; k <= kPotentialLevels; ++k) {
    plot.page_colour(PageColour::level_of(k, kPotentialLevels));
    ps.rectangle(kPageBox * k, kPageBarBottom, kPageBox * (k + 1), kPageBarTop, kRectangleFilled);
  }
  ps.set_colour(1);
  for (int n = 0; n < legend.count; ++n) {
    const PotentialEntry& e = legend.sorted[static_cast<size_t>(n)];
    ps.text(kPageBox * e.colour, kPageValueY, kPageValueSize, value_label(e.value), 0, 8);
  }
  ps.set_line_width(2);
  ps.rectangle(kPageBox, kPageBarBottom, kPageBox * (kPotentialLevels + 1), kPageBarTop, kRectangleOutline);
  const std::string name = potential_name(model.problem);
  ps.text(kPageName.x, kPageName.y, kPageName.size, name, 0, static_cast<int>(name.size()));
  if (logarithmic) ps.text(kPageLog.x, kPageLog.y, kPageLog.size, "LOG-Betrag", 0, 10);
}

}  // namespace

std::optional<ArrowOptions> ask_arrows(Console& console, const ShownField& field, const VectorQuantity& quantity,
                                       PictureMemory& memory) {
  const Grid& grid = field.grid();
  const DisplayWindow& w = field.window;
  // The RESULTS menu always hands over lines of the grid; without them there
  // is nothing to point at.
  if (!names_grid_lines(grid, w)) return std::nullopt;

  ArrowOptions o;
  o.logarithmic = ask_yes(console, " Logarithmus bilden [Y/N]:");
  memory.arrows_full_window = ask_full_window(console, grid, w, memory.arrows_full_window);
  o.full_window = memory.arrows_full_window;
  const ArrowThinning thinning = arrow_thinning(w.i1, w.i2, w.j1, w.j2);
  bool all_arrows = true;
  if (thinning.offered()) {
    all_arrows = ask_yes(console, " Alle Pfeile zeichnen [Y/N]:");
  }

  o.range = magnitude_range(*quantity.x, *quantity.y, grid.nodes());
  if (!(o.range.max > 0)) {
    console.message(" ### Feldgrößen zu klein ###");
    return std::nullopt;
  }
  console.record(" Min=" + format_e10(o.range.min));
  console.record(" Max=" + format_e10(o.range.max));
  if (ask_yes(console, " Werte ändern [Y/N]:")) ask_limits(console, o.range);
  o.step_x = thinning.step_x(all_arrows);
  o.step_y = thinning.step_y(all_arrows);
  return o;
}

void paint_arrows(const ArrowOptions& o, const ShownField& field, const VectorQuantity& quantity, PictureRun& run) {
  const StructureModel& model = field.model;
  const Grid& grid = model.grid;
  const DisplayWindow& w = field.window;
  const ArrowScale scale =
      arrow_scale(grid, w.i1, w.i2, w.j1, w.j2, o.step_x, o.step_y, o.range.min, o.range.max, o.logarithmic);
  const PotentialLegend legend = potential_legend(model);

  GraphicsSurface& surface = run.surface();
  PsWriter& ps = run.page();
  run.begin(picture_title(quantity.name));
  run.open_page(kStructureTitleLayout, {quantity.name, model.output_stem, run.output().comment});
  set_structure_palette(surface);
  if (o.logarithmic) write_text(surface, {kLogRow, kLogColumn}, "LOG-Betrag");
  const PicturePlacement placement = run.place_on_page(grid, w, o.full_window);
  Plotter plot(surface, &ps, run.output(), structure_page_mapping(placement));
  // A region without extent has no world; the surface would keep an earlier
  // picture's mapping.
  if (run.set_world(picture_world(grid, w, o.full_window))) {
    plot.colour(kFrameColour, PageColour::fixed(kFrameColour));
    plot.rectangle(kGfxOutline, grid.y[w.j1], grid.x[w.i1], grid.y[w.j2], grid.x[w.i2]);
    const bool page = !run.output().postscript_off && ps.is_open();
    draw_arrow_field(plot, grid, w, quantity, scale, o.step_x, o.step_y, page);
    draw_structure_overlay(plot, model, w, legend);
    if (!o.full_window) mask_beyond_region(surface, grid, w);
  }
  ps.plot(-placement.origin_x, -placement.origin_y, kPenMoveOrigin);

  draw_screen_legend(surface, model, w, legend);
  write_page_legend(ps, plot, model, w, legend, o.logarithmic);
  // The pointer reads the arrows' length: the magnitude of the two components.
  run.end(" <Return>", run.probe<NodeProbe>(grid, w, NodeQuantity{quantity.x, quantity.y, true, quantity.name}));
  run.end_page();
}

void draw_arrows(ResultPicture& picture, const VectorQuantity& quantity) {
  const ShownField field = shown_field(picture);
  const std::optional<ArrowOptions> options = ask_arrows(picture.console, field, quantity, picture.memory);
  if (!options) return;
  PictureRun run = picture_run(picture, kTagArrows);
  paint_arrows(*options, field, quantity, run);
}

}  // namespace tambri
