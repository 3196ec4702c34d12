// The cell font from the compiled table of the native glyphs: the same cells
// the native program renders with FreeType, '?' for a code point the font
// lacks and a blank cell for a control character.
#include <algorithm>

#include "cell_font_table.h"
#include "draw/font.h"

namespace tambri {

struct CellFont::Library {};

std::string find_cell_font_file() { return "(compiled-in table)"; }

// face_ only says "glyphs available" here; nothing is loaded.
CellFont::CellFont() : library_(std::make_unique<Library>()) { face_ = library_.get(); }

CellFont::~CellFont() = default;

const CellFont::Glyph& CellFont::glyph(char32_t code_point) {
  auto [it, inserted] = cache_.try_emplace(code_point);
  if (inserted) it->second = render(code_point);
  return it->second;
}

CellFont::Glyph CellFont::render(char32_t code_point) const {
  (void)baseline_;  // the table's cells are already placed on the baseline
  if (code_point < 0x20 || (code_point >= 0x7F && code_point < 0xA0)) return Glyph{};
  const web::CellGlyphEntry* begin = web::kCellGlyphs;
  const web::CellGlyphEntry* end = begin + web::kCellGlyphCount;
  auto find = [&](char32_t c) {
    auto at =
        std::lower_bound(begin, end, c, [](const web::CellGlyphEntry& e, char32_t v) { return e.code_point < v; });
    return at != end && at->code_point == c ? at : nullptr;
  };
  if (const auto* entry = find(code_point)) return entry->glyph;
  if (const auto* entry = find(U'?')) return entry->glyph;
  return Glyph{};
}

}  // namespace tambri
