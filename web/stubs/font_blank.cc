// The cell font without FreeType: every glyph blank and ok() false, as the
// native program behaves when it finds no font file. A stand-in until the
// browser build has real glyphs.
#include "draw/font.h"

namespace tambri {

struct CellFont::Library {};

std::string find_cell_font_file() { return {}; }

CellFont::CellFont() : library_(std::make_unique<Library>()) {}

CellFont::~CellFont() = default;

const CellFont::Glyph& CellFont::glyph(char32_t code_point) {
  auto [it, inserted] = cache_.try_emplace(code_point);
  if (inserted) it->second = render(code_point);
  return it->second;
}

CellFont::Glyph CellFont::render(char32_t) const {
  (void)baseline_;  // no outlines to place on a baseline
  return Glyph{};
}

}  // namespace tambri
