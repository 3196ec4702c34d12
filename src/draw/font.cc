#include "draw/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <system_error>

namespace tambri {
namespace {

constexpr const char* kFontFileName = "DejaVuSansMono.ttf";
// At 13 pixels per em DejaVu Sans Mono advances 8 pixels per character and its
// ascent and descent fit 16 pixel rows, so a glyph fills its cell like a
// classic 8 x 16 screen font.
constexpr FT_UInt kPixelsPerEm = 13;

}  // namespace

struct CellFont::Library {
  FT_Library handle = nullptr;
  ~Library() {
    if (handle) FT_Done_FreeType(handle);
  }
};

std::string find_cell_font_file() {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                           "/usr/share/fonts/TTF/DejaVuSansMono.ttf", "/usr/share/fonts/dejavu/DejaVuSansMono.ttf"}) {
    if (fs::is_regular_file(path, ec)) return path;
  }
  for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (it->path().filename() == kFontFileName) return it->path().string();
    }
    ec.clear();
  }
  return {};
}

CellFont::CellFont() : library_(std::make_unique<Library>()) {
  const std::string path = find_cell_font_file();
  if (path.empty() || FT_Init_FreeType(&library_->handle) != 0) return;
  FT_Face face = nullptr;
  if (FT_New_Face(library_->handle, path.c_str(), 0, &face) != 0) return;
  if (FT_Set_Pixel_Sizes(face, 0, kPixelsPerEm) != 0) {
    FT_Done_Face(face);
    return;
  }
  // Ascender in 26.6 fixed point, rounded up to whole pixels.
  baseline_ = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  if (baseline_ < 1 || baseline_ >= kCellHeight) baseline_ = 12;
  face_ = face;
}

CellFont::~CellFont() {
  if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
}

const CellFont::Glyph& CellFont::glyph(char32_t code_point) {
  auto it = cache_.find(code_point);
  if (it == cache_.end()) it = cache_.emplace(code_point, render(code_point)).first;
  return it->second;
}

CellFont::Glyph CellFont::render(char32_t code_point) const {
  Glyph cell{};
  if (!face_ || code_point < 0x20 || (code_point >= 0x7F && code_point < 0xA0)) return cell;
  auto face = static_cast<FT_Face>(face_);
  FT_UInt index = FT_Get_Char_Index(face, code_point);
  if (index == 0) index = FT_Get_Char_Index(face, U'?');
  if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return cell;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return cell;
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = baseline_ - slot->bitmap_top + static_cast<int>(row);
    if (y < 0 || y >= kCellHeight) continue;
    const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
    for (unsigned col = 0; col < bitmap.width; ++col) {
      const int x = slot->bitmap_left + static_cast<int>(col);
      if (x < 0 || x >= kCellWidth) continue;
      if (bits[col >> 3] & (0x80 >> (col & 7))) cell[static_cast<size_t>(y)] |= static_cast<std::uint8_t>(0x80 >> x);
    }
  }
  return cell;
}

}  // namespace tambri
