#include "dialogue/isolines.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/isoline_contours.h"
#include "core/isoline_levels.h"
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

constexpr int kFrameColour = 12;
constexpr int kTextColour = 15;
constexpr int kMarkColour = 15;
// Page colours: level k is shade 12 - k of 11 on the hue or the grey scale.
constexpr int kShades = 11;
constexpr int kPageBlack = 1;
constexpr int kPageMagenta = 6;

PageColour shade(int k) { return PageColour::level_of(12 - k, kShades); }

// The discretisation's stand-in: the window divided into ten each way.
constexpr int kRasterParts = 10;

// The legend's text window beside the picture and its cells: level k's label
// on row k + 2, the window's coordinates from row 17, and the rows where
// single values are asked for and where it says how to stop.
constexpr TextWindow kLegendWindow{1, 80, 30, 110};
constexpr int kLevelRowOffset = 2, kLevelColumn = 2;
constexpr TextCell kLogCell{15, 2};
constexpr TextCell kWindowCell{17, 3};
constexpr TextCell kValueCell{25, 1}, kEndCell{30, 1};
constexpr int kClearWidth = 19;  // blanks that wipe a value row

// The page's level labels: rows of six from the first's place, 3 cm apart,
// the next row 1 cm lower; "LOG-Betrag" under them.
struct PagePlace {
  double x, y, size;
};
constexpr PagePlace kFirstLevelLabel{2, 7, 0.5};
constexpr int kLevelsPerRow = 6;
constexpr double kLevelLabelStep = 3, kLevelRowStep = 1;
constexpr PagePlace kPageLog{9, 4, 0.4};

// The yes/no questions, each after an empty line.
void ask_flags(Console& console, const Grid& grid, const DisplayWindow& w, IsolineOptions& o) {
  o.logarithmic = ask_yes_after_empty_line(console, " Logarithmus bilden [Y/N]:");
  o.full_window = ask_full_window(console, grid, w, false, PromptSpacing::kAfterEmptyLine);
  o.grid_lines = ask_yes_after_empty_line(console, " Diskretisierungslinien [Y/N]:");
  if (!o.grid_lines) o.raster_lines = ask_yes_after_empty_line(console, " Rasterlinien [Y/N]:");
  o.filled = ask_yes_after_empty_line(console, " Farbig ausfüllen [Y/N]:");
}

// Min and max shown, then changed or kept; false when all values are equal.
bool ask_range(Console& console, const ValueRange& values, IsolineOptions& o) {
  console.message(" Min=" + format_e10(values.min));
  console.record(" Max=" + format_e10(values.max));
  if (all_values_equal(values)) {
    console.message(" ### Alle Werte sind gleich ###");
    return false;
  }
  o.min = values.min;
  o.max = values.max;
  if (ask_yes_after_empty_line(console, " Werte ändern [Y/N]:")) {
    for (;;) {
      o.min = ask_number_after_empty_line(console, " Min=");
      o.max = ask_number_after_empty_line(console, " Max=");
      if (!(o.max < o.min)) break;
      console.message(" ### Max. kleiner Min. ###");
    }
  } else {
    o.single_values = ask_yes_after_empty_line(console, " Eingabe einzelner Werte [Y/N]:");
  }
  return true;
}

// The values the levels are drawn through, on the heap: a node array is large.
std::unique_ptr<NodeArray> values_of(const Grid& grid, const NodeQuantity& quantity, bool logarithmic) {
  auto values = std::make_unique<NodeArray>();
  isoline_values(grid, quantity, logarithmic, *values);
  return values;
}

WorldPoint world(const PlanePoint& p) { return {p.y, p.x}; }

// Draws levels and overlays into the shown part of the grid, on the screen
// and on the page at once.
class LevelPainter {
 public:
  LevelPainter(Plotter& plot, const StructureModel& model, const DisplayWindow& w, const NodeArray& values,
               const IsolineOptions& options, double tolerance)
      : plot_(plot),
        model_(model),
        grid_(model.grid),
        w_(w),
        values_(values),
        options_(options),
        tolerance_(tolerance) {}

  // Level k: with filling the whole window first for the first level, then
  // the part of every element below the level, in k + 1; then its lines in k.
  void level(int k, double level) {
    if (options_.filled) {
      if (k == 1) fill_window(k);
      fill_below_level(k, level);
    }
    lines_of_level(k, level);
  }

  // Frame, discretisation or raster lines, node marks.
  void overlays() {
    GraphicsSurface& surface = plot_.surface();
    const double y1 = grid_.y[w_.j1], x1 = grid_.x[w_.i1], y2 = grid_.y[w_.j2], x2 = grid_.x[w_.i2];
    // The page has its frame drawn at the end of the picture, over everything.
    surface.gfx_set_color(kFrameColour);
    surface.gfx_rectangle(kGfxOutline, y1, x1, y2, x2);
    if (options_.grid_lines || options_.raster_lines) {
      plot_.colour(kFrameColour, PageColour::fixed(kPageBlack));
      plot_.line_width(1);
    }
    if (options_.grid_lines) {
      draw_grid_lines(plot_, grid_, w_);
    } else if (options_.raster_lines) {
      for (int m = 1; m < kRasterParts; ++m) {
        const double x = x1 + m * (x2 - x1) / kRasterParts;
        plot_.line(y1, x, y2, x);
      }
      for (int m = 1; m < kRasterParts; ++m) {
        const double y = y1 + m * (y2 - y1) / kRasterParts;
        plot_.line(y, x1, y, x2);
      }
    }
    node_marks();
  }

 private:
  ElementCorners corners(int i, int j, double level) const {
    const auto v = [this](int ii, int jj) { return values_[static_cast<size_t>(grid_.node(ii, jj))]; };
    return {v(i - 1, j - 1) - level, v(i, j - 1) - level, v(i - 1, j) - level, v(i, j) - level,
            grid_.x[i - 1],          grid_.x[i],          grid_.y[j - 1],      grid_.y[j]};
  }

  void fill_window(int k) {
    const double y1 = grid_.y[w_.j1], x1 = grid_.x[w_.i1], y2 = grid_.y[w_.j2], x2 = grid_.x[w_.i2];
    const std::array<WorldPoint, 4> window = {{{y1, x1}, {y2, x1}, {y2, x2}, {y1, x2}}};
    plot_.colour(k, shade(k));
    plot_.polygon(kGfxFilled, window);
  }

  void fill_below_level(int k, double level) {
    plot_.colour(k + 1, shade(k + 1));
    std::array<WorldPoint, 9> points;
    for (int i = w_.i1 + 1; i <= w_.i2; ++i) {
      for (int j = w_.j1 + 1; j <= w_.j2; ++j) {
        const ElementCorners c = corners(i, j, level);
        const EdgeCrossings crossings = find_crossings(c, tolerance_);
        fill_below(crossings, c, tolerance_, fills_);
        for (int n = 0; n < fills_.count; ++n) {
          const FillPolygon& polygon = fills_.polygons[static_cast<size_t>(n)];
          const auto count = static_cast<size_t>(polygon.count);
          for (size_t m = 0; m < count; ++m) points[m] = world(polygon.points[m]);
          if (crossings.count > 0) {
            plot_.polygon(kGfxFilled, std::span<const WorldPoint>(points.data(), count));
            continue;
          }
          // A whole element, the most frequent fill by far: on the screen the
          // filled rectangle covers exactly the pixels of the filled polygon
          // of its corners (the rounded corners, edges included) and costs
          // far less; the page gets the polygon.
          plot_.surface().gfx_rectangle(kGfxFilled, c.y1, c.x1, c.y2, c.x2);
          points[count] = points[0];
          fill_on_page(std::span<const WorldPoint>(points.data(), count + 1));
        }
      }
    }
  }

  void lines_of_level(int k, double level) {
    plot_.colour(k, shade(k));
    plot_.line_width(2);
    std::array<WorldPoint, 3> points;
    for (int i = w_.i1 + 1; i <= w_.i2; ++i) {
      for (int j = w_.j1 + 1; j <= w_.j2; ++j) {
        const ElementCorners c = corners(i, j, level);
        join_crossings(find_crossings(c, tolerance_), c, lines_);
        for (int n = 0; n < lines_.count; ++n) {
          const ContourPath& path = lines_.paths[static_cast<size_t>(n)];
          for (int m = 0; m < path.count; ++m)
            points[static_cast<size_t>(m)] = world(path.points[static_cast<size_t>(m)]);
          plot_.polyline(std::span<const WorldPoint>(points.data(), static_cast<size_t>(path.count)));
        }
      }
    }
  }

  // Fixed potentials as filled rectangles, excitations as diamonds: outlined
  // on the screen, filled on the page.
  void node_marks() {
    plot_.colour(kMarkColour, PageColour::fixed(kPageBlack));
    for_each_mark(is_fixed_potential, [this](const NodeSpan& x, const NodeSpan& y) {
      plot_.rectangle(kGfxFilled, y.lo, x.lo, y.hi, x.hi);
    });
    plot_.colour(kMarkColour, PageColour::fixed(kPageMagenta, kPageBlack));
    for_each_mark(is_excitation, [this](const NodeSpan& x, const NodeSpan& y) {
      const std::array<WorldPoint, 5> outline = diamond(x, y);
      GraphicsSurface& surface = plot_.surface();
      surface.gfx_move_to(outline[0].x, outline[0].y);
      for (size_t n = 1; n < outline.size(); ++n) surface.gfx_line_to(outline[n].x, outline[n].y);
      fill_on_page(outline);
    });
  }

  template <class Mark>
  void for_each_mark(bool (*marked)(int32_t), Mark mark) {
    for (int j = w_.j1; j <= w_.j2; ++j) {
      for (int i = w_.i1; i <= w_.i2; ++i) {
        if (!marked(model_.occupancy[static_cast<size_t>(grid_.node(i, j))])) continue;
        mark(mark_span(grid_.x, i, w_.i1, w_.i2, kNodeMarkFraction),
             mark_span(grid_.y, j, w_.j1, w_.j2, kNodeMarkFraction));
      }
    }
  }

  // "n", a move, lines through the rest of the closed outline, "c f".
  void fill_on_page(std::span<const WorldPoint> closed) {
    PsWriter* ps = plot_.page();
    if (!ps) return;
    const PageMapping& m = plot_.mapping();
    ps->end_path(kPathNew);
    ps->plot(m.page_h(closed[0].x), m.page_v(closed[0].y), kPenMove);
    for (const WorldPoint& p : closed.subspan(1)) ps->plot(m.page_h(p.x), m.page_v(p.y), kPenLine);
    ps->end_path(kPathFill);
  }

  Plotter& plot_;
  const StructureModel& model_;
  const Grid& grid_;
  const DisplayWindow& w_;
  const NodeArray& values_;
  const IsolineOptions& options_;
  double tolerance_;
  // One element's pieces, reused from element to element.
  ElementFills fills_;
  ElementLines lines_;
};

// The legend beside the picture: level labels, "LOG-Betrag", the window's
// coordinates, and the rows where single values are asked for.
class Legend {
 public:
  explicit Legend(GraphicsSurface& surface) : surface_(surface) {}

  void begin(const Grid& grid, const DisplayWindow& w, bool logarithmic) {
    set_text_window(surface_, kLegendWindow);
    surface_.gfx_set_text_color(kTextColour);
    if (logarithmic) write_text(surface_, kLogCell, "LOG-Betrag");
    write_window_coordinates(surface_, grid, w, kWindowCell.row, kWindowCell.column);
  }

  void label(int k, double level) {
    surface_.gfx_set_text_color(k);
    write_text(surface_, {k + kLevelRowOffset, kLevelColumn}, value_label(level));
  }

  // The value and end rows blanked; " Wert:" and " <x>: Ende" when `asking`.
  void value_rows(bool asking) {
    surface_.gfx_set_text_color(0);
    for (const TextCell& cell : {kValueCell, kEndCell}) write_text(surface_, cell, std::string(kClearWidth, ' '));
    surface_.gfx_set_text_color(kTextColour);
    if (asking) write_text(surface_, kEndCell, " <x>: Ende");
    set_text_position(surface_, kValueCell);
    if (asking) surface_.gfx_text(" Wert:");
  }

 private:
  GraphicsSurface& surface_;
};

void write_page_text(PsWriter& ps, const PagePlace& at, std::string_view text) {
  ps.text(at.x, at.y, at.size, text, 0, static_cast<int>(text.size()));
}

// The end of the page: frame, back to the page origin, the window's
// dimensions, the level labels in rows of six and "LOG-Betrag"; then the file
// is closed.
void write_page_end(PsWriter& ps, Plotter& plot, const PicturePlacement& placement, const Grid& grid,
                    const DisplayWindow& w, const IsolineLevels& levels, bool logarithmic) {
  ps.set_line_width(2);
  ps.set_colour(kPageBlack);
  ps.rectangle(placement.page_x(grid.y[w.j1]), placement.page_y(grid.x[w.i1]), placement.page_x(grid.y[w.j2]),
               placement.page_y(grid.x[w.i2]), kRectangleOutline);
  ps.set_line_width(1);
  ps.plot(-placement.origin_x, -placement.origin_y, kPenMoveOrigin);
  write_window_bounds(ps, grid, w);
  for (int k = 1; k <= levels.count; ++k) {
    plot.page_colour(shade(k));
    const int row = (k - 1) / kLevelsPerRow, column = (k - 1) % kLevelsPerRow;
    const PagePlace at{kFirstLevelLabel.x + column * kLevelLabelStep, kFirstLevelLabel.y - row * kLevelRowStep,
                       kFirstLevelLabel.size};
    write_page_text(ps, at, value_label(levels.at[static_cast<size_t>(k)]));
  }
  if (logarithmic) {
    ps.set_colour(kPageBlack);
    write_page_text(ps, kPageLog, "LOG-Betrag");
  }
}

// The single values typed while the picture is shown, each drawn at once
// (by `painter` when the window can be drawn); false when an answer is not
// a number, which ends the picture early.
bool read_single_levels(PictureRun& run, LevelPainter* painter, Legend& legend, IsolineLevels& levels) {
  while (levels.count < kMaxIsolineLevels) {
    legend.value_rows(true);
    double value = 0;
    if (!run.read_number_while_shown(" Wert:", value)) return false;
    levels.at[static_cast<size_t>(++levels.count)] = value;
    if (painter) painter->level(levels.count, value);
    legend.label(levels.count, value);
  }
  return true;
}

}  // namespace

std::optional<IsolineOptions> ask_isolines(Console& console, const ShownField& field, const NodeQuantity& quantity) {
  const Grid& grid = field.grid();
  if (!names_grid_lines(grid, field.window)) return std::nullopt;  // no grid: nothing to show
  IsolineOptions o;
  ask_flags(console, grid, field.window, o);
  const std::unique_ptr<NodeArray> values = values_of(grid, quantity, o.logarithmic);
  if (!ask_range(console, finite_range(*values, grid.nodes()), o)) return std::nullopt;
  return o;
}

void paint_isolines(const IsolineOptions& o, const ShownField& field, const NodeQuantity& quantity, PictureRun& run) {
  const StructureModel& model = field.model;
  const Grid& grid = model.grid;
  const DisplayWindow& w = field.window;
  const std::unique_ptr<NodeArray> values = values_of(grid, quantity, o.logarithmic);
  const double step = isoline_step(o.min, o.max);

  GraphicsSurface& surface = run.surface();
  run.begin(picture_title(quantity.name));
  set_line_palette(surface);
  run.open_page(kStructureTitleLayout, {quantity.name, model.output_stem, run.output().comment});
  const PicturePlacement placement = run.place_on_page(grid, w, o.full_window);
  Plotter plot(surface, &run.page(), run.output(), structure_page_mapping(placement));
  // A window without extent has no mapping; the surface would keep an
  // earlier picture's, which must not place this one.
  const bool drawable = run.set_world(picture_world(grid, w, o.full_window));
  LevelPainter painter(plot, model, w, *values, o, isoline_tolerance(step));
  Legend legend(surface);
  legend.begin(grid, w, o.logarithmic);

  if (drawable && !o.filled) painter.overlays();
  IsolineLevels levels;
  bool ended_early = false;
  if (o.single_values) {
    ended_early = !read_single_levels(run, drawable ? &painter : nullptr, legend, levels);
  } else {
    levels = automatic_levels(o.max, step);
    for (int k = 1; k <= levels.count; ++k) {
      if (drawable) painter.level(k, levels.at[static_cast<size_t>(k)]);
      legend.label(k, levels.at[static_cast<size_t>(k)]);
    }
  }
  // " <Return>" goes to row 25.
  legend.value_rows(false);
  // With filling the overlays come last, on top; also when the input ended early.
  if (drawable && o.filled) painter.overlays();

  if (ended_early) run.restore();
  else run.end(" <Return>", run.probe<NodeProbe>(grid, w, quantity));
  write_page_end(run.page(), plot, placement, grid, w, levels, o.logarithmic);
  run.end_page();
}

void draw_isolines(ResultPicture& picture, const NodeQuantity& quantity) {
  const ShownField field = shown_field(picture);
  const std::optional<IsolineOptions> options = ask_isolines(picture.console, field, quantity);
  if (!options) return;
  PictureRun run = picture_run(picture, kTagIsolines);
  paint_isolines(*options, field, quantity, run);
}

}  // namespace tambri
