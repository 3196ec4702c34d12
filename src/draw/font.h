#pragma once
// Glyphs of a monospaced TrueType font rendered monochrome into the 8 x 16
// pixel cells of the surface's text grid.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace tambri {

class CellFont {
 public:
  static constexpr int kCellWidth = 8;
  static constexpr int kCellHeight = 16;
  // One byte per pixel row, bit 7 the leftmost pixel.
  using Glyph = std::array<std::uint8_t, kCellHeight>;

  // Loads the font found by find_cell_font_file(); without one every glyph is
  // blank and ok() is false.
  CellFont();
  ~CellFont();
  CellFont(const CellFont&) = delete;
  CellFont& operator=(const CellFont&) = delete;

  bool ok() const { return face_ != nullptr; }
  // The glyph of a code point; a character the font lacks shows as '?', a
  // control character as a blank cell. Rendered once, then cached.
  const Glyph& glyph(char32_t code_point);

 private:
  Glyph render(char32_t code_point) const;

  struct Library;
  std::unique_ptr<Library> library_;
  void* face_ = nullptr;  // FT_Face, kept opaque so FreeType stays out of the header
  int baseline_ = 12;     // pixel row of the baseline inside the cell
  std::unordered_map<char32_t, Glyph> cache_;
};

// Path of DejaVu Sans Mono: the usual Debian location first, then a search of
// the system font folders. Empty when there is none.
std::string find_cell_font_file();

}  // namespace tambri
