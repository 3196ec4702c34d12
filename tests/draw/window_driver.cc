// Draws the window test's pictures through the program's own surface, frame
// and viewer, in a window on the display named by DISPLAY, with the console
// handing its waits to the viewer as the program does:
//   window_driver <step> <step> ...
// A step "<name>.bmp" is a picture (the first on a white background, then
// alternating) that saves its bitmap and waits for Return (in the window or as
// a line on stdin). A step "prompt:<name>.bmp" saves the surface as it is then
// under that name, writes "prompt", reads one answer line at a prompt and
// writes "answer:" and the line. A step "probe:full" or "probe:square" is a
// field picture of a zoomed grid part, stretched over the viewport or true
// to scale, that waits for Return with a probe: node (i, j) at
// x = 0.01 (i - 1), y = 0.01 (j - 1) of an 11 x 6 grid, value 1000 i + 10 j,
// x lines 3-9 and y lines 2-6 shown. Exit status 0 after all steps ("done"),
// 1 when the input ends first, 3 when no window could be opened.
#include <array>
#include <iostream>
#include <string>

#include "dialogue/node_probe.h"
#include "draw/display_window.h"
#include "draw/picture_frame.h"
#include "draw/viewer.h"
#include "text/console.h"

namespace tambri {

// Colours from the whole palette range the plots use, fills, lines and text
// with umlauts, in the frame of every picture; the frame's
// " <Return>" goes to text row 28, columns 89-97.
void draw_picture(PictureFrame& frame, GraphicsSurface& s) {
  frame.begin(" TAMBRI: Fensterprobe Äquicolor äöü ÄÖÜ ß");
  for (int n = 0; n < 128; ++n)
    s.gfx_set_palette_rgb(16 + n, (63 - n * 63 / 127) << 16 | (n * 5) % 64 << 8 | n * 63 / 127);
  s.gfx_set_world(0, 0, 0, 16, 16);
  for (int n = 0; n < 128; ++n) {
    s.gfx_set_color(16 + n);
    s.gfx_rectangle(kGfxFilled, n / 8, n % 8, n / 8 + 1, n % 8 + 1);
  }
  s.gfx_set_color(2);
  for (int k = 0; k <= 16; ++k) s.gfx_move_to(0, 8), s.gfx_line_to(k, 16);
  s.gfx_set_viewport(610, 25, 660, 320);
  s.gfx_set_text_window(2, 85, 30, 100);
  const std::array<const char*, 9> texts{"1.0E+00",  "2.5E-01", "Größe", "Ölstand", "Übung",
                                         "-3.3E+02", "(m)",     "x = y", "Ende"};
  for (int k = 1; k <= 9; ++k) {
    s.gfx_set_color(k);
    s.gfx_rectangle_px(kGfxFilled, 0, 32 * (k - 1), 20, 32 * k);
    s.gfx_set_color(10 - k);
    s.gfx_rectangle_px(kGfxOutline, 30, 32 * (k - 1), 50, 32 * k);
    s.gfx_set_text_color(k);
    s.gfx_set_text_position(2 * k, 3);
    s.gfx_text(texts[static_cast<size_t>(k - 1)]);
  }
  s.gfx_set_text_color(15);
  s.gfx_set_text_position(27, 5);
}

// The shown part filled; the probe takes the mapping before the legend's
// viewport replaces it.
void probe_picture(PictureFrame& frame, GraphicsSurface& s, Viewer& viewer, Console& console, bool full_window) {
  Grid grid;
  grid.nx = 11;
  grid.ny = 6;
  NodeArray value{};
  for (int k = 1; k <= 11; ++k) grid.x[k] = grid.y[k] = 0.01 * (k - 1);
  for (int k = 1; k <= grid.nodes(); ++k) value[k] = 1000.0 * ((k - 1) % 11 + 1) + 10.0 * ((k - 1) / 11 + 1);
  const DisplayWindow w{3, 2, 9, 6};
  frame.begin(" TAMBRI: Fensterprobe mit Zeiger");
  set_picture_world(s, picture_world(grid, w, full_window));
  s.gfx_set_color(12);
  s.gfx_rectangle(kGfxFilled, grid.y[w.j1], grid.x[w.i1], grid.y[w.j2], grid.x[w.i2]);
  const NodeProbe probe(s.world_mapping(), grid, w, {&value, nullptr, false, "Feldstaerke E  (V/m)"});
  s.gfx_set_viewport(610, 25, 660, 320);
  viewer.wait_for_return(s, console, &probe);
  frame.restore();
}

}  // namespace tambri

int main(int argc, char** argv) {
  using namespace tambri;
  std::ios::sync_with_stdio(false);  // as the program: lines already read wait in the stream's buffer
  std::unique_ptr<Viewer> viewer = make_viewer(false, std::cerr);
  if (!viewer->has_window()) return 3;
  Console console(std::cin, std::cout, false);
  GraphicsSurface surface;
  ViewerInputWaiter waiter(*viewer, surface);
  console.set_input_waiter(&waiter);
  OutputSettings output;
  output.bitmap_off = false;
  PictureFrame frame(surface, *viewer, console, output);
  try {
    for (int k = 1, pictures = 0; k < argc; ++k) {
      const std::string step = argv[k];
      if (step.rfind("prompt:", 0) == 0) {
        surface.gfx_save_bitmap(step.substr(7), 0, 0, GraphicsSurface::kWidth, GraphicsSurface::kHeight);
        std::cout << "prompt" << std::endl;
        const std::string answer = console.read_line();
        std::cout << "answer:" << answer << std::endl;
        continue;
      }
      if (step.rfind("probe:", 0) == 0) {
        probe_picture(frame, surface, *viewer, console, step == "probe:full");
        continue;
      }
      output.white_background = ++pictures % 2 == 1;
      draw_picture(frame, surface);
      frame.end(step);
    }
  } catch (const EndOfInput&) {
    return 1;
  }
  surface.gfx_set_exit_no_prompt();
  std::cout << "done" << std::endl;
  return 0;
}
