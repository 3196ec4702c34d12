#pragma once
// What the pictures of the structure and of its fields tell about the point
// under the pointer: the model coordinates there, the nearest grid node of
// the shown part, and the node's value or assignment, as one title line
//   x= 5.000E-02  y= 3.100E-02  (21, 32)  Feldstaerke E  (V/m) = 4.000E+03
//   x= 5.000E-02  y= 3.100E-02  (21, 32)  Material 3, Potential 1
// and the node's coordinates as "x y" for the clipboard.
//
// These pictures draw the model point (x, y) at the world point (y, x);
// the probes turn it back. A logarithmic picture still reads the value.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/cut_points.h"
#include "core/nearest_node.h"
#include "core/node_quantity.h"
#include "draw/display_window.h"
#include "draw/picture_probe.h"
#include "model/structure_model.h"

namespace tambri {

class NodeProbe final : public PictureProbe {
 public:
  // The quantity's name and its value at the node. For the arrows, the
  // magnitude of the two components: {x, y, true, name}.
  NodeProbe(const WorldMapping& drawn, const Grid& grid, const DisplayWindow& window, const NodeQuantity& quantity);
  // The node's assignment in words, from its occupancy value.
  NodeProbe(const WorldMapping& drawn, const Grid& grid, const DisplayWindow& window,
            std::span<const int32_t> occupancy);

  std::optional<ProbeReading> read(WorldPoint at) const override;

 private:
  const Grid& grid_;
  DisplayWindow window_;
  std::optional<NodeQuantity> quantity_;
  std::span<const int32_t> occupancy_;
};

// The cut picture draws abscissa across and value upward; it tells the
// abscissa of the curve's point nearest to the pointer, its node and the
// value there:
//   x= 5.000E-02  (21, 32)  Feldstaerke E  (V/m) = 4.000E+03
class CutProbe final : public PictureProbe {
 public:
  // The cut along `abscissa` on grid line `line` of the other direction,
  // through the points first..last.
  CutProbe(const WorldMapping& drawn, const Grid& grid, const NodeQuantity& quantity, CutAbscissa abscissa, int first,
           int last, int line);

  std::optional<ProbeReading> read(WorldPoint at) const override;

 private:
  const Grid& grid_;
  NodeQuantity quantity_;
  CutAbscissa abscissa_;
  int first_, last_, line_;
};

// "Material m", then ", Potential p" and ", Erregung e" for the digits of
// the occupancy value that are set.
std::string assignment_words(int32_t occupancy);

// "x y" of the node, each in the shortest form that reads back as the very
// same number: the prompts snap a typed coordinate to the line at or below
// it, so a rounded one could land on the line before.
std::string node_copy_text(const Grid& grid, GridNode node);

}  // namespace tambri
