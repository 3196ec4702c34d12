// Draws the window test's pictures through the program's own surface, frame
// and viewer, in a window on the display named by DISPLAY, with the console
// handing its waits to the viewer as the program does:
//   window_driver <step> <step> ...
// A step "<name>.bmp" is a picture (the first on a white background, then
// alternating) that saves its bitmap and waits for Return (in the window or as
// a line on stdin). A step "prompt:<name>.bmp" saves the surface as it is then
// under that name, writes "prompt" and reads one answer line at a prompt,
// then writes "answer:" and the line. Exit status 0 after all steps ("done"),
// 1 when the input ends first, 3 when no window could be opened.
#include <iostream>
#include <string>

#include "draw/picture_frame.h"
#include "draw/viewer.h"
#include "text/console.h"
#include "window_picture.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) {
    std::cerr << "usage: window_driver step [step ...]\n";
    return 2;
  }
  std::unique_ptr<tambri::Viewer> viewer = tambri::make_viewer(false, std::cerr);
  if (!viewer->has_window()) {
    std::cerr << "window_driver: no window\n";
    return 3;
  }
  tambri::Console console(std::cin, std::cout, false);
  tambri::GraphicsSurface surface;
  tambri::ViewerInputWaiter waiter(*viewer, surface);
  console.set_input_waiter(&waiter);
  tambri::OutputSettings output;
  output.bitmap_off = false;
  tambri::PictureFrame frame(surface, *viewer, console, output);
  const std::string prompt_step = "prompt:";
  try {
    int pictures = 0;
    for (int k = 1; k < argc; ++k) {
      const std::string step = argv[k];
      if (step.rfind(prompt_step, 0) == 0) {
        surface.gfx_save_bitmap(step.substr(prompt_step.size()), 0, 0, tambri::GraphicsSurface::kWidth,
                                tambri::GraphicsSurface::kHeight);
        std::cout << "prompt" << std::endl;
        const std::string answer = console.read_line();
        std::cout << "answer:" << answer << std::endl;
        continue;
      }
      output.white_background = ++pictures % 2 == 1;
      tambri::test::draw_window_test_picture(frame, surface);
      frame.end(step);
    }
  } catch (const tambri::EndOfInput&) {
    std::cerr << "window_driver: input ended\n";
    return 1;
  }
  surface.gfx_set_exit_no_prompt();
  std::cout << "done" << std::endl;
  return 0;
}
