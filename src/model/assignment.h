#pragma once
// The assignment code a geometry part carries, and the occupancy digits of a node.
//   material m   -> m        (0..9)
//   potential p  -> 10 * p   (10..90)
//   excitation e -> 100 * e  (100..900)
//   empty        -> 10000
// A node's occupancy value is 100*e + 10*p + m; never both p and e.
#include <cstdint>

namespace tambri {

inline constexpr int32_t kEmptyCode = 10000;

enum class PartKind { Material, Potential, Excitation, Empty };

struct DecodedAssignment {
  PartKind kind;
  int number;  // 0 for Empty
  char letter() const {
    switch (kind) {
      case PartKind::Material: return 'M';
      case PartKind::Potential: return 'P';
      case PartKind::Excitation: return 'E';
      case PartKind::Empty: return 'L';
    }
    return '?';
  }
};

inline DecodedAssignment decode_assignment(int32_t code) {
  if (code == kEmptyCode) return {PartKind::Empty, 0};
  if (code >= 100) return {PartKind::Excitation, code / 100};
  if (code >= 10) return {PartKind::Potential, code / 10};
  return {PartKind::Material, code};
}

inline int32_t encode_assignment(PartKind kind, int number) {
  switch (kind) {
    case PartKind::Material: return number;
    case PartKind::Potential: return 10 * number;
    case PartKind::Excitation: return 100 * number;
    case PartKind::Empty: return kEmptyCode;
  }
  return kEmptyCode;
}

// Digits of an occupancy value.
inline int occupancy_material(int32_t v) { return v % 10; }
inline int occupancy_potential(int32_t v) { return (v % 100) / 10; }
inline int occupancy_excitation(int32_t v) { return v / 100; }
// Whether a node's occupancy value fixes its potential, or carries an
// excitation (100*e + m, a source term); a node never has both.
inline bool is_fixed_potential(int32_t v) { return v >= 10 && v <= 99; }
inline bool is_excitation(int32_t v) { return v >= 100 && v <= 909; }

}  // namespace tambri
