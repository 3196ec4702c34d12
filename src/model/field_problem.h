#pragma once
// The three field problems and everything the program names or offers
// differently for them, in one table: ask traits_of(problem) what a thing is
// called, which value tables exist and which quantities the results have.
// Switch on FieldProblem only where the physics differs (material
// coefficients, sources, the field from the potential).
#include <cstdint>
#include <optional>
#include <vector>

namespace tambri {

// The values are the codes stored in the structure file.
enum class FieldProblem : int32_t { kElectrostatic = 1, kCurrentFlow = 2, kMagnetostatic = 3 };

// The problem of a structure file's code; none for a code the program does not know.
std::optional<FieldProblem> problem_of_code(int32_t code);
inline int32_t code_of(FieldProblem problem) { return static_cast<int32_t>(problem); }

// The problem chosen by its letter E, S or M; none for any other letter.
std::optional<FieldProblem> problem_of_letter(char letter);

// What a quantity of the results shows: the potential, the field strength
// (E or H) or the flux or current density (D, S or B) as magnitude or one
// component, or the energy or loss power density.
enum class QuantityKind { kPotential, kStrength, kStrengthX, kStrengthY, kFlux, kFluxX, kFluxY, kDensity };

struct QuantityTexts {
  QuantityKind kind;
  const char* keys;         // "EX"
  const char* help;         // "EX - x-Komp. von Feldstärke"
  const char* plot_name;    // on the pictures: "Feldstaerke Ex (V/m)"
  const char* table_title;  // above the table: "Feldstärke Ex (V/m)"
};

// A vector of the arrow picture: the field strength or the flux density.
struct ArrowTexts {
  bool flux;
  const char* keys;
  const char* help;
  const char* name;
};

struct ValueTableTexts {
  const char* title;
  const char* header;
};

// The path integral: its table menu entry, the picture and the console line.
struct PathIntegralTexts {
  const char* keys;    // "Q"
  const char* help;    // "Q  - Ladungsberechnung"
  const char* title;   // of the picture
  const char* label;   // beside the picture's value
  const char* result;  // the value's name on the picture
  int result_column;
  const char* console;  // the value's name on the console
  const char* unit;
};

// Names of the node arrays in the result file for the visualisation tools.
struct FileArrayNames {
  const char* potential;
  const char* strength_x;
  const char* strength_y;
  const char* flux_x;
  const char* flux_y;
  const char* density;
  const char* material;
};

struct FieldProblemTraits {
  char letter;                // as chosen in the new-problem menu
  const char* loaded_line;    // after a structure file's problem was read
  const char* replaced_line;  // the old problem when GENERATE F changes it
  ValueTableTexts materials, potentials, excitations;
  bool has_excitations;    // sources: the excitation table and the part kind
  double lowest_material;  // a material value must be greater
  // The material coefficient as a table of CALCUL and RESULTS; in RESULTS the
  // alias (if not empty) selects it as well.
  const char* material_keys;
  const char* material_help;
  const char* material_title;
  const char* material_alias;
  std::vector<QuantityTexts> quantities;  // in menu order
  std::vector<ArrowTexts> arrows;
  PathIntegralTexts path;
  const char* structure_title;  // of the structure picture
  const char* potential_name;   // in the legend of the arrow picture
  FileArrayNames file_arrays;
};

const FieldProblemTraits& traits_of(FieldProblem problem);

}  // namespace tambri
