#pragma once
// The fixed potentials a structure uses, sorted by value, each with one of
// the nine colours of the structure palette spread over the range: two
// potentials take the ends (1 and 9), three the ends and the middle. Prints
// and draws nothing.
#include <array>

#include "model/structure_model.h"

namespace tambri {

struct PotentialEntry {
  int number = 0;    // 1..9
  double value = 0;  // from the potential table
  int colour = 0;    // 1..9
};

struct PotentialLegend {
  int count = 0;
  std::array<PotentialEntry, 9> sorted{};  // [0..count), by rising value
  std::array<int, 10> colour_of{};         // by potential number; 0 when absent
};

// The distance between the colours of neighbouring values: 1 for six or more
// potentials, 2 for four or five, 4 for three, 8 for one or two.
int potential_colour_step(int count);

// The potentials of every fixed-potential node of the grid (occupancy 10..99),
// not only of a shown part. Equal values keep the order of their numbers.
PotentialLegend potential_legend(const StructureModel& model);

}  // namespace tambri
