#pragma once
// Where the pictures are seen. The program owns one viewer for the whole run:
// a window that shows the surface (when built with SDL2 and a display is
// there), or nothing at all (headless, pictures only as files). Either way
// the dialogue stays on the console.
#include <istream>
#include <memory>
#include <ostream>

#include "draw/picture_probe.h"
#include "draw/surface.h"
#include "text/console.h"
#include "text/input_waiter.h"

namespace tambri {

class Viewer {
 public:
  virtual ~Viewer() = default;
  // Shows the surface as it is now. A plot calls it before it reads anything
  // from the console while its picture is up (wait_for_return does it itself).
  virtual void present(const GraphicsSurface& surface) = 0;
  // Shows the surface and waits until the user presses Return: one input line
  // on the console (read and ignored; Ctrl-C at a terminal counts as Return)
  // or, in a window, the Return key. Throws EndOfInput when the input is
  // closed. With a `probe`, a window shows its reading for the point under
  // the pointer in the title bar and copies it at a left click; the plain
  // title comes back when the wait ends. Nothing else changes.
  virtual void wait_for_return(const GraphicsSurface& surface, Console& console,
                               const PictureProbe* probe = nullptr) = 0;
  // The dialogue is about to block on a line from `in`. A window that is up
  // shows `surface` as it is now and keeps itself painted and answering the
  // desktop until the line is there; the Return key means nothing here.
  virtual void await_input(const GraphicsSurface&, std::istream&) {}
  // True while pictures are seen in a window.
  virtual bool has_window() const = 0;
};

// Shows nothing; the wait reads one console line.
class HeadlessViewer final : public Viewer {
 public:
  void present(const GraphicsSurface&) override {}
  void wait_for_return(const GraphicsSurface&, Console& console, const PictureProbe* = nullptr) override {
    console.await_return();
  }
  bool has_window() const override { return false; }
};

// Hands the console's waits to the viewer, so the window of `surface` stays
// alive at every prompt.
class ViewerInputWaiter final : public InputWaiter {
 public:
  ViewerInputWaiter(Viewer& viewer, const GraphicsSurface& surface) : viewer_(viewer), surface_(surface) {}
  void await_input(std::istream& in) override { viewer_.await_input(surface_, in); }

 private:
  Viewer& viewer_;
  const GraphicsSurface& surface_;
};

// A window viewer unless `headless`, the build has no window support or no
// window can be opened; then a headless one, with one line on `notes` when a
// window was asked for. A window that is closed by the user is hidden until
// the next picture; one that is destroyed, or whose display goes away, turns
// the viewer headless for the rest of the run, with one line on `notes`.
//
// A window viewer that waits polls standard input, so it must only be used
// with a console reading std::cin without stdio synchronisation
// (std::ios::sync_with_stdio(false)), which lets it see lines already
// buffered; with any other console input it reads a line like the headless
// viewer.
std::unique_ptr<Viewer> make_viewer(bool headless, std::ostream& notes);

}  // namespace tambri
