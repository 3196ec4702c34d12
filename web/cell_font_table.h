#pragma once
// The cell glyphs of the native font, generated on the host (web/tools/
// cell_font_table) and compiled in, sorted by code point.
#include <cstdint>

#include "draw/font.h"

namespace tambri::web {

struct CellGlyphEntry {
  char32_t code_point;
  CellFont::Glyph glyph;
};

extern const CellGlyphEntry kCellGlyphs[];
extern const int kCellGlyphCount;

}  // namespace tambri::web
