#include "draw/picture_frame.h"

#include <string>

#include "draw/picture_files.h"
#include "text/text_width.h"

namespace tambri {
namespace {

// "name.bmp" -> "name.png".
std::string png_name_of(const std::string& bitmap) {
  const size_t dot = bitmap.rfind('.');
  return (dot == std::string::npos ? bitmap : bitmap.substr(0, dot)) + ".png";
}

}  // namespace

void PictureFrame::begin(std::string_view title, PixelRect viewport) {
  white_background_ = output_.white_background;
  if (white_background_) {
    surface_.gfx_set_palette_rgb(0, kPaletteWhite);
    surface_.gfx_set_palette_rgb(15, kPaletteBlack);
  }
  surface_.gfx_clear(0);
  surface_.gfx_set_viewport(viewport.x1, viewport.y1, viewport.x2, viewport.y2);
  surface_.gfx_set_text_window(1, 1, 1, 80);
  surface_.gfx_set_text_color(15);
  surface_.gfx_text(title);
}

void PictureFrame::end(std::string_view bitmap_name, std::string_view prompt, const PictureProbe* probe) {
  std::string saved;
  bool bitmap_failed = false;
  if (!output_.bitmap_off && !bitmap_name.empty()) {
    surface_.gfx_set_viewport(0, 0, GraphicsSurface::kWidth, GraphicsSurface::kHeight);
    if (surface_.gfx_save_bitmap(bitmap_name, 0, 0, GraphicsSurface::kWidth, GraphicsSurface::kHeight)) {
      saved = trim_trailing_blanks(bitmap_name);
      if (output_.png_copies &&
          !surface_.save_png(png_name_of(saved), 0, 0, GraphicsSurface::kWidth, GraphicsSurface::kHeight)) {
        bitmap_failed = true;
      }
    } else {
      bitmap_failed = true;
    }
  }
  surface_.gfx_text(prompt);
  if (!viewer_.has_window() && console_.interactive()) {
    console_.message(saved.empty() ? " Bild ohne Fenster gezeichnet, keine Datei geschrieben"
                                   : " Bild ohne Fenster gezeichnet, gespeichert in " + saved);
    console_.prompt(prompt);
  }
  viewer_.wait_for_return(surface_, console_, probe);
  restore();
  if (bitmap_failed) console_.message(" ### Fehler bei Dateieröffnung ###");
}

void PictureFrame::restore() {
  if (white_background_) {
    surface_.gfx_set_palette_rgb(15, kPaletteWhite);
    surface_.gfx_set_palette_rgb(0, kPaletteBlack);
  }
  surface_.gfx_clear(0);
  surface_.gfx_set_text_window(1, 1, 40, 80);
}

}  // namespace tambri
