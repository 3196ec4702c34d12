#include "draw/viewer.h"

#ifdef TAMBRI_HAVE_SDL2
#include <SDL.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#endif

namespace tambri {

#ifdef TAMBRI_HAVE_SDL2
namespace {

// A desktop window of the surface's size. It is opened by the first picture
// shown and closed, without asking, when the viewer is destroyed at program end.
class WindowViewer final : public Viewer {
 public:
  static std::unique_ptr<Viewer> create() {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return nullptr;
    // Ctrl-C must still end the program, and the screen saver is none of its
    // business.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, GraphicsSurface::kWidth, GraphicsSurface::kHeight,
                                                        32, SDL_PIXELFORMAT_XRGB8888);
    if (!frame) {
      SDL_Quit();
      return nullptr;
    }
    return std::unique_ptr<Viewer>(new WindowViewer(frame));
  }

  ~WindowViewer() override {
    if (window_) SDL_DestroyWindow(window_);
    SDL_FreeSurface(frame_);
    SDL_Quit();
  }

  bool has_window() const override { return true; }

  void present(const GraphicsSurface& surface) override {
    if (!open_window()) return;
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
    SDL_PumpEvents();
  }

  void wait_for_return(const GraphicsSurface& surface, Console& console) override {
    present(surface);
    if (&console.input() != &std::cin) {
      console.read_line();
      return;
    }
    // A Return typed into the window before the picture was up does not count.
    SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
    SDL_FlushEvent(SDL_QUIT);
    for (;;) {
      // A line may already sit in the stream's buffer, where poll cannot see it.
      if (std::cin.rdbuf()->in_avail() != 0) break;
      pollfd input{STDIN_FILENO, POLLIN, 0};
      if (poll(&input, 1, 20) > 0) break;  // a line, the end of the input, or an error
      if (window_event_ends_wait()) return;
    }
    console.read_line();
  }

 private:
  explicit WindowViewer(SDL_Surface* frame) : frame_(frame) {}

  bool open_window() {
    if (!window_) {
      window_ = SDL_CreateWindow("TAMBRI", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                 GraphicsSurface::kWidth, GraphicsSurface::kHeight, 0);
    } else if (hidden_) {
      SDL_ShowWindow(window_);
    }
    hidden_ = false;
    return window_ != nullptr;
  }

  // Return in the window ends the wait; so does closing the window, which
  // hides it until the next picture.
  bool window_event_ends_wait() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_KEYDOWN && !event.key.repeat &&
          (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER)) {
        return true;
      }
      if (event.type == SDL_QUIT ||
          (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
        SDL_HideWindow(window_);
        hidden_ = true;
        return true;
      }
      if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        SDL_UpdateWindowSurface(window_);
      }
    }
    return false;
  }

  SDL_Surface* frame_;
  SDL_Window* window_ = nullptr;
  bool hidden_ = false;
};

}  // namespace
#endif

std::unique_ptr<Viewer> make_viewer(bool headless) {
#ifdef TAMBRI_HAVE_SDL2
  if (!headless) {
    if (std::unique_ptr<Viewer> window = WindowViewer::create()) return window;
  }
#else
  (void)headless;
#endif
  return std::make_unique<HeadlessViewer>();
}

}  // namespace tambri
