#pragma once
// Reading back a picture's saved bitmap: the 8-bit BMP of the whole 800 x 630
// window (14 + 40 header bytes, 256 palette entries B, G, R, 0 with the 0-63
// components times 4, rows bottom-up).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/session.h"

namespace tambri::test {

struct SavedBitmap {
  static constexpr int kWidth = 800, kHeight = 630;
  static constexpr size_t kPixelsAt = 14 + 40 + 256 * 4;

  bool complete() const { return bytes.size() == kPixelsAt + size_t{kWidth} * kHeight; }
  // Palette entry `index` as 0-63 components (R, G, B).
  std::array<int, 3> colour(int index) const {
    const auto at = [&](int c) { return static_cast<unsigned char>(bytes[54 + 4 * static_cast<size_t>(index) + c]) / 4; };
    return {at(2), at(1), at(0)};
  }
  // The palette index of window pixel (x, y), y counted from the top.
  int pixel(int x, int y) const {
    return static_cast<unsigned char>(bytes[kPixelsAt + static_cast<size_t>((kHeight - 1 - y) * kWidth + x)]);
  }
  // The bitmap holds the picture as `shown` but with `count` cells from
  // (row, column) blank: it was saved before the text there was written.
  void expect_saved_before(const std::vector<std::uint8_t>& shown, int row, int column, int count) const {
    ASSERT_TRUE(complete());
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const bool cell = y / 16 == row - 1 && x / 8 >= column - 1 && x / 8 < column - 1 + count;
        differing += pixel(x, y) != (cell ? 0 : shown[static_cast<size_t>(y * kWidth + x)]);
      }
    }
    EXPECT_EQ(differing, 0);
  }

  std::string bytes;
};

}  // namespace tambri::test
