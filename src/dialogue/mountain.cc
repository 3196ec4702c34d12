#include "dialogue/mountain.h"

#include <array>
#include <cmath>
#include <string>

#include "core/mountain_view.h"
#include "core/picture_values.h"
#include "core/span_widening.h"
#include "dialogue/questions.h"
#include "draw/palettes.h"
#include "draw/picture_files.h"
#include "draw/plotter.h"
#include "draw/postscript.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

constexpr PixelRect kMountainViewport{100, 60, 640, 510};
constexpr double kWorldSize = 15;
// The world's origin on the page, in centimetres: one world unit is 1 cm.
constexpr double kPageOriginX = 4.5, kPageOriginY = 10;
constexpr PageTitleLayout kMountainTitleLayout{2, 28, 26.5, TitleOrder::kStructureThenTitle};

// The box the mountain stands in: the window's floor, kW across and kD deep,
// and its edges up to the highest value, kH above the floor.
constexpr double kW = kMountainWidth, kD = kMountainDepth, kH = kMountainHeight;
constexpr int kBoxColour = 11;
constexpr int kPageBoxColour = 3, kPageBoxGrey = 1;
constexpr int kGreyIndex = 12;
constexpr int kWireColour = 13;
constexpr int kHeightLevels = 10;  // the page's hue and grey scale of the facets

// A facet is drawn on the screen only where it starts inside the picture.
constexpr double kScreenLimit = 16;

// Indices 11 (lowest) to 1 (highest) from the ramp, 12 grey, 13 the wire
// colour: green on black, red on white.
void set_height_palette(GraphicsSurface& surface, bool white_background) {
  for (int n = 0; n <= 10; ++n) surface.gfx_set_palette_rgb(11 - n, ramp_colour(height_ramp_position(n)));
  surface.gfx_set_palette_rgb(kGreyIndex, rgb(30, 30, 30));
  surface.gfx_set_palette_rgb(kWireColour, white_background ? rgb(63, 0, 0) : rgb(0, 63, 0));
}

// " Min=" and " Max=" read until each widens the range (or keeps it).
void widen_range(Console& console, ValueRange& range) {
  for (;;) {
    const double v = ask_number(console, " Min=");
    if (v <= range.min) {
      range.min = v;
      break;
    }
    console.message(" ### Min zu gross ###");
  }
  for (;;) {
    const double v = ask_number(console, " Max=");
    if (v >= range.max) {
      range.max = v;
      break;
    }
    console.message(" ### Max zu klein ###");
  }
}

// The floor, the three visible vertical edges and the top edges.
void draw_box(Plotter& plot) {
  plot.colour(kBoxColour, PageColour::fixed(kPageBoxColour, kPageBoxGrey));
  plot.line_width(2);
  const std::array<WorldPoint, 5> floor = {{{0, 0}, {kW, 0}, {kW + kD, kD}, {kD, kD}, {0, 0}}};
  plot.polyline(floor);
  plot.line(0, 0, 0, kH);
  plot.line(kD, kD, kD, kH + kD);
  plot.line(kW + kD, kD, kW + kD, kH + kD);
  const std::array<WorldPoint, 3> top = {{{0, kH}, {kD, kH + kD}, {kW + kD, kH + kD}}};
  plot.polyline(top);
  plot.line_width(1);
}

using Facet = std::array<WorldPoint, 4>;

// The facet's path on the page: P1 to P4 and back to P1.
void page_path(PsWriter& ps, const Facet& p) {
  ps.plot(p[0].x, p[0].y, kPenMove);
  for (int n = 1; n < 4; ++n) ps.plot(p[n].x, p[n].y, kPenLine);
  ps.plot(p[0].x, p[0].y, kPenLine);
}

struct FacetInks {
  int screen_fill, screen_outline;
  PageColour page_fill, page_outline;
};

// Without colouring a facet is filled with the background and outlined in
// the wire colour (white and violet on the page); with colouring it is filled
// with its height colour and outlined in the colour that shows white.
FacetInks inks_of(int colour, bool coloured, bool white_background) {
  const PageColour white = PageColour::always(PageInk::grey(0, kHeightLevels));
  if (!coloured) return {0, kWireColour, white, PageColour::fixed(6, 1)};
  return {colour, white_background ? 0 : 15, PageColour::level_of(12 - colour, kHeightLevels), white};
}

struct FacetInput {
  const Grid& grid;
  const DisplayWindow& w;
  const NodeQuantity& quantity;
  bool logarithmic;
  bool coloured;
  bool white_background;
};

// Painter's order: the rows from the back (the largest y) to the front, each
// facet filled before its outline, so nearer facets cover what lies behind.
// The row buffer carries the back edge of the current strip.
void draw_facets(Plotter& plot, const MountainView& view, const FacetInput& in) {
  const Grid& grid = in.grid;
  const DisplayWindow& w = in.w;
  GraphicsSurface& surface = plot.surface();
  PsWriter& ps = *plot.page();
  const auto value = [&](int i, int j) { return picture_value(in.quantity, grid.node(i, j), in.logarithmic); };
  std::array<double, kMaxLines + 1> back{};
  for (int i = w.i1; i <= w.i2; ++i) back[static_cast<size_t>(i)] = value(i, w.j2);
  for (int j = w.j2; j > w.j1; --j) {
    for (int i = w.i1; i < w.i2; ++i) {
      const double w1 = back[static_cast<size_t>(i)], w2 = back[static_cast<size_t>(i + 1)];
      const double w3 = value(i + 1, j - 1), w4 = value(i, j - 1);
      back[static_cast<size_t>(i)] = w4;
      if (i + 1 == w.i2) back[static_cast<size_t>(i + 1)] = w3;
      // A corner without a finite value leaves the facet out.
      if (!std::isfinite(w1) || !std::isfinite(w2) || !std::isfinite(w3) || !std::isfinite(w4)) continue;
      const double xa = grid.x[i], xb = grid.x[i + 1], yb = grid.y[j], ya = grid.y[j - 1];
      const Facet p = {{{view.h(xa, yb), view.v(w1, yb)},
                        {view.h(xb, yb), view.v(w2, yb)},
                        {view.h(xb, ya), view.v(w3, ya)},
                        {view.h(xa, ya), view.v(w4, ya)}}};
      const int colour = mountain_colour(view, (w1 + w2 + w3 + w4) * 0.25);
      const FacetInks inks = inks_of(colour, in.coloured, in.white_background);
      if (p[3].y < kScreenLimit && p[0].y > 0 && p[0].x > 0 && p[3].x < kScreenLimit) {
        surface.gfx_set_color(inks.screen_fill);
        surface.gfx_polygon(kGfxFilled, p);
        surface.gfx_set_color(inks.screen_outline);
        surface.gfx_polygon(kGfxOutline, p);
      }
      // The page shows every facet; its outline is stroked by the next one.
      plot.page_colour(inks.page_fill);
      ps.end_path(kPathNew);
      page_path(ps, p);
      ps.end_path(kPathFill);
      plot.page_colour(inks.page_outline);
      page_path(ps, p);
    }
  }
}

// The texts around the box in the order both halves write them: maximum,
// "LOG-Betrag", minimum, the x axis's name and ends, the y axis's ends and
// name. On the screen a cell of a text window, on the page a point and a size.
struct LabelPlace {
  TextWindow window;
  int row, column;
  double x, y, size;
};
constexpr size_t kLogLabel = 1;
constexpr std::array<LabelPlace, 9> kLabelPlaces = {{
    {{2, 1, 40, 12}, 13, 5, -2, 9.6, 0.4},
    {{2, 1, 40, 12}, 22, 3, 5, -4, 0.8},
    {{2, 1, 40, 12}, 31, 5, -2, 0, 0.4},
    {{33, 1, 36, 80}, 1, 35, 4, -1, 0.5},
    {{33, 1, 36, 80}, 1, 13, 0, -0.6, 0.4},
    {{33, 1, 36, 80}, 1, 49, 8, -0.6, 0.4},
    {{32, 61, 32, 80}, 1, 1, 10.4, 0, 0.4},
    {{2, 73, 30, 80}, 26, 1, 10.2 + kD, kD, 0.4},
    {{29, 69, 29, 80}, 1, 1, 10.5 + kD / 2, kD / 2 - 0.3, 0.5},
}};
// " <Return>" below the box's right corner.
constexpr TextWindow kPromptWindow{35, 75, 35, 90};

std::array<std::string, 9> label_texts(const Grid& grid, const DisplayWindow& w, const ValueRange& range) {
  return {value_label(range.max),
          "LOG-Betrag",
          value_label(range.min),
          "x (m) ",
          value_label(grid.x[w.i1]),
          value_label(grid.x[w.i2]),
          value_label(grid.y[w.j1]),
          value_label(grid.y[w.j2]),
          "y (m) "};
}

void draw_screen_labels(GraphicsSurface& surface, const std::array<std::string, 9>& texts, bool logarithmic) {
  const TextWindow* current = nullptr;
  for (size_t n = 0; n < kLabelPlaces.size(); ++n) {
    if (n == kLogLabel && !logarithmic) continue;
    const LabelPlace& at = kLabelPlaces[n];
    if (!current || !(*current == at.window)) set_text_window(surface, at.window);
    current = &at.window;
    write_text(surface, {at.row, at.column}, texts[n]);
  }
}

void write_page_labels(PsWriter& ps, const std::array<std::string, 9>& texts, bool logarithmic) {
  ps.set_colour(1);
  for (size_t n = 0; n < kLabelPlaces.size(); ++n) {
    if (n == kLogLabel && !logarithmic) continue;
    const LabelPlace& at = kLabelPlaces[n];
    ps.text(at.x, at.y, at.size, texts[n], 0, static_cast<int>(texts[n].size()));
  }
}

}  // namespace

std::optional<MountainOptions> ask_mountain(Console& console, const ShownField& field, const NodeQuantity& quantity) {
  MountainOptions o;
  o.logarithmic = ask_yes(console, " Logarithmus bilden [Y/N]:");
  // Without grid lines at the window's indices there is nothing to show.
  if (!names_grid_lines(field.grid(), field.window)) return std::nullopt;

  o.range = picture_value_range(field.grid(), quantity, o.logarithmic);
  // A constant field would give the heights no scale; it stands flat on the floor.
  o.range.max = widened_max(o.range.min, o.range.max, kMountainMinimumSpan);
  console.record(" Min=" + format_e10(o.range.min));
  console.record(" Max=" + format_e10(o.range.max));
  if (ask_yes(console, " Wertebereich vergrößern [Y/N]:")) widen_range(console, o.range);
  o.coloured = ask_yes(console, " Einfärben [Y/N]:");
  return o;
}

void paint_mountain(const MountainOptions& o, const ShownField& field, const NodeQuantity& quantity, PictureRun& run) {
  const Grid& grid = field.grid();
  const DisplayWindow& w = field.window;
  const bool white_background = run.output().white_background;
  const MountainView view =
      mountain_view(grid.x[w.i1], grid.x[w.i2], grid.y[w.j1], grid.y[w.j2], o.range.min, o.range.max);

  GraphicsSurface& surface = run.surface();
  PsWriter& ps = run.page();
  run.begin(picture_title(quantity.name), kMountainViewport);
  run.open_page(kMountainTitleLayout, {quantity.name, field.model.file_name, run.output().comment});
  run.set_world({0, 0, kWorldSize, kWorldSize}, kValueUpward);
  ps.plot(kPageOriginX, kPageOriginY, kPenMoveOrigin);
  set_height_palette(surface, white_background);

  Plotter plot(surface, &ps, run.output(), {});
  draw_box(plot);
  draw_facets(plot, view, {grid, w, quantity, o.logarithmic, o.coloured, white_background});

  const std::array<std::string, 9> labels = label_texts(grid, w, o.range);
  draw_screen_labels(surface, labels, o.logarithmic);
  set_text_window(surface, kPromptWindow);
  surface.gfx_set_text_position(1, 1);
  run.end("<Return>");

  write_page_labels(ps, labels, o.logarithmic);
  ps.plot(-kPageOriginX, -kPageOriginY, kPenMoveOrigin);
  run.end_page();
}

void draw_mountain(ResultPicture& picture, const NodeQuantity& quantity) {
  const ShownField field = shown_field(picture);
  const std::optional<MountainOptions> options = ask_mountain(picture.console, field, quantity);
  if (!options) return;
  PictureRun run = picture_run(picture, kTagMountain);
  paint_mountain(*options, field, quantity, run);
}

}  // namespace tambri
