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
//   x_window_tool name <id>         writes the window's name (the title bar's
//                                   text, UTF-8)
//   x_window_tool clipboard <id>    writes the text another client holds as
//                                   the CLIPBOARD selection (<id> unused);
//                                   exit status 1 when none answers within
//                                   five seconds
// <id> is the decimal window id xdotool prints. Exit status 0, 1 on failure.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

// The 8-bit text property `name` of `w`, if it has one of type `type`.
bool print_text_property(Display* d, Window w, Atom name, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  const bool ok =
      XGetWindowProperty(d, w, name, 0, 1 << 16, False, type, &actual, &format, &items, &after, &data) == Success &&
      actual == type && format == 8;
  if (ok) std::printf("%.*s\n", static_cast<int>(items), reinterpret_cast<const char*>(data));
  if (data) XFree(data);
  return ok;
}

// Asks the CLIPBOARD's owner for UTF-8 text into a property of a window of
// our own and waits for the answer.
bool print_clipboard(Display* d) {
  const Window own = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False), into = XInternAtom(d, "TAMBRI_TEST_PASTE", False);
  XConvertSelection(d, XInternAtom(d, "CLIPBOARD", False), utf8, into, own, CurrentTime);
  XFlush(d);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    while (XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      if (event.type == SelectionNotify && event.xselection.requestor == own) {
        return event.xselection.property != None && print_text_property(d, own, into, utf8);
      }
    }
    pollfd connection{ConnectionNumber(d), POLLIN, 0};
    poll(&connection, 1, 100);
  }
  return false;
}

}  // namespace

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
  } else if (command == "name" && exists) {
    if (!print_text_property(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False))) {
      char* name = nullptr;
      status = XFetchName(d, w, &name) && name ? 0 : 1;
      if (name) std::printf("%s\n", name), XFree(name);
    }
  } else if (command == "clipboard") {
    status = print_clipboard(d) ? 0 : 1;
  } else {
    status = 1;
  }
  XSync(d, False);
  XCloseDisplay(d);
  return status;
}
