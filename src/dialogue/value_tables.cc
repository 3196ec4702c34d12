#include "dialogue/value_tables.h"

#include <string>

#include "text/fortran_format.h"

namespace tambri {
namespace {

struct TableText {
  const char* title;
  const char* header;
};

TableText text_of(ValueTable table, int32_t problem) {
  switch (table) {
    case ValueTable::Material:
      if (problem == kProblemS) return {" Leitfähigkeit:", " Nr.    Kappa (S/m)"};
      if (problem == kProblemM) return {" Relative Permeabilität:", " Nr.    Mue_rel"};
      return {" Relative Permittivität:", " Nr.    Eps_rel"};
    case ValueTable::Potential:
      if (problem == kProblemM) return {" Konstante Vektorpotentiale:", " Nr.    Vz (Vs/m)"};
      return {" Konstante Potentiale:", " Nr.    Phi (V)"};
    case ValueTable::Excitation:
      if (problem == kProblemM) return {" Stromdichten:", " Nr.    Sz (A/m+2)"};
      return {" Raumladungsdichten:", " Nr.    Rho (As/m+3)"};
  }
  return {"", ""};
}

double& entry(StructureModel& model, ValueTable table, int number) {
  ValueTables& t = model.tables;
  switch (table) {
    case ValueTable::Material: return number == 0 ? t.material0 : t.material[number];
    case ValueTable::Potential: return t.potential[number];
    case ValueTable::Excitation: return t.excitation[number];
  }
  return t.material0;
}

int lowest_number(ValueTable table) { return table == ValueTable::Material ? 0 : 1; }

void write_rows(Console& console, StructureModel& model, ValueTable table) {
  for (int n = lowest_number(table); n <= 9; ++n) {
    std::string row = " " + format_i(n, 1) + "     " + format_e10(entry(model, table, n));
    if (table == ValueTable::Material && n == 0) row += "  (Vorbelegung)";
    console.record(row);
  }
}

}  // namespace

void edit_value_table(Console& console, StructureModel& model, ValueTable table) {
  const TableText text = text_of(table, model.problem);
  console.message(text.title);
  console.record(text.header);
  console.empty_line();
  write_rows(console, model, table);
  const double lowest = model.problem == kProblemS ? kLowestConductivity : kLowestRelativeMaterial;
  int number = 0;
  double value = 0;
  for (;;) {
    console.prompt_after_empty_line(" Nr.  Wert >");
    if (!console.read_numbers({number, value})) return;
    if (number < lowest_number(table) || number > 9) {
      console.message(" ### Falsche Nummer ###");
    } else if (table == ValueTable::Material && !(value > lowest)) {
      console.message(" ### Zu kleiner Wert ###");
    } else {
      break;
    }
  }
  entry(model, table, number) = value;
  console.message(" Neue Werte:");
  console.record(text.header);
  console.empty_line();
  write_rows(console, model, table);
  model.modified = true;
}

}  // namespace tambri
