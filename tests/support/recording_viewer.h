#pragma once
// A viewer for picture tests: keeps the pixels and palette as they were shown
// when the picture began its wait for Return, and reads the one answer line.
#include <array>
#include <cstdint>
#include <vector>

#include "draw/surface.h"
#include "draw/viewer.h"
#include "text/console.h"

namespace tambri::test {

class RecordingViewer : public Viewer {
 public:
  void present(const GraphicsSurface&) override {}
  void wait_for_return(const GraphicsSurface& surface, Console& console) override {
    shown.assign(surface.pixels(), surface.pixels() + GraphicsSurface::kWidth * GraphicsSurface::kHeight);
    shown_palette = surface.palette();
    console.read_line();
  }
  bool has_window() const override { return false; }

  std::vector<std::uint8_t> shown;
  std::array<std::uint32_t, 256> shown_palette{};
};

}  // namespace tambri::test
