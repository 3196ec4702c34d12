#include "draw/window_viewer.h"

#ifdef TAMBRI_HAVE_SDL2
#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "text/interrupt.h"
#endif

namespace tambri {

#ifdef TAMBRI_HAVE_SDL2
namespace {

// How long one look at standard input waits before the window's events are
// taken again: short enough for a prompt repaint to feel immediate.
constexpr int kEventIntervalMs = 20;

// The window's title whenever no picture has something to say under the
// pointer.
constexpr const char* kPlainTitle = "TAMBRI";

// Xlib's default handlers print and end the process: on a protocol error (a
// request on a window that another client destroyed) and when the connection
// goes away (the server ends, xkill). Neither may end the dialogue, and
// neither belongs on the console. Protocol errors change nothing the viewer
// relies on; a lost connection is noted by the exit handler, which returns
// instead of exiting, and the viewer goes headless.
int ignore_protocol_error(Display*, XErrorEvent*) { return 0; }
int quiet_io_error(Display*) { return 0; }
void note_connection_lost(Display*, void* lost) {
  if (lost) *static_cast<bool*>(lost) = true;
}

// SDL's own log (warnings from its video drivers) is English text for
// developers; the user sees at most our one line.
void drop_library_log(void*, int, SDL_LogPriority, const char*) {}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The video drivers worth trying, X11 first as SDL itself prefers. Wayland
// only where its client library can find the compositor: without
// XDG_RUNTIME_DIR a relative socket name makes it print a complaint of its
// own, and SDL falls back to it whenever X11 fails.
std::vector<const char*> video_drivers() {
  std::vector<const char*> drivers;
  if (!environment("DISPLAY").empty()) drivers.push_back("x11");
  const std::string wayland = environment("WAYLAND_DISPLAY");
  if (!wayland.empty() && (wayland[0] == '/' || !environment("XDG_RUNTIME_DIR").empty())) {
    drivers.push_back("wayland");
  }
  return drivers;
}

bool initialise_video(const std::vector<const char*>& drivers) {
  for (const char* driver : drivers) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
  }
  return false;
}

// The window is created hidden at start-up, so that its display connection is
// guarded from the first moment on, and shown by the first picture. It is
// closed, without asking, when the viewer is destroyed at program end.
//
// Lost window: once the window is destroyed or its connection gone, SDL must
// not be asked to show or hide it again (both block until the server
// confirms, which it never will). Every such call therefore comes after
// alive(), which pumps the events and notices either loss first.
class WindowViewer final : public Viewer {
 public:
  static std::unique_ptr<Viewer> open(std::ostream& notes) {
    // The threads SDL and Xlib start here take no SIGINT: it must reach the
    // dialogue's thread, which holds it back while a file is replaced (with
    // any other thread open to it, its default action would end the program
    // in the middle of the write).
    const InterruptsHeld threads_start_without_sigint;
    const std::vector<const char*> drivers = video_drivers();
    if (drivers.empty()) {
      notes << "tambri: keine Anzeige (DISPLAY nicht gesetzt), Bilder nur als Dateien\n";
      return nullptr;
    }
    // Ctrl-C must still end the program, and the screen saver is none of its
    // business.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A click that also brings the window to the front still copies.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_LogSetOutputFunction(drop_library_log, nullptr);
    // Before SDL opens its display: its own error handler passes errors on to
    // the one it found installed.
    XSetErrorHandler(ignore_protocol_error);
    if (!initialise_video(drivers)) {
      notes << "tambri: Anzeige \"" << environment("DISPLAY") << "\" nicht erreichbar, Bilder nur als Dateien\n";
      return nullptr;
    }
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, GraphicsSurface::kWidth, GraphicsSurface::kHeight, 32,
                                                        SDL_PIXELFORMAT_XRGB8888);
    SDL_Window* window = SDL_CreateWindow(kPlainTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          GraphicsSurface::kWidth, GraphicsSurface::kHeight, SDL_WINDOW_HIDDEN);
    if (!frame || !window) {
      if (window) SDL_DestroyWindow(window);
      if (frame) SDL_FreeSurface(frame);
      SDL_Quit();
      notes << "tambri: kein Bildfenster möglich, Bilder nur als Dateien\n";
      return nullptr;
    }
    return std::unique_ptr<Viewer>(new WindowViewer(frame, window, notes));
  }

  ~WindowViewer() override {
    if (alive(false)) {
      SDL_DestroyWindow(window_);
      SDL_Quit();
    } else if (display_) {
      // The connection stays as it is (closing it could only fail); its exit
      // handler must not write into this object any more.
      XSetIOErrorExitHandler(display_, note_connection_lost, nullptr);
    }
    SDL_FreeSurface(frame_);
  }

  bool has_window() const override { return !lost_; }

  void present(const GraphicsSurface& surface) override {
    if (!alive()) return;
    if (!shown_) {
      SDL_ShowWindow(window_);
      shown_ = true;
    }
    paint(surface);
  }

  void wait_for_return(const GraphicsSurface& surface, Console& console, const PictureProbe* probe) override {
    if (&console.input() == &std::cin && alive()) {
      // Return typed into the window, or a close request made, before the
      // picture was up does not count.
      take_events(Wait::Stale);
      present(surface);
      // A window lost before the picture was up leaves the wait to the
      // console, as without a window.
      if (!lost_) {
        probe_ = probe;
        // A pointer already resting on the picture is read without a move.
        int x = 0, y = 0;
        if (probe_ && SDL_GetMouseFocus() == window_) {
          SDL_GetMouseState(&x, &y);
          set_title(title_at(x, y));
        }
        const bool line_waits = wait_for_line(Wait::Picture);
        probe_ = nullptr;
        set_title(kPlainTitle);
        if (!line_waits) return;
      }
    }
    console.await_return();
  }

  void await_input(const GraphicsSurface& surface, std::istream& in) override {
    if (&in != &std::cin || !alive()) return;
    if (shown_) paint(surface);
    wait_for_line(Wait::Prompt);
  }

 private:
  // What a window event means: before a picture is up (stale: nothing), while
  // a picture waits (Return and a close request end the wait) or at a prompt
  // (a close request only hides the window).
  enum class Wait { Stale, Picture, Prompt };

  WindowViewer(SDL_Surface* frame, SDL_Window* window, std::ostream& notes)
      : frame_(frame), window_(window), notes_(notes) {
    // SDL may replace the X window by one suited to the framebuffer it picks
    // when the window surface is first asked for; so ask now, then look at
    // the window it will keep.
    SDL_GetWindowSurface(window_);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
      display_ = info.info.x11.display;
      x_window_ = info.info.x11.window;
      XSetIOErrorHandler(quiet_io_error);
      XSetIOErrorExitHandler(display_, note_connection_lost, &connection_lost_);
      // The X events themselves tell when another client destroys the window.
      SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
  }

  // Takes the window's events until standard input has a line (or its end, or
  // an error) to read, or Ctrl-C is noted for the console to take: true. A
  // picture's wait ends earlier, false, at Return in the window, a close
  // request or the loss of the window; a prompt's wait goes on reading
  // standard input when the window is lost.
  bool wait_for_line(Wait wait) {
    for (;;) {
      if (interrupt_pending()) return true;
      // A line may already sit in the stream's buffer, where poll cannot see it.
      if (std::cin.rdbuf()->in_avail() != 0) return true;
      if (take_events(wait)) return false;
      if (lost_) return true;
      pollfd input{STDIN_FILENO, POLLIN, 0};
      if (poll(&input, 1, kEventIntervalMs) > 0) return true;
    }
  }

  // Takes the pending events; true when one of them ends a picture's wait.
  bool take_events(Wait wait) {
    if (!alive()) return wait == Wait::Picture;
    SDL_Event event;
    while (!lost_ && SDL_PollEvent(&event)) {
      if (event.type == SDL_SYSWMEVENT) {
        note_destruction(event);
      } else if (event.type == SDL_KEYDOWN && !event.key.repeat &&
                 (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER)) {
        if (wait == Wait::Picture) return true;
      } else if (event.type == SDL_QUIT ||
                 (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
        if (wait == Wait::Stale) continue;
        if (shown_ && alive()) SDL_HideWindow(window_);
        shown_ = false;
        if (wait == Wait::Picture) return true;
      } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        if (shown_) SDL_UpdateWindowSurface(window_);
      } else if (wait == Wait::Picture && probe_) {
        take_probe_event(event);
      }
    }
    if (connection_lost_ && !lost_) lose();
    return lost_ && wait == Wait::Picture;
  }

  // The pointer over a probed picture: its reading in the title, copied at a
  // left click; the plain title where it has none and when the pointer
  // leaves the window.
  void take_probe_event(const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
      set_title(title_at(event.motion.x, event.motion.y));
    } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
      const std::optional<ProbeReading> reading = probe_->at_pixel(event.button.x, event.button.y);
      if (reading && SDL_SetClipboardText(reading->copy.c_str()) == 0) {
        set_title(reading->title + std::string(kCopiedNote));
      }
    } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_LEAVE) {
      set_title(kPlainTitle);
    }
  }

  // Window pixels are surface pixels: the surface is copied unscaled to the
  // window's origin, and the window cannot be resized. Pixels beyond the
  // surface lie outside every viewport.
  std::string title_at(int x, int y) const {
    const std::optional<ProbeReading> reading = probe_ ? probe_->at_pixel(x, y) : std::nullopt;
    return reading ? reading->title : kPlainTitle;
  }

  // Only a change reaches the server.
  void set_title(const std::string& title) {
    if (lost_ || title == title_) return;
    SDL_SetWindowTitle(window_, title.c_str());
    title_ = title;
  }

  // Pumps the events and tells whether window and connection are still there;
  // notices a loss, with one line on the notes when `tell`.
  bool alive(bool tell = true) {
    if (lost_) return false;
    SDL_PumpEvents();
    SDL_Event event;
    while (!lost_ && SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_SYSWMEVENT, SDL_SYSWMEVENT) > 0) {
      note_destruction(event, tell);
    }
    if (connection_lost_ && !lost_) lose(tell);
    return !lost_;
  }

  void note_destruction(const SDL_Event& event, bool tell = true) {
    const SDL_SysWMmsg* message = event.syswm.msg;
    if (message && message->subsystem == SDL_SYSWM_X11 && message->msg.x11.event.type == DestroyNotify &&
        message->msg.x11.event.xdestroywindow.window == x_window_) {
      lose(tell);
    }
  }

  void lose(bool tell = true) {
    lost_ = true;
    shown_ = false;
    if (tell) notes_ << "tambri: Bildfenster verloren, weiter ohne Fenster\n" << std::flush;
  }

  // The surface through its palette into the window.
  void paint(const GraphicsSurface& surface) {
    Uint32 colours[GraphicsSurface::kColours];
    for (int k = 0; k < GraphicsSurface::kColours; ++k) {
      const std::uint32_t c = surface.palette()[static_cast<size_t>(k)];
      colours[k] = 0xFF000000u | ((c & 0x3F) * 4) << 16 | ((c >> 8 & 0x3F) * 4) << 8 | (c >> 16 & 0x3F) * 4;
    }
    const std::uint8_t* in = surface.pixels();
    for (int y = 0; y < GraphicsSurface::kHeight; ++y) {
      auto* out = reinterpret_cast<Uint32*>(static_cast<std::uint8_t*>(frame_->pixels) + y * frame_->pitch);
      for (int x = 0; x < GraphicsSurface::kWidth; ++x) out[x] = colours[*in++];
    }
    if (SDL_Surface* target = SDL_GetWindowSurface(window_)) {
      SDL_BlitSurface(frame_, nullptr, target, nullptr);
      SDL_UpdateWindowSurface(window_);
    }
  }

  SDL_Surface* frame_;
  SDL_Window* window_;
  std::ostream& notes_;
  Display* display_ = nullptr;  // X11 only
  Window x_window_ = 0;
  bool connection_lost_ = false;  // set by Xlib's exit handler
  bool lost_ = false;             // window or connection gone: headless from now on
  bool shown_ = false;
  const PictureProbe* probe_ = nullptr;  // during a picture's wait only
  std::string title_ = kPlainTitle;
};

}  // namespace

std::unique_ptr<Viewer> open_window_viewer(std::ostream& notes) { return WindowViewer::open(notes); }

#else

std::unique_ptr<Viewer> open_window_viewer(std::ostream& notes) {
  notes << "tambri: ohne Bildfenster gebaut, Bilder nur als Dateien\n";
  return nullptr;
}

#endif

}  // namespace tambri
