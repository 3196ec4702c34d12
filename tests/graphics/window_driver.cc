// Draws the window test's pictures through the program's own surface, frame
// and viewer, in a window on the display named by DISPLAY:
//   window_driver <first.bmp> <second.bmp>
// The first picture (white background) waits for a line on stdin; the second
// (black background) for the next one, which the test sends in the same
// write, so it must be taken from the stream's buffer. Exit status 0 after
// both, 3 when no window could be opened.
#include <iostream>

#include "graphics/picture_frame.h"
#include "graphics/viewer.h"
#include "main/console.h"
#include "window_picture.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc != 3) {
    std::cerr << "usage: window_driver first.bmp second.bmp\n";
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
  output.white_background = true;
  tambri::PictureFrame frame(surface, *viewer, console, output);
  try {
    tambri::test::draw_window_test_picture(frame, surface);
    frame.end(argv[1]);
    output.white_background = false;
    tambri::test::draw_window_test_picture(frame, surface);
    frame.end(argv[2]);
  } catch (const tambri::EndOfInput&) {
    std::cerr << "window_driver: input ended\n";
    return 1;
  }
  surface.gfx_set_exit_no_prompt();
  std::cout << "done" << std::endl;
  return 0;
}
