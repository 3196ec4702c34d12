#pragma once
// What a picture tells about the point under the pointer while it waits for
// Return in the window: a text for the window's title and one for the
// clipboard. A picture builds its probe on the mapping its field was drawn
// with, which the picture run keeps, and hands it to the wait:
//
//   run.set_world(world);                 // ... draw the field ...
//   ... legend (another viewport) ...
//   run.end(" <Return>", run.probe<NodeProbe>(grid, window, quantity));
//
// The probe only reads: it must outlive the wait, nothing more.
#include <optional>
#include <string>
#include <string_view>

#include "draw/surface.h"

namespace tambri {

struct ProbeReading {
  std::string title;  // shown in the window's title bar
  std::string copy;   // put on the clipboard by a left click
};

// Appended to the title when a click has copied.
inline constexpr std::string_view kCopiedNote = "  kopiert";

class PictureProbe {
 public:
  explicit PictureProbe(const WorldMapping& drawn) : drawn_(drawn) {}
  virtual ~PictureProbe() = default;

  // The reading at surface pixel (x, y): none outside the drawing area or
  // where the picture has nothing to say.
  std::optional<ProbeReading> at_pixel(int x, int y) const {
    const std::optional<WorldPoint> at = drawn_.world_at(x, y);
    return at ? read(*at) : std::nullopt;
  }

  // The reading at a world point of the mapping the picture drew with.
  virtual std::optional<ProbeReading> read(WorldPoint at) const = 0;

  const WorldMapping& mapping() const { return drawn_; }

 private:
  WorldMapping drawn_;
};

}  // namespace tambri
