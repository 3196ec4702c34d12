#pragma once
// The palettes the pictures program: the blue-green-yellow-red ramp of 128
// positions that the structure palette, the equicolour scale and the
// mountain's height colours are all cut from, the structure palette, and the
// line colours of the isoline and integration-path pictures.
#include <cstdint>

#include "draw/surface.h"

namespace tambri {

// A palette colour 0x00BBGGRR from 0-63 components.
constexpr std::int32_t rgb(int red, int green, int blue) { return blue << 16 | green << 8 | red; }

// Ramp position t = 0 (blue) .. 127 (red): for t <= 50 (0, c, 63 - c) with
// c = trunc(1.26 t); for 51 <= t <= 77 (trunc(2.34 (t - 51)), 63, 0); above
// (63, 63 - trunc(1.26 (t - 78)), 0); c capped at 63. The factors are single
// precision and the products truncated, so t = 50 gives green 62, not 63.
std::int32_t ramp_colour(int t);

// Indices 1-9: the ramp at 0, 15, ..., 105 and 127 (materials, potentials and
// excitations by number); 10 green, 11 grey.
void set_structure_palette(GraphicsSurface& surface);

inline constexpr int kStructureGreen = 10;
inline constexpr int kStructureGrey = 11;

// Indices 1-13: 1 magenta, 2 red, 3 orange, 4 yellow-orange, 5-7 greens,
// 8-9 blue-greens, 10 blue, 11 purple, 12 grey, 13 green.
void set_line_palette(GraphicsSurface& surface);

}  // namespace tambri
