#include "dialogue/cut_plot.h"

#include <string>

#include "core/cut_points.h"
#include "dialogue/questions.h"
#include "draw/picture_files.h"
#include "draw/picture_frame.h"
#include "draw/plotter.h"
#include "draw/postscript.h"
#include "text/files.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

namespace tambri {
namespace {

constexpr PixelRect kCutViewport{100, 30, 600, 530};
constexpr double kPageSize = kCutPageSize;

// A label of 1PE8.1, the form of every number written into the picture.
std::string label(double v) { return format_e(v, 8, 1); }

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

}  // namespace

void draw_cut(ResultPicture& picture, const NodeQuantity& quantity) {
  Console& console = picture.console;
  const Grid& grid = picture.model.grid;
  const DisplayWindow& w = picture.window;
  console.record(" X-Bereich:" + format_e10(grid.x[w.i1]) + " bis" + format_e10(grid.x[w.i2]));
  console.record(" Y-Bereich:" + format_e10(grid.y[w.j1]) + " bis" + format_e10(grid.y[w.j2]));
  char abscissa_letter = ' ';
  while (abscissa_letter != 'X' && abscissa_letter != 'Y') {
    console.prompt(" Abszisse (x oder y):");
    abscissa_letter = console.read_letter();
  }
  const CutAbscissa abscissa = abscissa_letter == 'X' ? CutAbscissa::X : CutAbscissa::Y;
  // Along x the cut lies on a y line, and the other way round.
  const std::optional<int> line = abscissa == CutAbscissa::X ? ask_cut_line(console, grid.y, w.j1, w.j2, 'Y')
                                                             : ask_cut_line(console, grid.x, w.i1, w.i2, 'X');
  if (!line) return;
  const bool logarithmic = ask_yes(console, " Logarithmus bilden [Y/N]:");

  CutPoints points;
  if (abscissa == CutAbscissa::X) collect_cut_points(grid, quantity, abscissa, w.i1, w.i2, *line, logarithmic, points);
  else collect_cut_points(grid, quantity, abscissa, w.j1, w.j2, *line, logarithmic, points);
  if (replace_file(kCutFile, cut_file_content(points)) != ReplaceResult::kDone) {
    console.message(" ### Schreibfehler ###");
  }

  CutRange range = cut_range(points);
  console.record(" Min=" + format_e10(range.vmin));
  console.record(" Max=" + format_e10(range.vmax));
  if (ask_yes(console, " Werte ändern [Y/N]:")) ask_range(console, range);
  const PageScales scales = page_scales(range);

  // --- the picture
  const OutputSettings& output = picture.output;
  GraphicsSurface& surface = picture.pictures.surface;
  const std::string& stem = picture.model.output_stem;
  const double at = abscissa == CutAbscissa::X ? grid.y[*line] : grid.x[*line];
  const std::string where = std::string(abscissa == CutAbscissa::X ? " y=" : " x=") + format_e10(at) + " m";

  PictureFrame frame(surface, picture.pictures.viewer, console, output);
  PsWriter ps(output);
  frame.begin(" TAMBRI: " + pad_to_width(quantity.name, 25) + " bei" + where, kCutViewport);
  ps.open(picture_file_name(stem, kTagCut, ".ps"));
  ps.text(2.0, 28.0, 0.6, ps_title_text(quantity.name), 0, 33);
  ps.text(14.0, 25.0, 0.4, where, 0, 15);
  ps.set_colour(1);
  ps.text(2.0, 26.5, 0.5, ps_structure_text(picture.model.file_name, output.comment), 0, 60);

  surface.gfx_set_world(1, range.amin, range.vmin, range.amax, range.vmax);
  Plotter plot(surface, &ps, output, {range.amin, scales.sa, range.vmin, scales.sv});
  surface.gfx_set_color(1);
  surface.gfx_rectangle(kGfxOutline, range.amin, range.vmin, range.amax, range.vmax);
  ps.plot(4.0, 8.0, kPenMoveOrigin);

  plot.colour(2, {PageInk::fixed(6), PageInk::grey(5, 20)});
  plot.line_width(1);
  const double da = range.amax - range.amin, dv = range.vmax - range.vmin;
  for (int m = 1; m <= 9; ++m) {
    const double a = range.amin + m * da / 10;
    plot.line(a, range.vmin, a, range.vmax);
  }
  for (int m = 1; m <= 9; ++m) {
    const double v = range.vmin + m * dv / 10;
    plot.line(range.amin, v, range.amax, v);
  }

  // The screen curve is clipped by the viewport, the page curve to its band.
  surface.gfx_set_color(15);
  if (points.count > 0) {
    surface.gfx_move_to(points.a[1], points.v[1]);
    for (int n = 2; n <= points.count; ++n) surface.gfx_line_to(points.a[n], points.v[n]);
  }
  ps.set_colour(output.black_and_white ? 1 : 3);
  ps.set_line_width(2);
  PenPath path;
  clip_to_band(points, range, path);
  for (int n = 0; n < path.count; ++n) ps.plot(path.moves[n].x, path.moves[n].y, path.moves[n].pen);
  ps.set_colour(1);
  ps.set_line_width(2);
  ps.rectangle(0, 0, kPageSize, kPageSize, kRectangleOutline);

  surface.gfx_set_text_window(2, 1, 40, 25);
  surface.gfx_set_text_position(32, 5);
  surface.gfx_text(label(range.vmin));
  surface.gfx_set_text_position(2, 5);
  surface.gfx_text(label(range.vmax));
  ps.text(-1.6, -0.15, 0.3, label(range.vmin), 0, 8);
  ps.text(-1.6, 15.85, 0.3, label(range.vmax), 0, 8);
  if (logarithmic) {
    surface.gfx_set_text_position(15, 2);
    surface.gfx_text("LOG-Betrag");
  }
  surface.gfx_set_text_window(35, 1, 39, 80);
  surface.gfx_set_text_position(1, 10);
  surface.gfx_text(label(range.amin));
  surface.gfx_set_text_position(1, 71);
  surface.gfx_text(label(range.amax));
  ps.text(-1.0, -0.5, 0.3, label(range.amin), 0, 8);
  ps.text(15.0, -0.5, 0.3, label(range.amax), 0, 8);
  const char* axis_name = abscissa == CutAbscissa::X ? "x (m) " : "y (m) ";
  surface.gfx_set_text_position(1, 42);
  surface.gfx_text(axis_name);
  ps.text(7.5, -0.5, 0.4, axis_name, 0, 6);
  surface.gfx_set_text_position(38, 2);

  frame.end(picture_file_name(stem, kTagCut, ".bmp"), "<Return>");
  if (logarithmic) {
    ps.set_colour(1);
    ps.text(-1.5, 8.1, 0.4, "LOG", 0, 3);
    ps.text(-1.5, 7.6, 0.4, "ABS", 0, 3);
  }
  ps.plot(-4.0, -8.0, kPenMoveOrigin);
  end_page(ps, console);
}

}  // namespace tambri
