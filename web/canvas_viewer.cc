// The picture window in the browser: the page's 800 x 630 canvas. The surface
// is handed over as it is (palette indices and the 0x00BBGGRR palette with
// 0-63 components) and Module.tambriShow() turns it into canvas pixels, so
// the colours are scaled exactly as in the bitmap files (times 4). Waiting
// for Return reads one answer line, which the page sends on Return in its
// terminal or over the canvas. Until that line comes, the pointer over the
// canvas reads the picture back as the window's title does natively: the
// page shows the reading beside the canvas, and a left click copies.
#include <emscripten.h>

#include <optional>
#include <string>

#include "draw/picture_probe.h"
#include "draw/window_viewer.h"

// The bodies are JavaScript, which the C++ formatter would break.
// clang-format off
EM_JS(void, tambri_show, (const unsigned char* pixels, const unsigned int* palette, int width, int height), {
  if (Module.tambriShow) {
    Module.tambriShow(HEAPU8.subarray(pixels, pixels + width * height),
                      HEAPU32.subarray(palette >> 2, (palette >> 2) + 256), width, height);
  }
});

// The next thing the page has for a waiting picture: -1 when an answer line is
// there (left for the console to read), otherwise the pointer as
// kind * 2^20 + y * 2^10 + x with kind 0 moved, 1 left-clicked, 2 gone.
EM_ASYNC_JS(int, tambri_next_pointer_or_line, (), {
  if (!Module.tambriNextPointerOrLine) return -1;
  const event = await Module.tambriNextPointerOrLine();
  if (event.kind === 'line') return -1;
  const kind = event.kind === 'move' ? 0 : event.kind === 'click' ? 1 : 2;
  return kind * 1048576 + event.y * 1024 + event.x;
});

EM_JS(void, tambri_show_reading, (const char* title, const char* copy, const char* copied_note), {
  if (Module.tambriShowReading) {
    Module.tambriShowReading(UTF8ToString(title), copy ? UTF8ToString(copy) : null, UTF8ToString(copied_note));
  }
});

// Whether a picture waits for Return, where Ctrl-C counts as Return.
EM_JS(void, tambri_picture_waits, (int waits), { Module.tambriPictureWaits = waits !== 0; });
// clang-format on

namespace tambri {
namespace {

// The pointer kinds as tambri_next_pointer_or_line codes them.
enum PointerKind { kMoved = 0, kClicked = 1, kGone = 2 };

class CanvasViewer final : public Viewer {
 public:
  void present(const GraphicsSurface& surface) override {
    tambri_show(surface.pixels(), surface.palette().data(), GraphicsSurface::kWidth, GraphicsSurface::kHeight);
  }

  void wait_for_return(const GraphicsSurface& surface, Console& console, const PictureProbe* probe) override {
    present(surface);
    tambri_picture_waits(1);
    while (probe) {
      const int event = tambri_next_pointer_or_line();
      if (event < 0) break;
      const int kind = event >> 20;
      const std::optional<ProbeReading> reading =
          kind == kGone ? std::nullopt : probe->at_pixel(event & 1023, (event >> 10) & 1023);
      if (!reading) {
        show_reading("", nullptr);
      } else {
        show_reading(reading->title, kind == kClicked ? reading->copy.c_str() : nullptr);
      }
    }
    console.await_return();
    tambri_picture_waits(0);
    if (probe) show_reading("", nullptr);
  }

  bool has_window() const override { return true; }

 private:
  // The page notes a copy once its clipboard has taken it.
  static void show_reading(const std::string& title, const char* copy) {
    const std::string note(kCopiedNote);
    tambri_show_reading(title.c_str(), copy, note.c_str());
  }
};

}  // namespace

std::unique_ptr<Viewer> open_window_viewer(std::ostream&) { return std::make_unique<CanvasViewer>(); }

}  // namespace tambri
