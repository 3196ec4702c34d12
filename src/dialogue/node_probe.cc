#include "dialogue/node_probe.h"

#include <charconv>

#include "model/assignment.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

namespace tambri {
namespace {

// 32 characters hold the shortest form of any double.
std::string shortest(double value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string node_text(GridNode node) { return "(" + std::to_string(node.i) + ", " + std::to_string(node.j) + ")"; }

std::string value_text(const NodeQuantity& quantity, int k) {
  return trim_trailing_blanks(quantity.name) + " =" + format_e10(quantity.value(k));
}

bool has_node_of(const Grid& grid, CutAbscissa abscissa, int first, int last, int line) {
  const int along = abscissa == CutAbscissa::X ? grid.nx : grid.ny;
  const int across = abscissa == CutAbscissa::X ? grid.ny : grid.nx;
  return first >= 1 && first <= last && last <= along && line >= 1 && line <= across;
}

}  // namespace

NodeProbe::NodeProbe(const WorldMapping& drawn, const Grid& grid, const DisplayWindow& window,
                     const NodeQuantity& quantity)
    : PictureProbe(drawn), grid_(grid), window_(window), quantity_(quantity) {}

NodeProbe::NodeProbe(const WorldMapping& drawn, const Grid& grid, const DisplayWindow& window,
                     std::span<const int32_t> occupancy)
    : PictureProbe(drawn), grid_(grid), window_(window), occupancy_(occupancy) {}

std::optional<ProbeReading> NodeProbe::read(WorldPoint at) const {
  const double x = at.y, y = at.x;  // drawn as (model y, model x)
  const std::optional<GridNode> node = nearest_node(grid_, window_.i1, window_.i2, window_.j1, window_.j2, x, y);
  if (!node) return std::nullopt;
  const int k = grid_.node(node->i, node->j);
  std::string title = "x=" + format_e10(x) + "  y=" + format_e10(y) + "  " + node_text(*node) + "  ";
  if (quantity_) {
    title += value_text(*quantity_, k);
  } else {
    if (static_cast<size_t>(k) >= occupancy_.size()) return std::nullopt;
    title += assignment_words(occupancy_[static_cast<size_t>(k)]);
  }
  return ProbeReading{title, node_copy_text(grid_, *node)};
}

CutProbe::CutProbe(const WorldMapping& drawn, const Grid& grid, const NodeQuantity& quantity, CutAbscissa abscissa,
                   int first, int last, int line)
    : PictureProbe(drawn),
      grid_(grid),
      quantity_(quantity),
      abscissa_(abscissa),
      first_(first),
      last_(last),
      line_(line) {}

std::optional<ProbeReading> CutProbe::read(WorldPoint at) const {
  if (!has_node_of(grid_, abscissa_, first_, last_, line_)) return std::nullopt;
  const bool along_x = abscissa_ == CutAbscissa::X;
  const std::optional<int> n = nearest_line(along_x ? grid_.x : grid_.y, first_, last_, at.x);
  if (!n) return std::nullopt;
  const GridNode node = along_x ? GridNode{*n, line_} : GridNode{line_, *n};
  const std::string title = (along_x ? "x=" : "y=") + format_e10(along_x ? grid_.x[*n] : grid_.y[*n]) + "  " +
                            node_text(node) + "  " + value_text(quantity_, grid_.node(node.i, node.j));
  return ProbeReading{title, node_copy_text(grid_, node)};
}

std::string assignment_words(int32_t occupancy) {
  std::string words = "Material " + std::to_string(occupancy_material(occupancy));
  if (const int p = occupancy_potential(occupancy)) words += ", Potential " + std::to_string(p);
  if (const int e = occupancy_excitation(occupancy)) words += ", Erregung " + std::to_string(e);
  return words;
}

std::string node_copy_text(const Grid& grid, GridNode node) {
  return shortest(grid.x[node.i]) + " " + shortest(grid.y[node.j]);
}

}  // namespace tambri
