#include "model/field_problem.h"

#include <initializer_list>

namespace tambri {
namespace {

using Q = QuantityKind;

// Lowest material values; a material must be greater. Eps_rel and Mue_rel use
// single-precision 0.9 widened, so 0.9 itself is accepted.
constexpr double kLowestRelativeMaterial = static_cast<double>(0.9f);
constexpr double kLowestConductivity = 0.0;

// Problems E and S begin with the same potential and field strength rows.
std::vector<QuantityTexts> electric(std::initializer_list<QuantityTexts> flux_rows) {
  std::vector<QuantityTexts> rows = {
      {Q::kPotential, "P", "P  - Potential", "Potential (V)", "Potential (V)"},
      {Q::kStrength, "E", "E  - Betrag der Feldstärke", "Feldstaerke E  (V/m)", "Feldstärke E  (V/m)"},
      {Q::kStrengthX, "EX", "EX - x-Komp. von Feldstärke", "Feldstaerke Ex (V/m)", "Feldstärke Ex (V/m)"},
      {Q::kStrengthY, "EY", "EY - y-Komp. von Feldstärke", "Feldstaerke Ey (V/m)", "Feldstärke Ey (V/m)"},
  };
  rows.insert(rows.end(), flux_rows);
  return rows;
}

FieldProblemTraits electrostatic() {
  return {
      .letter = 'E',
      .loaded_line = " *** Feldproblem: Elektrostatisch ***",
      .replaced_line = " *** Elektrostatisch ***",
      .materials = {" Relative Permittivität:", " Nr.    Eps_rel"},
      .potentials = {" Konstante Potentiale:", " Nr.    Phi (V)"},
      .excitations = {" Raumladungsdichten:", " Nr.    Rho (As/m+3)"},
      .has_excitations = true,
      .lowest_material = kLowestRelativeMaterial,
      .material_keys = "K",
      .material_help = "K  - Epsilon",
      .material_title = "Epsilon (As/Vm)",
      .material_alias = "",
      .quantities = electric({
          {Q::kFlux, "D", "D  - Betrag der Verschiebungsflußdichte", "Ver.f.dichte D  (As/m+2)",
           "Ver.f.dichte D (As/m+2)"},
          {Q::kFluxX, "DX", "DX - x-Komp. von Verschiebungsflußdichte", "Ver.f.dichte Dx (As/m+2)",
           "Ver.f.dichte Dx (As/m+2)"},
          {Q::kFluxY, "DY", "DY - y-Komp. von Verschiebungsflußdichte", "Ver.f.dichte Dy (As/m+2)",
           "Ver.f.dichte Dy (As/m+2)"},
          {Q::kDensity, "WE", "WE - Energiedichte", "Energiedichte (Ws/m+3)", "Energiedichte (Ws/m+3)"},
      }),
      .arrows = {{false, "E", "E - Feldstärke", "Feldstaerke E  (V/m)"},
                 {true, "D", "D - Verschiebungsflußdichte", "Ver.fl.dichte D (As/m+2)"}},
      .path = {"Q", "Q  - Ladungsberechnung", " Integrationsweg (rot), Potentiale (blau), Raumladungen (gelb)",
               " Ladung", " Q'=", 2, " Q' =", " As/m"},
      .structure_title = " Material (Voll), Potential (Rechtecke), Raumladung (Rauten)",
      .potential_name = "Phi (V)",
      .file_arrays = {"Phi (V)", "Ex (V/m)", "Ey (V/m)", "Dx (As/m2)", "Dy (As/m2)", "we (Ws/m3)", "Epsilon (As/Vm)"},
  };
}

// Current flow has no sources: no excitation table and no excited parts.
FieldProblemTraits current_flow() {
  return {
      .letter = 'S',
      .loaded_line = " *** Feldproblem: Stationär elektrisch ***",
      .replaced_line = " *** Staionär elektrisch ***",
      .materials = {" Leitfähigkeit:", " Nr.    Kappa (S/m)"},
      .potentials = {" Konstante Potentiale:", " Nr.    Phi (V)"},
      .excitations = {"", ""},
      .has_excitations = false,
      .lowest_material = kLowestConductivity,
      .material_keys = "K",
      .material_help = "K  - Kappa",
      .material_title = "Kappa (S/m)",
      .material_alias = "",
      .quantities = electric({
          {Q::kFlux, "S", "S  - Betrag der Stromdichte", "Stromdichte S  (A/m+2)", "Stromdichte S  (A/m+2)"},
          {Q::kFluxX, "SX", "SX - x-Komp. von Stromdichte", "Stromdichte Sx (A/m+2)", "Stromdichte Sx (A/m+2)"},
          {Q::kFluxY, "SY", "SY - y-Komp. von Stromdichte", "Stromdichte Sy (A/m+2)", "Stromdichte Sy (A/m+2)"},
          {Q::kDensity, "PV", "PV - Verlustleistungsdichte", "Leistungsdichte (W/m+3)", "Leistungsdichte (W/m+3)"},
      }),
      .arrows = {{false, "E", "E - Feldstärke", "Feldstaerke E  (V/m)"},
                 {true, "S", "S - Stromdichte", "Stromdichte S  (A/m+2)"}},
      .path = {"I", "I  - Stromberechnung", " Integrationsweg (rot), Potentiale (blau)", " Strom", " I'=", 2,
               " I' =", " A/m"},
      .structure_title = " Material (Voll), Potential (Rechtecke)",
      .potential_name = "Phi (V)",
      .file_arrays = {"Phi (V)", "Ex (V/m)", "Ey (V/m)", "Sx (A/m2)", "Sy (A/m2)", "pv (W/m3)", "Kappa (S/m)"},
  };
}

// In problem M the material table shows the permeability; K selects it in
// RESULTS as in the other problems, though the help names P.
FieldProblemTraits magnetostatic() {
  return {
      .letter = 'M',
      .loaded_line = " *** Feldproblem: Stationär magnetisch ***",
      .replaced_line = " *** Staionär magnetisch ***",
      .materials = {" Relative Permeabilität:", " Nr.    Mue_rel"},
      .potentials = {" Konstante Vektorpotentiale:", " Nr.    Vz (Vs/m)"},
      .excitations = {" Stromdichten:", " Nr.    Sz (A/m+2)"},
      .has_excitations = true,
      .lowest_material = kLowestRelativeMaterial,
      .material_keys = "P",
      .material_help = "P  - Permeabilität",
      .material_title = "Permeabilität (Vs/Am)",
      .material_alias = "K",
      .quantities =
          {
              {Q::kPotential, "V", "V  - Vektorpotential", "Vektorpotential (Vs/m)", "Vektorpotential (Vs/m)"},
              {Q::kStrength, "H", "H  - Betrag der Feldstärke", "Feldstaerke H  (A/m)", "Feldstärke H  (A/m)"},
              {Q::kStrengthX, "HX", "HX - x-Komp. von Feldstärke", "Feldstaerke Hx (A/m)", "Feldstärke Hx (A/m)"},
              {Q::kStrengthY, "HY", "HY - y-Komp. von Feldstärke", "Feldstaerke Hy (A/m)", "Feldstärke Hy (A/m)"},
              {Q::kFlux, "B", "B  - Betrag der Flußdichte", "Flussdichte B (Vs/m+2)", "Flußdichte B (Vs/m+2)"},
              {Q::kFluxX, "BX", "BX - x-Komp. von Flußdichte", "Flussdichte Bx (Vs/m+2)", "Flußdichte Bx (Vs/m+2)"},
              {Q::kFluxY, "BY", "BY - y-Komp. von Flußdichte", "Flussdichte By (Vs/m+2)", "Flußdichte By (Vs/m+2)"},
              {Q::kDensity, "WM", "WM - Energiedichte", "Energiedichte (Ws/m+3)", "Energiedichte (Ws/m+3)"},
          },
      .arrows = {{false, "H", "H - Feldstärke", "Feldstaerke H (A/m)"},
                 {true, "B", "B - Flußdichte", "Flussdichte B (Vs/m+2)"}},
      .path = {"F", "F  - Flußberechnung", " Integrationsweg (rot), Potentiale (blau), Stromdichten (gelb)", " Fluss",
               "PHI'=", 1, " PHI' =", " Vs/m"},
      .structure_title = " Material (Voll), Potential (Rechtecke), Stromdichte (Rauten)",
      .potential_name = "Vz (Vs/m)",
      .file_arrays = {"Vz (Vs/m)", "Hx (A/m)", "Hy (A/m)", "Bx (Vs/m2)", "By (Vs/m2)", "wm (Ws/m3)", "Mu (Vs/Am)"},
  };
}

constexpr FieldProblem kAllProblems[] = {FieldProblem::kElectrostatic, FieldProblem::kCurrentFlow,
                                         FieldProblem::kMagnetostatic};

}  // namespace

std::optional<FieldProblem> problem_of_code(int32_t code) {
  for (FieldProblem problem : kAllProblems) {
    if (code_of(problem) == code) return problem;
  }
  return std::nullopt;
}

std::optional<FieldProblem> problem_of_letter(char letter) {
  for (FieldProblem problem : kAllProblems) {
    if (traits_of(problem).letter == letter) return problem;
  }
  return std::nullopt;
}

const FieldProblemTraits& traits_of(FieldProblem problem) {
  static const FieldProblemTraits kElectrostatic = electrostatic();
  static const FieldProblemTraits kCurrentFlow = current_flow();
  static const FieldProblemTraits kMagnetostatic = magnetostatic();
  switch (problem) {
    case FieldProblem::kElectrostatic: return kElectrostatic;
    case FieldProblem::kCurrentFlow: return kCurrentFlow;
    case FieldProblem::kMagnetostatic: return kMagnetostatic;
  }
  return kElectrostatic;  // not reached: a FieldProblem is made from a known code only
}

}  // namespace tambri
