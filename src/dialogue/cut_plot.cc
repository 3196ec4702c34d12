#include "dialogue/cut_plot.h"

#include <string>
#include <string_view>

#include "dialogue/node_probe.h"
#include "dialogue/questions.h"
#include "draw/picture_files.h"
#include "draw/plotter.h"
#include "draw/postscript.h"
#include "text/files.h"
#include "text/fortran_format.h"

namespace tambri {
namespace {

// The diagram's square on the screen and its corner on the page (16 cm
// across, its lower left corner 4 cm from the left and 8 cm up).
constexpr PixelRect kCutViewport{100, 30, 600, 530};
constexpr double kPageSize = kCutPageSize;
constexpr double kPageOriginX = 4, kPageOriginY = 8;
// The title and structure lines and, as subtitle, where the cut lies.
constexpr PageTitleLayout kCutTitleLayout{2, 28, 26.5, TitleOrder::kTitleBeforeColour, 14, 25};

// The grid divides each axis into ten.
constexpr int kGridParts = 10;
constexpr int kFrameColour = 1, kGridColour = 2, kCurveColour = 15;
constexpr int kPageGridColour = 6, kPageGridGrey = 5, kPageGreyLevels = 20;
constexpr int kPageCurve = 3, kPageCurveGrey = 1, kPageBlack = 1;

// Where the texts beside the diagram go: a cell of the text window of its
// axis on the screen, a point on the page (from the diagram's corner).
struct LabelPlace {
  int row, column;
  double page_x, page_y;
};
constexpr TextWindow kValueAxisTexts{2, 1, 40, 25};
constexpr LabelPlace kVminLabel{32, 5, -1.6, -0.15}, kVmaxLabel{2, 5, -1.6, 15.85};
constexpr LabelPlace kLogLabel{15, 2, 0, 0};  // "LOG-Betrag", on the screen only
constexpr TextWindow kAbscissaTexts{35, 1, 39, 80};
constexpr LabelPlace kAminLabel{1, 10, -1.0, -0.5}, kAmaxLabel{1, 71, 15.0, -0.5}, kAxisName{1, 42, 7.5, -0.5};
constexpr LabelPlace kPromptPlace{38, 2, 0, 0};
constexpr double kLabelSize = 0.3, kAxisNameSize = 0.4;
// "LOG" over "ABS" beside the middle of the value axis, on the page only.
constexpr LabelPlace kPageLog{0, 0, -1.5, 8.1}, kPageAbs{0, 0, -1.5, 7.6};
constexpr double kPageLogSize = 0.4;

// Asks for the coordinate of the cut until it lies in the shown part; none
// when the answer is not a number.
std::optional<int> ask_cut_line(Console& console, const GridLines& lines, int first, int last, char axis) {
  const std::string name(1, axis);
  for (;;) {
    console.prompt(" " + name + "-Koordinate:");
    double value = 0;
    if (!console.read_numbers({value})) return std::nullopt;
    if (std::optional<int> line = cut_line(lines, first, last, value)) return line;
    console.empty_line();
    console.record(" ### " + name + "-Koordinate außerhalb des Darstellungsbereiches ###");
  }
}

// " Min=" and " Max=" read until the range is not empty.
void ask_range(Console& console, CutRange& range) {
  for (;;) {
    range.vmin = ask_number(console, " Min=");
    range.vmax = ask_number(console, " Max=");
    // An empty or reversed range would give the diagram no scale.
    if (range.vmax > range.vmin) return;
    console.message(" ### Max. kleiner Min. ###");
  }
}

// The points as "schnitt.dat" holds them, in the columns of 1PE10.3.
std::string cut_file_content(const CutPoints& points) {
  std::string text;
  for (int n = 1; n <= points.count; ++n) {
    text += " " + format_e10(points.a[n]) + " " + format_e10(points.v[n]) + "\n";
  }
  return text;
}

CutPoints points_of(const CutOptions& o, const ShownField& field, const NodeQuantity& quantity) {
  const DisplayWindow& w = field.window;
  CutPoints points;
  if (o.abscissa == CutAbscissa::X) {
    collect_cut_points(field.grid(), quantity, o.abscissa, w.i1, w.i2, o.line, o.logarithmic, points);
  } else {
    collect_cut_points(field.grid(), quantity, o.abscissa, w.j1, w.j2, o.line, o.logarithmic, points);
  }
  return points;
}

// " y= 5.000E-01 m": the coordinate of the cut's line.
std::string cut_place(const CutOptions& o, const Grid& grid) {
  const bool along_x = o.abscissa == CutAbscissa::X;
  const double at = along_x ? grid.y[o.line] : grid.x[o.line];
  return std::string(along_x ? " y=" : " x=") + format_e10(at) + " m";
}

void draw_grid(Plotter& plot, const CutRange& r) {
  plot.colour(kGridColour, {PageInk::fixed(kPageGridColour), PageInk::grey(kPageGridGrey, kPageGreyLevels)});
  plot.line_width(1);
  const double da = r.amax - r.amin, dv = r.vmax - r.vmin;
  for (int m = 1; m < kGridParts; ++m) {
    const double a = r.amin + m * da / kGridParts;
    plot.line(a, r.vmin, a, r.vmax);
  }
  for (int m = 1; m < kGridParts; ++m) {
    const double v = r.vmin + m * dv / kGridParts;
    plot.line(r.amin, v, r.amax, v);
  }
}

// The screen curve is clipped by the viewport, the page curve to its band.
void draw_curve(GraphicsSurface& surface, PsWriter& ps, const CutPoints& points, const CutRange& range,
                bool black_and_white) {
  surface.gfx_set_color(kCurveColour);
  if (points.count > 0) {
    surface.gfx_move_to(points.a[1], points.v[1]);
    for (int n = 2; n <= points.count; ++n) surface.gfx_line_to(points.a[n], points.v[n]);
  }
  ps.set_colour(black_and_white ? kPageCurveGrey : kPageCurve);
  ps.set_line_width(2);
  PenPath path;
  clip_to_band(points, range, path);
  for (int n = 0; n < path.count; ++n) ps.plot(path.moves[n].x, path.moves[n].y, path.moves[n].pen);
}

// A text on the screen and at its place on the page.
void write_label(GraphicsSurface& surface, PsWriter& ps, const LabelPlace& at, std::string_view text, double size) {
  write_text(surface, {at.row, at.column}, text);
  ps.text(at.page_x, at.page_y, size, text, 0, static_cast<int>(text.size()));
}

void write_axis_labels(GraphicsSurface& surface, PsWriter& ps, const CutOptions& o) {
  const CutRange& r = o.range;
  set_text_window(surface, kValueAxisTexts);
  write_label(surface, ps, kVminLabel, value_label(r.vmin), kLabelSize);
  write_label(surface, ps, kVmaxLabel, value_label(r.vmax), kLabelSize);
  if (o.logarithmic) write_text(surface, {kLogLabel.row, kLogLabel.column}, "LOG-Betrag");
  set_text_window(surface, kAbscissaTexts);
  write_label(surface, ps, kAminLabel, value_label(r.amin), kLabelSize);
  write_label(surface, ps, kAmaxLabel, value_label(r.amax), kLabelSize);
  write_label(surface, ps, kAxisName, o.abscissa == CutAbscissa::X ? "x (m) " : "y (m) ", kAxisNameSize);
  surface.gfx_set_text_position(kPromptPlace.row, kPromptPlace.column);
}

}  // namespace

std::optional<CutOptions> ask_cut(Console& console, const ShownField& field, const NodeQuantity& quantity) {
  const Grid& grid = field.grid();
  const DisplayWindow& w = field.window;
  console.record(" X-Bereich:" + format_e10(grid.x[w.i1]) + " bis" + format_e10(grid.x[w.i2]));
  console.record(" Y-Bereich:" + format_e10(grid.y[w.j1]) + " bis" + format_e10(grid.y[w.j2]));
  char abscissa_letter = ' ';
  while (abscissa_letter != 'X' && abscissa_letter != 'Y') {
    console.prompt(" Abszisse (x oder y):");
    abscissa_letter = console.read_letter();
  }
  CutOptions o;
  o.abscissa = abscissa_letter == 'X' ? CutAbscissa::X : CutAbscissa::Y;
  // Along x the cut lies on a y line, and the other way round.
  const std::optional<int> line = o.abscissa == CutAbscissa::X ? ask_cut_line(console, grid.y, w.j1, w.j2, 'Y')
                                                               : ask_cut_line(console, grid.x, w.i1, w.i2, 'X');
  if (!line) return std::nullopt;
  o.line = *line;
  o.logarithmic = ask_yes(console, " Logarithmus bilden [Y/N]:");

  const CutPoints points = points_of(o, field, quantity);
  if (replace_file(kCutFile, cut_file_content(points)) != ReplaceResult::kDone) {
    console.message(" ### Schreibfehler ###");
  }
  o.range = cut_range(points);
  console.record(" Min=" + format_e10(o.range.vmin));
  console.record(" Max=" + format_e10(o.range.vmax));
  if (ask_yes(console, " Werte ändern [Y/N]:")) ask_range(console, o.range);
  return o;
}

void paint_cut(const CutOptions& o, const ShownField& field, const NodeQuantity& quantity, PictureRun& run) {
  const CutRange& range = o.range;
  const std::string where = cut_place(o, field.grid());
  GraphicsSurface& surface = run.surface();
  PsWriter& ps = run.page();
  run.begin(picture_title(quantity.name) + " bei" + where, kCutViewport);
  run.open_page(kCutTitleLayout, {quantity.name, field.model.file_name, run.output().comment, where});

  run.set_world({range.amin, range.vmin, range.amax, range.vmax}, kValueUpward);
  const PageScales scales = page_scales(range);
  Plotter plot(surface, &ps, run.output(), {range.amin, scales.sa, range.vmin, scales.sv});
  surface.gfx_set_color(kFrameColour);
  surface.gfx_rectangle(kGfxOutline, range.amin, range.vmin, range.amax, range.vmax);
  ps.plot(kPageOriginX, kPageOriginY, kPenMoveOrigin);
  draw_grid(plot, range);
  draw_curve(surface, ps, points_of(o, field, quantity), range, run.output().black_and_white);
  ps.set_colour(kPageBlack);
  ps.set_line_width(2);
  ps.rectangle(0, 0, kPageSize, kPageSize, kRectangleOutline);
  write_axis_labels(surface, ps, o);

  const DisplayWindow& w = field.window;
  const bool along_x = o.abscissa == CutAbscissa::X;
  run.end("<Return>", run.probe<CutProbe>(field.grid(), quantity, o.abscissa, along_x ? w.i1 : w.j1,
                                          along_x ? w.i2 : w.j2, o.line));
  if (o.logarithmic) {
    ps.set_colour(kPageBlack);
    ps.text(kPageLog.page_x, kPageLog.page_y, kPageLogSize, "LOG", 0, 3);
    ps.text(kPageAbs.page_x, kPageAbs.page_y, kPageLogSize, "ABS", 0, 3);
  }
  ps.plot(-kPageOriginX, -kPageOriginY, kPenMoveOrigin);
  run.end_page();
}

void draw_cut(ResultPicture& picture, const NodeQuantity& quantity) {
  const ShownField field = shown_field(picture);
  const std::optional<CutOptions> options = ask_cut(picture.console, field, quantity);
  if (!options) return;
  PictureRun run = picture_run(picture, kTagCut);
  paint_cut(*options, field, quantity, run);
}

}  // namespace tambri
