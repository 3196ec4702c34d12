#pragma once
// The desktop window behind make_viewer (see viewer.h for what it promises).
#include <memory>
#include <ostream>

#include "draw/viewer.h"

namespace tambri {

// A viewer with a window of the surface's size, hidden until the first
// picture; null, after one line on `notes`, when none can be opened (or the
// build has no window support).
std::unique_ptr<Viewer> open_window_viewer(std::ostream& notes);

}  // namespace tambri
