#pragma once
// A viewer for picture tests: keeps the pixels and palette as they were shown
// when the picture began its wait for Return (and, given the console's output,
// what the console showed then), and reads the one answer line.
#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "draw/surface.h"
#include "draw/viewer.h"
#include "text/console.h"

namespace tambri::test {

class RecordingViewer : public Viewer {
 public:
  void present(const GraphicsSurface&) override {}
  void wait_for_return(const GraphicsSurface& surface, Console& console, const PictureProbe*) override {
    shown.assign(surface.pixels(), surface.pixels() + GraphicsSurface::kWidth * GraphicsSurface::kHeight);
    shown_palette = surface.palette();
    if (screen) at_wait = screen->str();
    console.read_line();
  }
  bool has_window() const override { return window; }

  std::vector<std::uint8_t> shown;
  std::array<std::uint32_t, 256> shown_palette{};
  const std::ostringstream* screen = nullptr;
  bool window = false;
  std::string at_wait;
};

}  // namespace tambri::test
