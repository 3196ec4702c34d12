#pragma once
// Fixed capacities of the program. Every node array and part list is sized by
// these at compile time; nothing beyond them is ever stored.

namespace tambri {

inline constexpr int kMaxLines = 201;                    // grid lines per direction
inline constexpr int kMaxNodes = kMaxLines * kMaxLines;  // node arrays
inline constexpr int kMaxShapeParts = 50;                // points, rectangles, triangles, circles
inline constexpr int kMaxBorders = 4;
inline constexpr int kMaxSequence = 250;                            // entry-sequence slots
inline constexpr int kMaxParts = 4 * kMaxShapeParts + kMaxBorders;  // 204 parts in use at most

}  // namespace tambri
