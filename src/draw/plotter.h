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

// Where a world point lies on the page: (h, v) -> ((h - origin_h) scale_h,
// (v - origin_v) scale_v), in the centimetres after the picture's origin move.
struct PageMapping {
  double origin_h = 0, scale_h = 1;
  double origin_v = 0, scale_v = 1;
  double page_h(double h) const { return (h - origin_h) * scale_h; }
  double page_v(double v) const { return (v - origin_v) * scale_v; }
};

// The structure pictures' mapping: a world point (model y, model x) is
// written as (sh * y, -sv * x).
PageMapping structure_page_mapping(const PicturePlacement& placement);

// One way of colouring the page: a fixed colour of the writer, or level k of
// n on the hue or on the grey scale.
struct PageInk {
  enum class Kind { kNone, kFixed, kHue, kGrey };
  Kind kind = Kind::kNone;
  int index = 0;     // kFixed
  int k = 0, n = 1;  // kHue, kGrey

  static PageInk fixed(int index) { return {Kind::kFixed, index}; }
  static PageInk hue(int k, int n) { return {Kind::kHue, 0, k, n}; }
  static PageInk grey(int k, int n) { return {Kind::kGrey, 0, k, n}; }
};

// The page colour that goes with a screen colour, in colour mode and in
// black-and-white mode.
struct PageColour {
  PageInk colour_mode, black_and_white;

  // Unchanged: only the screen colour changes.
  static PageColour none() { return {}; }
  static PageColour fixed(int colour) { return {PageInk::fixed(colour), PageInk::fixed(colour)}; }
  static PageColour fixed(int colour, int black_and_white) {
    return {PageInk::fixed(colour), PageInk::fixed(black_and_white)};
  }
  // Level k of n of a scale: a hue in colour mode, a grey in black and white.
  static PageColour level_of(int k, int n) { return {PageInk::hue(k, n), PageInk::grey(k, n)}; }
  static PageColour always(PageInk ink) { return {ink, ink}; }
};

class Plotter {
 public:
  // `ps` may be null: a picture without a PostScript half.
  Plotter(GraphicsSurface& surface, PsWriter* ps, const OutputSettings& output, PageMapping mapping)
      : surface_(surface), ps_(ps), output_(output), mapping_(mapping) {}

  // Screen colour index and the page colour of the following shapes.
  void colour(int screen_index, PageColour page);
  // The page colour alone.
  void page_colour(PageColour page);
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
