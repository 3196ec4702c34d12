// What other X clients do to the picture window, for the window tests:
//   x_window_tool close <id>        the close request a window manager sends
//                                   (WM_DELETE_WINDOW)
//   x_window_tool destroy <id>      destroys the window, as any client may
//   x_window_tool cover <id> <ms>   maps a white window over it, writes
//                                   "covered", and takes it away after <ms>
//   x_window_tool state <id>        writes "viewable", "unmapped" or "gone"
//   x_window_tool origin <id>       writes the root position of its top-left
//                                   pixel, "x y"
// <id> is the decimal window id xdotool prints. Exit status 0, 1 on failure.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

int no_exit_on_error(Display*, XErrorEvent*) { return 0; }

int close_request(Display* d, Window w) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(d, w, False, NoEventMask, &event);
  XSync(d, False);
  return sent ? 0 : 1;
}

int cover(Display* d, Window w, int ms) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return 1;
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(d, w, a.root, 0, 0, &x, &y, &child);
  XSetWindowAttributes set{};
  set.override_redirect = True;
  set.background_pixel = WhitePixel(d, DefaultScreen(d));
  const Window lid = XCreateWindow(d, a.root, x, y, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                                   0, CopyFromParent, InputOutput, CopyFromParent,
                                   CWOverrideRedirect | CWBackPixel, &set);
  XMapRaised(d, lid);
  XSync(d, False);
  std::printf("covered\n");
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  XDestroyWindow(d, lid);
  XSync(d, False);
  return 0;
}

int state(Display* d, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) {
    std::printf("gone\n");
  } else {
    std::printf(a.map_state == IsViewable ? "viewable\n" : "unmapped\n");
  }
  return 0;
}

int origin(Display* d, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) return 1;
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(d, w, a.root, 0, 0, &x, &y, &child);
  std::printf("%d %d\n", x, y);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: x_window_tool close|destroy|cover|state|origin <id> [ms]\n");
    return 1;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "x_window_tool: no display\n");
    return 1;
  }
  XSetErrorHandler(no_exit_on_error);
  const std::string command = argv[1];
  const Window w = std::strtoul(argv[2], nullptr, 10);
  int status = 1;
  if (command == "close") status = close_request(d, w);
  if (command == "destroy") {
    XDestroyWindow(d, w);
    XSync(d, False);
    status = 0;
  }
  if (command == "cover" && argc > 3) status = cover(d, w, std::atoi(argv[3]));
  if (command == "state") status = state(d, w);
  if (command == "origin") status = origin(d, w);
  XCloseDisplay(d);
  return status;
}
