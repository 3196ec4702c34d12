#pragma once
// A console on string streams that echoes the answers, so its output reads like
// the screen, and a small model to enter geometry into.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "text/console.h"
#include "model/structure_model.h"

namespace tambri::test {

struct Screen {
  explicit Screen(const std::string& input) : in(input), console(in, out, true) {}
  // The screen as written, and the same split into lines.
  std::string text() {
    console.finish();
    return out.str();
  }
  std::vector<std::string> lines() {
    std::vector<std::string> result;
    std::istringstream screen(text());
    for (std::string line; std::getline(screen, line);) result.push_back(line);
    return result;
  }
  std::istringstream in;
  std::ostringstream out;
  Console console;
};

// Domain 0 <= x <= 1, 0 <= y <= 2 with a few distinct table values.
inline std::unique_ptr<StructureModel> geometry_model(int32_t problem) {
  auto m = std::make_unique<StructureModel>();
  m->problem = problem;
  reset_tables_for_new_problem(*m);
  m->xe = 1.0;
  m->ye = 2.0;
  m->tables.material0 = 7.0;
  m->tables.material[3] = 2.5;
  m->tables.potential[2] = 100.0;
  m->tables.excitation[1] = 5.0;
  return m;
}

// Appends a part as the entry dialogue would, without asking.
template <class List, class Part>
void add_part(StructureModel& m, List& list, int32_t shape, const Part& part) {
  list.at[++list.count] = part;
  m.sequence[++m.sequence_length] = shape;
}

}  // namespace tambri::test
