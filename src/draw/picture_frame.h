#pragma once
// The screen half of every picture (PictureRun adds the page and the files):
//
//   PictureFrame frame(surface, viewer, console, output);
//   frame.begin(" TAMBRI: " + name);      // background, clear, viewport, title
//   ... program its palette indices, set the world window, draw, legend ...
//   frame.end(bitmap_name);               // bitmap, " <Return>", wait, restore
//
// With the white background chosen, index 0 shows white and index 15 black for
// the picture and its bitmap; end() gives the dialogue its colours back. A
// picture that draws, asks and reads more before it ends (single isoline
// values) presents the surface before each read.
#include <string_view>

#include "draw/output_settings.h"
#include "draw/surface.h"
#include "draw/viewer.h"
#include "text/console.h"

namespace tambri {

struct PixelRect {
  int x1, y1, x2, y2;
};

// The square picture viewport below the title strip.
inline constexpr PixelRect kPictureViewport{0, 25, 600, 625};
// The legend colour bar.
inline constexpr PixelRect kLegendViewport{610, 25, 660, 320};

// The 6-bit colours the frame swaps for a white background.
inline constexpr std::int32_t kPaletteWhite = 0x3F3F3F;
inline constexpr std::int32_t kPaletteBlack = 0;

class PictureFrame {
 public:
  PictureFrame(GraphicsSurface& surface, Viewer& viewer, Console& console, const OutputSettings& output)
      : surface_(surface), viewer_(viewer), console_(console), output_(output) {}

  // White-background swap when chosen, clear, `viewport`, then the title in
  // text row 1, columns 1-80, text colour 15.
  void begin(std::string_view title, PixelRect viewport = kPictureViewport);

  // When bitmap output is on and `bitmap_name` is not empty: viewport of the
  // whole window and the bitmap saved under the blank-padded name. Then
  // `prompt` at the text cursor, the wait for Return (a window reads the
  // picture at the pointer with `probe`, when given) and restore(). A bitmap
  // file that cannot be created gives " ### Fehler bei Dateieröffnung ###" on
  // the console once the wait is over, on a line of its own.
  //
  // Without a window, on a terminal, the console first says that the picture
  // was drawn without one and which file it was saved to, and repeats
  // `prompt` there; with piped input the console sees nothing of the wait.
  void end(std::string_view bitmap_name, std::string_view prompt = " <Return>", const PictureProbe* probe = nullptr);

  // Dialogue colours back when the background was white, clear, text window
  // rows 1-40, columns 1-80. For a picture that ends without the wait.
  void restore();

 private:
  GraphicsSurface& surface_;
  Viewer& viewer_;
  Console& console_;
  const OutputSettings& output_;
  bool white_background_ = false;
};

}  // namespace tambri
