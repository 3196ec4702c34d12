#pragma once
// The program's drawing window: an off-screen 800 x 630 image of 8-bit
// palette indices under a 256-entry palette, with a world-coordinate system
// mapped onto a pixel viewport and a text grid of 8 x 16 pixel cells.
//
// - Pixels: x to the right, y downward, origin top left. Every pixel rectangle
//   is inclusive: the viewport (0, 25, 600, 625) is 601 x 601 pixels.
// - Colours are indices; the palette holds 0x00BBGGRR with 0-63 components, so
//   changing an entry recolours everything already drawn with it. Start-up:
//   the 16-colour set in 0-15 (0 black, 15 bright white), black above.
// - Lines, rectangles and polygons are clipped to the viewport; text goes to
//   the text window (rows and columns of the grid, 1-based) and is not clipped
//   by the viewport.
// - An operation it cannot carry out (zero-size world window, palette index
//   outside 0-255, too few polygon points, non-finite coordinates) changes
//   nothing; drawing colours are clamped to the palette, text colours to 0-31.
// No console I/O: the picture frame and the viewer show and save the image.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "draw/bitmap_file.h"

namespace tambri {

class CellFont;

struct GraphicsConfig {
  int width_px;
  int height_px;
  int text_columns;
  int text_rows;
  int colours;
};

struct TextPosition {
  int row;
  int column;
};

struct WorldPoint {
  double x;
  double y;
};

// The surface's mapping from world to pixels at one moment: a picture keeps
// it right after drawing its field, because the legend sets another
// viewport afterwards, and reads pointer positions back with it.
struct WorldMapping {
  int vx1, vy1, vx2, vy2;     // viewport, inclusive pixel corners
  double wx1, wy1, wx2, wy2;  // world window, sorted corners
  bool invert;                // the smaller world y at the bottom edge

  // The world point the surface drew at pixel (x, y); none outside the
  // viewport or when the viewport has no extent to divide by. The edge
  // pixels give the world window's edges exactly.
  std::optional<WorldPoint> world_at(int x, int y) const;
};

// Control values of gfx_rectangle and gfx_polygon.
inline constexpr int kGfxOutline = 2;
inline constexpr int kGfxFilled = 3;

class GraphicsSurface {
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 630;
  static constexpr int kCellWidth = 8;
  static constexpr int kCellHeight = 16;
  static constexpr int kTextColumns = kWidth / kCellWidth;  // 100
  static constexpr int kTextRows = kHeight / kCellHeight;   // 39 whole rows
  static constexpr int kColours = 256;
  static constexpr int kMaxPolygonPoints = 16381;

  GraphicsSurface();
  ~GraphicsSurface();
  GraphicsSurface(const GraphicsSurface&) = delete;
  GraphicsSurface& operator=(const GraphicsSurface&) = delete;

  GraphicsConfig gfx_get_config() const;
  // Paints the whole window with index 0, text included, and puts the text
  // cursor home. Only the whole window (area 0) exists.
  void gfx_clear(int area = 0);
  // Corners are sorted and clamped to the window; the top-left corner becomes
  // the origin of the *_px operations.
  void gfx_set_viewport(int x1, int y1, int x2, int y2);
  // Maps the world rectangle (corners sorted) onto the viewport. invert 0: the
  // smaller y at the top edge; 1: at the bottom. A window of zero (or
  // non-finite) width or height is refused: returns false, the old one stays.
  bool gfx_set_world(int invert, double wx1, double wy1, double wx2, double wy2);
  void gfx_set_color(int index);
  // Sets entry `index` to 0x00BBGGRR (each component clamped to 63); returns
  // the previous colour, or -1 (nothing changed) for an index outside 0-255.
  std::int32_t gfx_set_palette_rgb(int index, std::int32_t colour);
  void gfx_move_to(double wx, double wy);
  // One-pixel line from the current point, clipped to the viewport; the end
  // becomes the current point.
  void gfx_line_to(double wx, double wy);
  void gfx_move_to_px(int x, int y);
  // control kGfxOutline: the outline; kGfxFilled: filled, edges included.
  void gfx_rectangle(int control, double wx1, double wy1, double wx2, double wy2);
  void gfx_rectangle_px(int control, int x1, int y1, int x2, int y2);
  // Closed polygon through 3 to kMaxPolygonPoints points; filled polygons
  // include their edges.
  void gfx_polygon(int control, std::span<const WorldPoint> points);
  // Corners sorted and clipped to the grid; the cursor goes to (1, 1).
  void gfx_set_text_window(int row1, int col1, int row2, int col2);
  // Moves the cursor (relative to the text window, clamped to it); returns the
  // old position.
  TextPosition gfx_set_text_position(int row, int column);
  void gfx_set_text_color(int colour);
  // UTF-8 text at the cursor in the text colour over index 0. The cursor
  // advances; text reaching the right edge of the text window continues on
  // its next row, and below the last row the window scrolls up.
  void gfx_text(std::string_view text);
  // Saves the window region (inclusive, clipped to the window) as an 8-bit
  // BMP under the blank-padded `file_name`; false when the file cannot be
  // written.
  bool gfx_save_bitmap(std::string_view file_name, int x1, int y1, int x2, int y2) const;
  // The same region as a PNG file with the same pixels and colours.
  bool save_png(std::string_view file_name, int x1, int y1, int x2, int y2) const;
  // The window closes at program end without asking.
  void gfx_set_exit_no_prompt() { exit_no_prompt_ = true; }

  // Read access for viewers, tests and benchmarks.
  std::uint8_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y * kWidth + x)]; }
  const std::uint8_t* pixels() const { return pixels_.data(); }
  const std::array<std::uint32_t, kColours>& palette() const { return palette_; }
  TextPosition text_position() const { return {cursor_row_, cursor_column_}; }
  bool exit_no_prompt() const { return exit_no_prompt_; }
  WorldMapping world_mapping() const { return {vx1_, vy1_, vx2_, vy2_, wx1_, wy1_, wx2_, wy2_, invert_}; }
  bool font_loaded() const;

 private:
  struct PixelPoint {
    double x;
    double y;
  };

  // The region, inclusive and clipped to the window.
  IndexedImage region(int x1, int y1, int x2, int y2) const;
  void update_mapping();
  PixelPoint to_pixel(double wx, double wy) const;
  void draw_line(PixelPoint a, PixelPoint b);
  void fill_rectangle(PixelPoint a, PixelPoint b);
  void outline_rectangle(PixelPoint a, PixelPoint b);
  void fill_polygon();
  void put_cell(int row, int column, char32_t code_point);
  void scroll_text_window();

  std::vector<std::uint8_t> pixels_;
  std::array<std::uint32_t, kColours> palette_{};
  std::unique_ptr<CellFont> font_;

  // Viewport, inclusive pixel corners.
  int vx1_ = 0, vy1_ = 0, vx2_ = kWidth - 1, vy2_ = kHeight - 1;
  // World window, sorted corners, and its mapping onto the viewport.
  double wx1_ = 0, wy1_ = 0, wx2_ = kWidth - 1, wy2_ = kHeight - 1;
  bool invert_ = false;
  double scale_x_ = 1, scale_y_ = 1;

  int colour_ = 15;
  PixelPoint current_{0, 0};

  // Text window (absolute grid rows and columns, inclusive) and cursor
  // (relative; the column may stand one past the right edge until the next
  // character wraps it).
  int text_row1_ = 1, text_col1_ = 1, text_row2_ = kTextRows, text_col2_ = kTextColumns;
  int cursor_row_ = 1, cursor_column_ = 1;
  int text_colour_ = 15;

  bool exit_no_prompt_ = false;

  // Work space of the polygon fill, sized once for the largest polygon.
  std::vector<PixelPoint> polygon_;
  std::vector<double> crossings_;
};

}  // namespace tambri
