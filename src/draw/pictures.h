#pragma once
// What a picture draws on and where it is seen; handed to every menu that
// shows pictures.
#include "draw/surface.h"
#include "draw/viewer.h"

namespace tambri {

struct Pictures {
  GraphicsSurface& surface;
  Viewer& viewer;
};

}  // namespace tambri
