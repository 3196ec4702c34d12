#include "core/potential_legend.h"

#include "model/assignment.h"

namespace tambri {

int potential_colour_step(int count) {
  if (count >= 6) return 1;
  if (count >= 4) return 2;
  if (count == 3) return 4;
  return 8;
}

PotentialLegend potential_legend(const StructureModel& model) {
  std::array<bool, 10> present{};
  const int nodes = model.grid.nodes();
  for (int k = 1; k <= nodes; ++k) {
    const int32_t value = model.occupancy[static_cast<size_t>(k)];
    if (is_fixed_potential(value)) present[static_cast<size_t>(value / 10)] = true;
  }

  PotentialLegend legend;
  for (int p = 1; p <= 9; ++p) {
    if (!present[static_cast<size_t>(p)]) continue;
    // Insertion by value; a later number goes behind an equal value, and a
    // value that does not compare (not a number) stays where it arrives.
    const PotentialEntry entry{p, model.tables.potential[static_cast<size_t>(p)], 0};
    int at = legend.count++;
    while (at > 0 && entry.value < legend.sorted[static_cast<size_t>(at - 1)].value) {
      legend.sorted[static_cast<size_t>(at)] = legend.sorted[static_cast<size_t>(at - 1)];
      --at;
    }
    legend.sorted[static_cast<size_t>(at)] = entry;
  }
  const int step = potential_colour_step(legend.count);
  for (int n = 0; n < legend.count; ++n) {
    PotentialEntry& e = legend.sorted[static_cast<size_t>(n)];
    e.colour = 1 + n * step;
    legend.colour_of[static_cast<size_t>(e.number)] = e.colour;
  }
  return legend;
}

}  // namespace tambri
