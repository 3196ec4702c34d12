// The picture window in the browser: the page's 800 x 630 canvas. The surface
// is handed over as it is (palette indices and the 0x00BBGGRR palette with
// 0-63 components) and Module.tambriShow() turns it into canvas pixels, so
// the colours are scaled exactly as in the bitmap files (times 4). Waiting
// for Return reads one answer line like the headless viewer: the page sends
// an empty line when Return is pressed over the canvas.
#include <emscripten.h>

#include "draw/window_viewer.h"

// The body is JavaScript, which the C++ formatter would break.
// clang-format off
EM_JS(void, tambri_show, (const unsigned char* pixels, const unsigned int* palette, int width, int height), {
  if (Module.tambriShow) {
    Module.tambriShow(HEAPU8.subarray(pixels, pixels + width * height),
                      HEAPU32.subarray(palette >> 2, (palette >> 2) + 256), width, height);
  }
});
// clang-format on

namespace tambri {
namespace {

class CanvasViewer final : public Viewer {
 public:
  void present(const GraphicsSurface& surface) override {
    tambri_show(surface.pixels(), surface.palette().data(), GraphicsSurface::kWidth, GraphicsSurface::kHeight);
  }
  void wait_for_return(const GraphicsSurface& surface, Console& console, const PictureProbe* = nullptr) override {
    present(surface);
    console.await_return();
  }
  bool has_window() const override { return true; }
};

}  // namespace

std::unique_ptr<Viewer> open_window_viewer(std::ostream&) { return std::make_unique<CanvasViewer>(); }

}  // namespace tambri
