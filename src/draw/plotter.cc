#include "draw/plotter.h"

namespace tambri {

PageMapping structure_page_mapping(const PicturePlacement& placement) { return {0, placement.sh, 0, -placement.sv}; }

void Plotter::colour(int screen_index, PageColour page) {
  surface_.gfx_set_color(screen_index);
  page_colour(page);
}

void Plotter::page_colour(PageColour page) {
  if (!ps_) return;
  const PageInk& ink = output_.black_and_white ? page.black_and_white : page.colour_mode;
  switch (ink.kind) {
    case PageInk::Kind::kNone: break;
    case PageInk::Kind::kFixed: ps_->set_colour(ink.index); break;
    case PageInk::Kind::kHue: ps_->set_hue(ink.k, ink.n); break;
    case PageInk::Kind::kGrey: ps_->set_grey(ink.k, ink.n); break;
  }
}

void Plotter::line_width(int k) {
  if (ps_) ps_->set_line_width(k);
}

void Plotter::line(double h1, double v1, double h2, double v2) {
  surface_.gfx_move_to(h1, v1);
  surface_.gfx_line_to(h2, v2);
  if (!ps_) return;
  page_move(h1, v1);
  page_line(h2, v2);
}

void Plotter::polyline(std::span<const WorldPoint> points) {
  if (points.empty()) return;
  surface_.gfx_move_to(points[0].x, points[0].y);
  for (const WorldPoint& p : points.subspan(1)) surface_.gfx_line_to(p.x, p.y);
  if (!ps_) return;
  page_move(points[0].x, points[0].y);
  for (const WorldPoint& p : points.subspan(1)) page_line(p.x, p.y);
}

void Plotter::rectangle(int control, double h1, double v1, double h2, double v2) {
  surface_.gfx_rectangle(control, h1, v1, h2, v2);
  if (!ps_) return;
  ps_->rectangle(mapping_.page_h(h1), mapping_.page_v(v1), mapping_.page_h(h2), mapping_.page_v(v2),
                 control == kGfxFilled ? kRectangleFilled : kRectangleOutline);
}

void Plotter::polygon(int control, std::span<const WorldPoint> points) {
  surface_.gfx_polygon(control, points);
  if (!ps_ || points.empty()) return;
  const bool filled = control == kGfxFilled;
  if (filled) ps_->end_path(kPathNew);
  page_move(points[0].x, points[0].y);
  for (const WorldPoint& p : points.subspan(1)) page_line(p.x, p.y);
  page_line(points[0].x, points[0].y);
  if (filled) ps_->end_path(kPathFill);
}

}  // namespace tambri
