// What other X clients do to the picture window, for the window tests:
//   x_window_tool close <id>        the close request a window manager sends
//                                   (WM_DELETE_WINDOW)
//   x_window_tool cover <id> <ms>   maps a white window over it, writes
//                                   "covered", and takes it away after <ms>
//   x_window_tool state <id>        writes "viewable", "unmapped" or "gone"
//   x_window_tool compare <id> <bmp> [root]
//                                   compares the window (with "root": the
//                                   screen where it lies, covering windows
//                                   included) with an 800 x 630 bitmap a
//                                   picture saved; writes the numbers of
//                                   differing pixels outside and inside the
//                                   cells of the picture's " <Return>" (text
//                                   row 28, columns 89-97), "outside prompt"
// <id> is the decimal window id xdotool prints. Exit status 0, 1 on failure.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  Display* d = argc >= 3 ? XOpenDisplay(nullptr) : nullptr;
  if (!d) return 1;
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const std::string command = argv[1];
  const Window w = std::strtoul(argv[2], nullptr, 10);
  XWindowAttributes a;
  const bool exists = XGetWindowAttributes(d, w, &a);
  int x = 0, y = 0;
  Window child;
  if (exists) XTranslateCoordinates(d, w, a.root, 0, 0, &x, &y, &child);
  int status = 0;
  if (command == "close") {
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, d, w, XInternAtom(d, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));  // [1]: CurrentTime
    status = XSendEvent(d, w, False, NoEventMask, &event) ? 0 : 1;
  } else if (command == "cover" && exists && argc > 3) {
    XSetWindowAttributes set{};
    set.override_redirect = True;
    set.background_pixel = WhitePixel(d, DefaultScreen(d));
    const Window lid =
        XCreateWindow(d, a.root, x, y, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &set);
    XMapRaised(d, lid);
    XSync(d, False);
    std::printf("covered\n"), std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[3])));
    XDestroyWindow(d, lid);
  } else if (command == "state") {
    std::printf(!exists ? "gone\n" : a.map_state == IsViewable ? "viewable\n" : "unmapped\n");
  } else if (command == "compare" && exists && argc > 3) {
    std::ifstream in(argv[3], std::ios::binary);
    const std::string bmp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int width = 800, height = 630, offset = 14 + 40 + 1024;
    const bool root = argc > 4;
    XImage* image = XGetImage(d, root ? a.root : w, root ? x : 0, root ? y : 0, width, height, AllPlanes, ZPixmap);
    if (!image || bmp.size() != offset + static_cast<size_t>(width) * height) return 1;
    const auto channel = [](unsigned long v, unsigned long mask) { return (v & mask) >> __builtin_ctzl(mask); };
    const auto byte = [&bmp](size_t at) { return static_cast<unsigned long>(static_cast<unsigned char>(bmp[at])); };
    int outside = 0, prompt = 0;
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        const unsigned long v = XGetPixel(image, column, row);
        const size_t entry = 54 + 4 * byte(offset + static_cast<size_t>((height - 1 - row) * width + column));
        if (channel(v, image->red_mask) != byte(entry + 2) || channel(v, image->green_mask) != byte(entry + 1) ||
            channel(v, image->blue_mask) != byte(entry))
          ++(column >= 8 * 88 && column < 8 * 97 && row >= 16 * 27 && row < 16 * 28 ? prompt : outside);
      }
    }
    std::printf("%d %d\n", outside, prompt);
    XDestroyImage(image);
  } else {
    status = 1;
  }
  XSync(d, False);
  XCloseDisplay(d);
  return status;
}
