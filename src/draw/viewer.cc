#include "draw/viewer.h"

#include "draw/window_viewer.h"

namespace tambri {

std::unique_ptr<Viewer> make_viewer(bool headless, std::ostream& notes) {
  if (!headless) {
    if (std::unique_ptr<Viewer> window = open_window_viewer(notes)) return window;
  }
  return std::make_unique<HeadlessViewer>();
}

}  // namespace tambri
