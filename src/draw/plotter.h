#pragma once
// One drawing call for both halves of a picture: a line, rectangle or polygon
// given in the picture's world coordinates (the pairs the surface takes) is
// drawn on the surface and, when PostScript is on, written at the same place
// of the page. So no picture writes a shape twice.
//
//   Plotter plot(surface, ps, output, placement.mapping());
//   plot.colour(12, PageColour::fixed(1));
//   plot.rectangle(kGfxOutline, y1, x1, y2, x2);
//
// The page half does nothing while PostScript is off or no file is open.
#include <span>

#include "draw/output_settings.h"
#include "draw/postscript.h"
#include "draw/surface.h"

namespace tambri {

// Where a world point lies on the page: (h, v) -> (scale_h * h + offset_h,
// scale_v * v + offset_v), in the centimetres after the picture's origin move.
struct PageMapping {
  double scale_h = 1, offset_h = 0;
  double scale_v = 1, offset_v = 0;
  double page_h(double h) const { return scale_h * h + offset_h; }
  double page_v(double v) const { return scale_v * v + offset_v; }
};

// The structure pictures' mapping: a world point (model y, model x) is
// written as (sh * y, -sv * x).
PageMapping structure_page_mapping(const PicturePlacement& placement);

// The page colour that goes with a screen colour.
struct PageColour {
  enum class Kind { kNone, kFixed, kLevel };
  Kind kind = Kind::kNone;
  int colour = 0;               // kFixed: one of the writer's fixed colours in colour mode
  int black_and_white = 0;      // kFixed: the fixed colour in black-and-white mode
  int level = 0, levels = 1;    // kLevel: level k of n, on the hue or the grey scale

  // Unchanged: only the screen colour changes.
  static PageColour none() { return {}; }
  static PageColour fixed(int colour) { return {Kind::kFixed, colour, colour}; }
  static PageColour fixed(int colour, int black_and_white) { return {Kind::kFixed, colour, black_and_white}; }
  static PageColour level_of(int k, int n) { return {Kind::kLevel, 0, 0, k, n}; }
};

class Plotter {
 public:
  // `ps` may be null: a picture without a PostScript half.
  Plotter(GraphicsSurface& surface, PsWriter* ps, const OutputSettings& output, PageMapping mapping)
      : surface_(surface), ps_(ps), output_(output), mapping_(mapping) {}

  // Screen colour index and the page colour of the following shapes.
  void colour(int screen_index, PageColour page);
  // PostScript line width index (1 or 2); the screen draws one pixel wide.
  void line_width(int k);

  void line(double h1, double v1, double h2, double v2);
  // A line through the points, not closed (the screen draws it with one
  // move and line_to calls, the page as one path).
  void polyline(std::span<const WorldPoint> points);
  // kGfxOutline or kGfxFilled.
  void rectangle(int control, double h1, double v1, double h2, double v2);
  // A closed polygon; filled on the page as "n", a move, lines back to the
  // first point and "c f".
  void polygon(int control, std::span<const WorldPoint> points);

  GraphicsSurface& surface() { return surface_; }
  // The page half, for texts and what only the page has; null without one.
  PsWriter* page() { return ps_; }
  const PageMapping& mapping() const { return mapping_; }

 private:
  void page_move(double h, double v) { ps_->plot(mapping_.page_h(h), mapping_.page_v(v), kPenMove); }
  void page_line(double h, double v) { ps_->plot(mapping_.page_h(h), mapping_.page_v(v), kPenLine); }

  GraphicsSurface& surface_;
  PsWriter* ps_;
  const OutputSettings& output_;
  PageMapping mapping_;
};

}  // namespace tambri
