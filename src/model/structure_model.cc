#include "model/structure_model.h"

#include "model/part_lists.h"
#include "text/text_width.h"

namespace tambri {

void reset_for_loading(StructureModel& model) {
  model.grid.nx = 0;
  model.grid.ny = 0;
  for_each_part_list(model, [](auto& list) { list.count = 0; });
  model.sequence_length = 0;
  model.xb = model.yb = model.xe = model.ye = 0.0;
  model.output_stem = std::string(12, ' ');
  for (int n = 1; n <= 9; ++n) {
    model.tables.potential[n] = 0.0;
    model.tables.excitation[n] = 0.0;
    model.tables.material[n] = 1.0;
    model.tables.reserved[n] = 0;
  }
}

void reset_tables_for_new_problem(StructureModel& model) {
  model.tables.material0 = 1.0;
  for (int n = 1; n <= 9; ++n) {
    model.tables.material[n] = 1.0;
    model.tables.potential[n] = 0.0;
    model.tables.excitation[n] = 0.0;
  }
}

int line_at_or_below(const GridLines& lines, int count, double value) {
  int index = 1;
  for (int n = 1; n <= count; ++n) {
    if (lines[n] <= value) index = n;
  }
  return index;
}

std::string output_stem_of(const std::string& file_name) {
  std::string stem;
  int taken = 0;
  for (const std::string& ch : utf8_characters(file_name)) {
    if (ch == "." || ch == " " || taken == 8) break;
    stem += ch;
    ++taken;
  }
  return pad_to_width(stem, 12);
}

}  // namespace tambri
