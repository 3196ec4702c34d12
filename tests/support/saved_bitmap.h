#pragma once
// Reading back a picture's saved bitmap: the 8-bit BMP of the whole 800 x 630
// window (14 + 40 header bytes, 256 palette entries B, G, R, 0 with the 0-63
// components times 4, rows bottom-up).
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/session.h"

namespace tambri::test {

class SavedBitmap {
 public:
  static constexpr int kWidth = 800, kHeight = 630;
  static constexpr size_t kPixelsAt = 14 + 40 + 256 * 4;

  explicit SavedBitmap(const std::filesystem::path& path) : bytes_(read_file(path)) {}

  bool complete() const { return bytes_.size() == kPixelsAt + size_t{kWidth} * kHeight; }
  // Palette entry `index` as 0-63 components (R, G, B).
  std::array<int, 3> colour(int index) const {
    const auto at = [&](int c) { return static_cast<unsigned char>(bytes_[54 + 4 * static_cast<size_t>(index) + c]) / 4; };
    return {at(2), at(1), at(0)};
  }
  // The palette index of window pixel (x, y), y counted from the top.
  int pixel(int x, int y) const {
    return static_cast<unsigned char>(bytes_[kPixelsAt + static_cast<size_t>((kHeight - 1 - y) * kWidth + x)]);
  }
  // All pixels, top row first, as the surface holds them.
  std::vector<std::uint8_t> pixels() const {
    std::vector<std::uint8_t> out(size_t{kWidth} * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) out[static_cast<size_t>(y * kWidth + x)] = static_cast<std::uint8_t>(pixel(x, y));
    return out;
  }

 private:
  std::string bytes_;
};

}  // namespace tambri::test
