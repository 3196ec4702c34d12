#include "draw/surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/bitmap_file.h"
#include "draw/font.h"
#include "draw/picture_files.h"
#include "draw/png_file.h"
#include "text/text_width.h"

namespace tambri {
namespace {

constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (b << 16) | (g << 8) | r; }

// The usual 16-colour set in 6-bit components.
constexpr std::array<std::uint32_t, 16> kStartColours = {
    rgb(0, 0, 0),    rgb(0, 0, 42),   rgb(0, 42, 0),   rgb(0, 42, 42),  rgb(42, 0, 0),   rgb(42, 0, 42),
    rgb(42, 21, 0),  rgb(42, 42, 42), rgb(21, 21, 21), rgb(21, 21, 63), rgb(21, 63, 21), rgb(21, 63, 63),
    rgb(63, 21, 21), rgb(63, 21, 63), rgb(63, 63, 21), rgb(63, 63, 63)};

// Pixel coordinates beyond this are treated as unusable: differences of
// smaller values cannot overflow.
constexpr double kCoordinateLimit = 1e300;

bool usable(double v) { return std::isfinite(v) && std::fabs(v) <= kCoordinateLimit; }

int clamp_to_int(double v, int lo, int hi) {
  return static_cast<int>(std::lround(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi))));
}

// Decodes one UTF-8 character at `pos` and advances past it; a byte that does
// not start a valid sequence stands for itself (as Latin-1).
char32_t next_code_point(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t len = 1;
  char32_t cp = lead;
  if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    cp = lead & 0x07;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
    cp = lead & 0x1F;
  }
  if (len == 1 || pos + len > text.size()) {
    ++pos;
    return lead;
  }
  for (size_t k = 1; k < len; ++k) {
    const auto c = static_cast<unsigned char>(text[pos + k]);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return lead;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  pos += len;
  return cp;
}

}  // namespace

std::optional<WorldPoint> WorldMapping::world_at(int x, int y) const {
  if (x < vx1 || x > vx2 || y < vy1 || y > vy2 || vx1 == vx2 || vy1 == vy2) return std::nullopt;
  const double tx = static_cast<double>(x - vx1) / (vx2 - vx1);
  const double ty = static_cast<double>(invert ? vy2 - y : y - vy1) / (vy2 - vy1);
  return WorldPoint{std::lerp(wx1, wx2, tx), std::lerp(wy1, wy2, ty)};
}

GraphicsSurface::GraphicsSurface()
    : pixels_(static_cast<size_t>(kWidth) * kHeight, 0), font_(std::make_unique<CellFont>()) {
  std::copy(kStartColours.begin(), kStartColours.end(), palette_.begin());
  polygon_.reserve(kMaxPolygonPoints);
  crossings_.reserve(kMaxPolygonPoints);
  update_mapping();
}

GraphicsSurface::~GraphicsSurface() = default;

bool GraphicsSurface::font_loaded() const { return font_->ok(); }

GraphicsConfig GraphicsSurface::gfx_get_config() const { return {kWidth, kHeight, kTextColumns, kTextRows, kColours}; }

void GraphicsSurface::gfx_clear(int /*area*/) {
  std::fill(pixels_.begin(), pixels_.end(), 0);
  cursor_row_ = 1;
  cursor_column_ = 1;
}

void GraphicsSurface::gfx_set_viewport(int x1, int y1, int x2, int y2) {
  vx1_ = std::clamp(std::min(x1, x2), 0, kWidth - 1);
  vx2_ = std::clamp(std::max(x1, x2), 0, kWidth - 1);
  vy1_ = std::clamp(std::min(y1, y2), 0, kHeight - 1);
  vy2_ = std::clamp(std::max(y1, y2), 0, kHeight - 1);
  update_mapping();
}

bool GraphicsSurface::gfx_set_world(int invert, double wx1, double wy1, double wx2, double wy2) {
  const double x1 = std::min(wx1, wx2), x2 = std::max(wx1, wx2);
  const double y1 = std::min(wy1, wy2), y2 = std::max(wy1, wy2);
  const double width = x2 - x1, height = y2 - y1;
  if (!(std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0)) return false;
  wx1_ = x1;
  wx2_ = x2;
  wy1_ = y1;
  wy2_ = y2;
  invert_ = invert != 0;
  update_mapping();
  return true;
}

void GraphicsSurface::update_mapping() {
  scale_x_ = (vx2_ - vx1_) / (wx2_ - wx1_);
  scale_y_ = (vy2_ - vy1_) / (wy2_ - wy1_);
}

GraphicsSurface::PixelPoint GraphicsSurface::to_pixel(double wx, double wy) const {
  const double x = vx1_ + (wx - wx1_) * scale_x_;
  const double dy = (wy - wy1_) * scale_y_;
  return {x, invert_ ? vy2_ - dy : vy1_ + dy};
}

void GraphicsSurface::gfx_set_color(int index) { colour_ = std::clamp(index, 0, kColours - 1); }

std::int32_t GraphicsSurface::gfx_set_palette_rgb(int index, std::int32_t colour) {
  if (index < 0 || index >= kColours) return -1;
  const auto c = static_cast<std::uint32_t>(colour);
  const auto component = [c](int shift) { return std::min<std::uint32_t>((c >> shift) & 0xFF, 63); };
  const std::uint32_t previous = palette_[static_cast<size_t>(index)];
  palette_[static_cast<size_t>(index)] = rgb(component(0), component(8), component(16));
  return static_cast<std::int32_t>(previous);
}

void GraphicsSurface::gfx_move_to(double wx, double wy) { current_ = to_pixel(wx, wy); }

void GraphicsSurface::gfx_line_to(double wx, double wy) {
  const PixelPoint end = to_pixel(wx, wy);
  draw_line(current_, end);
  current_ = end;
}

void GraphicsSurface::gfx_move_to_px(int x, int y) {
  current_ = {static_cast<double>(vx1_) + x, static_cast<double>(vy1_) + y};
}

void GraphicsSurface::gfx_rectangle(int control, double wx1, double wy1, double wx2, double wy2) {
  const PixelPoint a = to_pixel(wx1, wy1), b = to_pixel(wx2, wy2);
  if (control == kGfxFilled) fill_rectangle(a, b);
  else if (control == kGfxOutline) outline_rectangle(a, b);
}

void GraphicsSurface::gfx_rectangle_px(int control, int x1, int y1, int x2, int y2) {
  const PixelPoint a{static_cast<double>(vx1_) + x1, static_cast<double>(vy1_) + y1};
  const PixelPoint b{static_cast<double>(vx1_) + x2, static_cast<double>(vy1_) + y2};
  if (control == kGfxFilled) fill_rectangle(a, b);
  else if (control == kGfxOutline) outline_rectangle(a, b);
}

void GraphicsSurface::gfx_polygon(int control, std::span<const WorldPoint> points) {
  if (points.size() < 3 || points.size() > static_cast<size_t>(kMaxPolygonPoints)) return;
  if (control != kGfxFilled && control != kGfxOutline) return;
  polygon_.clear();
  for (const WorldPoint& p : points) {
    const PixelPoint q = to_pixel(p.x, p.y);
    if (!usable(q.x) || !usable(q.y)) return;
    polygon_.push_back(q);
  }
  if (control == kGfxFilled) fill_polygon();
  for (size_t k = 0; k < polygon_.size(); ++k) draw_line(polygon_[k], polygon_[(k + 1) % polygon_.size()]);
}

// Liang-Barsky clipping against the pixels of the viewport (a point counts as
// inside when it rounds to a viewport pixel), then Bresenham between the
// rounded end points.
void GraphicsSurface::draw_line(PixelPoint a, PixelPoint b) {
  if (!usable(a.x) || !usable(a.y) || !usable(b.x) || !usable(b.y)) return;
  constexpr double kHalf = 0.4999;
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t0 = 0, t1 = 1;
  const auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!clip(-dx, a.x - (vx1_ - kHalf)) || !clip(dx, (vx2_ + kHalf) - a.x) || !clip(-dy, a.y - (vy1_ - kHalf)) ||
      !clip(dy, (vy2_ + kHalf) - a.y)) {
    return;
  }
  int x = clamp_to_int(a.x + t0 * dx, vx1_, vx2_);
  int y = clamp_to_int(a.y + t0 * dy, vy1_, vy2_);
  const int x_end = clamp_to_int(a.x + t1 * dx, vx1_, vx2_);
  const int y_end = clamp_to_int(a.y + t1 * dy, vy1_, vy2_);
  const int step_x = x < x_end ? 1 : -1, step_y = y < y_end ? 1 : -1;
  const int ddx = std::abs(x_end - x), ddy = -std::abs(y_end - y);
  int error = ddx + ddy;
  const auto colour = static_cast<std::uint8_t>(colour_);
  for (;;) {
    pixels_[static_cast<size_t>(y * kWidth + x)] = colour;
    if (x == x_end && y == y_end) break;
    const int e2 = 2 * error;
    if (e2 >= ddy) {
      error += ddy;
      x += step_x;
    }
    if (e2 <= ddx) {
      error += ddx;
      y += step_y;
    }
  }
}

void GraphicsSurface::fill_rectangle(PixelPoint a, PixelPoint b) {
  if (!usable(a.x) || !usable(a.y) || !usable(b.x) || !usable(b.y)) return;
  const int x1 = std::max(clamp_to_int(std::min(a.x, b.x), vx1_ - 1, vx2_ + 1), vx1_);
  const int x2 = std::min(clamp_to_int(std::max(a.x, b.x), vx1_ - 1, vx2_ + 1), vx2_);
  const int y1 = std::max(clamp_to_int(std::min(a.y, b.y), vy1_ - 1, vy2_ + 1), vy1_);
  const int y2 = std::min(clamp_to_int(std::max(a.y, b.y), vy1_ - 1, vy2_ + 1), vy2_);
  if (x1 > x2 || y1 > y2) return;
  for (int y = y1; y <= y2; ++y) {
    std::memset(&pixels_[static_cast<size_t>(y * kWidth + x1)], colour_, static_cast<size_t>(x2 - x1 + 1));
  }
}

void GraphicsSurface::outline_rectangle(PixelPoint a, PixelPoint b) {
  const PixelPoint c{b.x, a.y}, d{a.x, b.y};
  draw_line(a, c);
  draw_line(c, b);
  draw_line(b, d);
  draw_line(d, a);
}

// Scan lines through the pixel centres, even-odd rule; the edges are drawn
// afterwards by the caller.
void GraphicsSurface::fill_polygon() {
  double min_y = polygon_[0].y, max_y = polygon_[0].y;
  for (const PixelPoint& p : polygon_) {
    min_y = std::min(min_y, p.y);
    max_y = std::max(max_y, p.y);
  }
  const double first = std::max<double>(vy1_, std::ceil(min_y));
  const double last = std::min<double>(vy2_, std::floor(max_y));
  if (first > last) return;
  const auto colour = static_cast<std::uint8_t>(colour_);
  for (int y = static_cast<int>(first); y <= static_cast<int>(last); ++y) {
    crossings_.clear();
    for (size_t k = 0; k < polygon_.size(); ++k) {
      const PixelPoint& p = polygon_[k];
      const PixelPoint& q = polygon_[(k + 1) % polygon_.size()];
      if ((p.y <= y && q.y > y) || (q.y <= y && p.y > y)) {
        crossings_.push_back(p.x + (q.x - p.x) * ((y - p.y) / (q.y - p.y)));
      }
    }
    std::sort(crossings_.begin(), crossings_.end());
    for (size_t k = 0; k + 1 < crossings_.size(); k += 2) {
      const int x1 = std::max(static_cast<int>(std::clamp<double>(std::ceil(crossings_[k]), vx1_ - 1, vx2_ + 1)), vx1_);
      const int x2 =
          std::min(static_cast<int>(std::clamp<double>(std::floor(crossings_[k + 1]), vx1_ - 1, vx2_ + 1)), vx2_);
      if (x1 <= x2)
        std::memset(&pixels_[static_cast<size_t>(y * kWidth + x1)], colour, static_cast<size_t>(x2 - x1 + 1));
    }
  }
}

void GraphicsSurface::gfx_set_text_window(int row1, int col1, int row2, int col2) {
  text_row1_ = std::clamp(std::min(row1, row2), 1, kTextRows);
  text_row2_ = std::clamp(std::max(row1, row2), 1, kTextRows);
  text_col1_ = std::clamp(std::min(col1, col2), 1, kTextColumns);
  text_col2_ = std::clamp(std::max(col1, col2), 1, kTextColumns);
  cursor_row_ = 1;
  cursor_column_ = 1;
}

TextPosition GraphicsSurface::gfx_set_text_position(int row, int column) {
  const TextPosition old{cursor_row_, cursor_column_};
  cursor_row_ = std::clamp(row, 1, text_row2_ - text_row1_ + 1);
  cursor_column_ = std::clamp(column, 1, text_col2_ - text_col1_ + 1);
  return old;
}

void GraphicsSurface::gfx_set_text_color(int colour) { text_colour_ = std::clamp(colour, 0, 31); }

void GraphicsSurface::gfx_text(std::string_view text) {
  const int rows = text_row2_ - text_row1_ + 1, columns = text_col2_ - text_col1_ + 1;
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = next_code_point(text, pos);
    if (cursor_column_ > columns) {
      cursor_column_ = 1;
      ++cursor_row_;
    }
    if (cursor_row_ > rows) {
      scroll_text_window();
      cursor_row_ = rows;
    }
    put_cell(text_row1_ + cursor_row_ - 1, text_col1_ + cursor_column_ - 1, cp);
    ++cursor_column_;
  }
}

void GraphicsSurface::put_cell(int row, int column, char32_t code_point) {
  const CellFont::Glyph& glyph = font_->glyph(code_point);
  const int x0 = (column - 1) * kCellWidth, y0 = (row - 1) * kCellHeight;
  const auto ink = static_cast<std::uint8_t>(text_colour_);
  for (int dy = 0; dy < kCellHeight; ++dy) {
    std::uint8_t* out = &pixels_[static_cast<size_t>((y0 + dy) * kWidth + x0)];
    const std::uint8_t bits = glyph[static_cast<size_t>(dy)];
    for (int dx = 0; dx < kCellWidth; ++dx) out[dx] = (bits & (0x80 >> dx)) ? ink : 0;
  }
}

void GraphicsSurface::scroll_text_window() {
  const int x0 = (text_col1_ - 1) * kCellWidth;
  const auto width = static_cast<size_t>((text_col2_ - text_col1_ + 1) * kCellWidth);
  const int top = (text_row1_ - 1) * kCellHeight, bottom = text_row2_ * kCellHeight;
  for (int y = top; y < bottom; ++y) {
    std::uint8_t* row = &pixels_[static_cast<size_t>(y * kWidth + x0)];
    if (y + kCellHeight < bottom) std::memcpy(row, row + kCellHeight * kWidth, width);
    else std::memset(row, 0, width);
  }
}

IndexedImage GraphicsSurface::region(int x1, int y1, int x2, int y2) const {
  const int left = std::clamp(std::min(x1, x2), 0, kWidth - 1);
  const int right = std::clamp(std::max(x1, x2), 0, kWidth - 1);
  const int top = std::clamp(std::min(y1, y2), 0, kHeight - 1);
  const int bottom = std::clamp(std::max(y1, y2), 0, kHeight - 1);
  return {&pixels_[static_cast<size_t>(top * kWidth + left)], kWidth, right - left + 1, bottom - top + 1};
}

bool GraphicsSurface::gfx_save_bitmap(std::string_view file_name, int x1, int y1, int x2, int y2) const {
  const std::string path = trim_trailing_blanks(file_name);
  return !path.empty() && write_indexed_bmp(path, region(x1, y1, x2, y2), palette_);
}

bool GraphicsSurface::save_png(std::string_view file_name, int x1, int y1, int x2, int y2) const {
  const std::string path = trim_trailing_blanks(file_name);
  return !path.empty() && write_indexed_png(path, region(x1, y1, x2, y2), palette_);
}

}  // namespace tambri
