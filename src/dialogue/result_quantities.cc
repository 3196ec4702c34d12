#include "dialogue/result_quantities.h"

#include "dialogue/result_table.h"
#include "model/structure_model.h"

namespace tambri {
namespace {

using A = FieldArray;

// Problems E and S begin with the same potential and field strength rows.
std::vector<QuantityRow> electric(std::initializer_list<QuantityRow> flux_rows) {
  std::vector<QuantityRow> rows = {
      {"P", "P  - Potential", A::kPotential, A::kNone, false, "Potential (V)", kTablePotential, "Potential (V)"},
      {"E", "E  - Betrag der Feldstärke", A::kStrengthX, A::kStrengthY, true, "Feldstaerke E  (V/m)",
       kTableMagnitudeFirst, "Feldstärke E  (V/m)"},
      {"EX", "EX - x-Komp. von Feldstärke", A::kStrengthX, A::kStrengthY, false, "Feldstaerke Ex (V/m)", kTableLinks,
       "Feldstärke Ex (V/m)"},
      {"EY", "EY - y-Komp. von Feldstärke", A::kStrengthY, A::kStrengthX, false, "Feldstaerke Ey (V/m)", kTableOben,
       "Feldstärke Ey (V/m)"},
  };
  rows.insert(rows.end(), flux_rows);
  return rows;
}

const std::vector<QuantityRow> kElectrostatic = electric({
    {"D", "D  - Betrag der Verschiebungsflußdichte", A::kFluxX, A::kFluxY, true, "Ver.f.dichte D  (As/m+2)",
     kTableMagnitudeSecond, "Ver.f.dichte D (As/m+2)"},
    {"DX", "DX - x-Komp. von Verschiebungsflußdichte", A::kFluxX, A::kFluxY, false, "Ver.f.dichte Dx (As/m+2)",
     kTableMitte, "Ver.f.dichte Dx (As/m+2)"},
    {"DY", "DY - y-Komp. von Verschiebungsflußdichte", A::kFluxY, A::kFluxX, false, "Ver.f.dichte Dy (As/m+2)",
     kTableUnten, "Ver.f.dichte Dy (As/m+2)"},
    {"WE", "WE - Energiedichte", A::kDensity, A::kFluxX, false, "Energiedichte (Ws/m+3)", kTableRechts,
     "Energiedichte (Ws/m+3)"},
});

const std::vector<QuantityRow> kCurrentFlow = electric({
    {"S", "S  - Betrag der Stromdichte", A::kFluxX, A::kFluxY, true, "Stromdichte S  (A/m+2)", kTableMagnitudeSecond,
     "Stromdichte S  (A/m+2)"},
    {"SX", "SX - x-Komp. von Stromdichte", A::kFluxX, A::kFluxY, false, "Stromdichte Sx (A/m+2)", kTableMitte,
     "Stromdichte Sx (A/m+2)"},
    {"SY", "SY - y-Komp. von Stromdichte", A::kFluxY, A::kFluxX, false, "Stromdichte Sy (A/m+2)", kTableUnten,
     "Stromdichte Sy (A/m+2)"},
    {"PV", "PV - Verlustleistungsdichte", A::kDensity, A::kFluxX, false, "Leistungsdichte (W/m+3)", kTableRechts,
     "Leistungsdichte (W/m+3)"},
});

const std::vector<QuantityRow> kMagnetostatic = {
    {"V", "V  - Vektorpotential", A::kPotential, A::kNone, false, "Vektorpotential (Vs/m)", kTablePotential,
     "Vektorpotential (Vs/m)"},
    {"H", "H  - Betrag der Feldstärke", A::kStrengthX, A::kStrengthY, true, "Feldstaerke H  (A/m)",
     kTableMagnitudeFirst, "Feldstärke H  (A/m)"},
    {"HX", "HX - x-Komp. von Feldstärke", A::kStrengthX, A::kStrengthY, false, "Feldstaerke Hx (A/m)", kTableLinks,
     "Feldstärke Hx (A/m)"},
    {"HY", "HY - y-Komp. von Feldstärke", A::kStrengthY, A::kStrengthX, false, "Feldstaerke Hy (A/m)", kTableOben,
     "Feldstärke Hy (A/m)"},
    {"B", "B  - Betrag der Flußdichte", A::kFluxX, A::kFluxY, true, "Flussdichte B (Vs/m+2)", kTableMagnitudeSecond,
     "Flußdichte B (Vs/m+2)"},
    {"BX", "BX - x-Komp. von Flußdichte", A::kFluxX, A::kFluxY, false, "Flussdichte Bx (Vs/m+2)", kTableMitte,
     "Flußdichte Bx (Vs/m+2)"},
    {"BY", "BY - y-Komp. von Flußdichte", A::kFluxY, A::kFluxX, false, "Flussdichte By (Vs/m+2)", kTableUnten,
     "Flußdichte By (Vs/m+2)"},
    {"WM", "WM - Energiedichte", A::kDensity, A::kFluxX, false, "Energiedichte (Ws/m+3)", kTableRechts,
     "Energiedichte (Ws/m+3)"},
};

// Table-only rows carry no picture arrays.
QuantityRow table_row(std::string_view keys, std::string_view help, int selector, std::string_view title) {
  return {keys, help, A::kNone, A::kNone, false, "", selector, title};
}

const TableExtras kElectrostaticTable = {table_row("U", "U  - Strukturbelegung", kTableOccupancy, "Strukturbelegung"),
                                         table_row("K", "K  - Epsilon", kTableMaterial, "Epsilon (As/Vm)"), "", "Q",
                                         "Q  - Ladungsberechnung"};
const TableExtras kCurrentFlowTable = {table_row("U", "U  - Strukturbelegung", kTableOccupancy, "Strukturbelegung"),
                                       table_row("K", "K  - Kappa", kTableMaterial, "Kappa (S/m)"), "", "I",
                                       "I  - Stromberechnung"};
const TableExtras kMagnetostaticTable = {table_row("U", "U  - Strukturbelegung", kTableOccupancy, "Strukturbelegung"),
                                         table_row("P", "P  - Permeabilität", kTableMaterial, "Permeabilität (Vs/Am)"),
                                         "K", "F", "F  - Flußberechnung"};

const std::vector<ArrowRow> kElectrostaticArrows = {
    {"E", "E - Feldstärke", A::kStrengthX, A::kStrengthY, "Feldstaerke E  (V/m)"},
    {"D", "D - Verschiebungsflußdichte", A::kFluxX, A::kFluxY, "Ver.fl.dichte D (As/m+2)"},
};
const std::vector<ArrowRow> kCurrentFlowArrows = {
    {"E", "E - Feldstärke", A::kStrengthX, A::kStrengthY, "Feldstaerke E  (V/m)"},
    {"S", "S - Stromdichte", A::kFluxX, A::kFluxY, "Stromdichte S  (A/m+2)"},
};
const std::vector<ArrowRow> kMagnetostaticArrows = {
    {"H", "H - Feldstärke", A::kStrengthX, A::kStrengthY, "Feldstaerke H (A/m)"},
    {"B", "B - Flußdichte", A::kFluxX, A::kFluxY, "Flussdichte B (Vs/m+2)"},
};

}  // namespace

const NodeArray* field_array(const FieldArrays& arrays, FieldArray which) {
  const DerivedFields& d = arrays.derived;
  switch (which) {
    case A::kNone: return nullptr;
    case A::kPotential: return &arrays.solution.potential;
    case A::kStrengthX: return &d.strength_x;
    case A::kStrengthY: return &d.strength_y;
    case A::kFluxX: return &d.flux_x;
    case A::kFluxY: return &d.flux_y;
    case A::kDensity: return &d.density;
  }
  return nullptr;
}

const std::vector<QuantityRow>& quantity_rows(int problem) {
  switch (problem) {
    case kProblemS: return kCurrentFlow;
    case kProblemM: return kMagnetostatic;
    default: return kElectrostatic;
  }
}

const TableExtras& table_extras(int problem) {
  switch (problem) {
    case kProblemS: return kCurrentFlowTable;
    case kProblemM: return kMagnetostaticTable;
    default: return kElectrostaticTable;
  }
}

const std::vector<ArrowRow>& arrow_rows(int problem) {
  switch (problem) {
    case kProblemS: return kCurrentFlowArrows;
    case kProblemM: return kMagnetostaticArrows;
    default: return kElectrostaticArrows;
  }
}

}  // namespace tambri
