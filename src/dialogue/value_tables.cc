#include "dialogue/value_tables.h"

#include <string>

#include "text/fortran_format.h"

namespace tambri {
namespace {

const ValueTableTexts& texts_of(ValueTable table, const FieldProblemTraits& traits) {
  switch (table) {
    case ValueTable::Material: return traits.materials;
    case ValueTable::Potential: return traits.potentials;
    case ValueTable::Excitation: return traits.excitations;
  }
  return traits.materials;
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
  const FieldProblemTraits& traits = traits_of(model.problem);
  const ValueTableTexts& text = texts_of(table, traits);
  console.message(text.title);
  console.record(text.header);
  console.empty_line();
  write_rows(console, model, table);
  const double lowest = traits.lowest_material;
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
