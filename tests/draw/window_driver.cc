// Draws the window test's pictures through the program's own surface, frame
// and viewer, in a window on the display named by DISPLAY:
//   window_driver <picture1.bmp> <picture2.bmp> ...
// One picture per bitmap name, the first on a white background, then
// alternating; each saves its bitmap and waits for Return (in the window or
// as a line on stdin). Exit status 0 after all of them, 1 when the input
// ends first, 3 when no window could be opened.
#include <iostream>

#include "draw/picture_frame.h"
#include "draw/viewer.h"
#include "text/console.h"
#include "window_picture.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) {
    std::cerr << "usage: window_driver picture1.bmp [picture2.bmp ...]\n";
    return 2;
  }
  std::unique_ptr<tambri::Viewer> viewer = tambri::make_viewer(false);
  if (!viewer->has_window()) {
    std::cerr << "window_driver: no window\n";
    return 3;
  }
  tambri::Console console(std::cin, std::cout, false);
  tambri::GraphicsSurface surface;
  tambri::OutputSettings output;
  output.bitmap_off = false;
  tambri::PictureFrame frame(surface, *viewer, console, output);
  try {
    for (int k = 1; k < argc; ++k) {
      output.white_background = k % 2 == 1;
      tambri::test::draw_window_test_picture(frame, surface);
      frame.end(argv[k]);
    }
  } catch (const tambri::EndOfInput&) {
    std::cerr << "window_driver: input ended\n";
    return 1;
  }
  surface.gfx_set_exit_no_prompt();
  std::cout << "done" << std::endl;
  return 0;
}
