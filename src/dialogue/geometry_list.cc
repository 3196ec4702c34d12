#include "dialogue/geometry_list.h"

#include <array>
#include <optional>
#include <string>

#include "dialogue/geometry_entry.h"
#include "model/assignment.h"
#include "model/part_lists.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

namespace tambri {
namespace {

struct ShapeInfo {
  const char* name;  // list column and " *** <name> gestrichen ***"
  void (*enter)(Console&, StructureModel&, int index);
};

// Indexed by shape code; code 3 is not used.
constexpr ShapeInfo kShapes[] = {{"", nullptr},         {"Punkt", enter_point},      {"Rechteck", enter_rectangle},
                                 {"", nullptr},         {"Dreieck", enter_triangle}, {"Kreis", enter_circle},
                                 {"Rand", enter_border}};

// A running number and where it points: a shape and the index within its list.
struct PartRef {
  int running = 0;
  int32_t shape = 0;
  int index = 0;
};
using RunningTable = std::array<PartRef, kMaxSequence + 1>;

// Triangles have six values, so the running list gives them a shorter form.
std::string e8(double v) { return format_e(v, 8, 1); }

std::string coordinates(const PointPart& p) { return "  " + format_e10(p.xp) + format_e10(p.yp); }
std::string coordinates(const RectanglePart& r) {
  return "  " + format_e10(r.xlo) + format_e10(r.ylo) + format_e10(r.xru) + format_e10(r.yru);
}
std::string coordinates(const TrianglePart& t) {
  return "  " + e8(t.x1) + e8(t.y1) + e8(t.x2) + e8(t.y2) + e8(t.x3) + e8(t.y3);
}
std::string coordinates(const CirclePart& c) {
  return "  " + format_e10(c.xmi) + format_e10(c.ymi) + format_e10(c.rad);
}
std::string coordinates(const BorderPart& b) { return "   " + pad_to_width(border_side_name(b.side), 6); }

// Writes the running list and fills `table`; false (after the message) when
// there is no part.
bool write_running_list(Console& console, const StructureModel& model, RunningTable& table) {
  if (model.sequence_length == 0) {
    console.message(" ### Keine Geometrie vorhanden ###");
    return false;
  }
  console.empty_line();
  console.record(" Vorhandene Teilgeometrien:");
  console.record(" Lfd. Nr.   Struktur  Art/Nr. Koordinaten");
  console.empty_line();
  std::array<int, std::size(kShapes)> taken{};  // parts of each shape met so far
  for (int n = 1; n <= model.sequence_length; ++n) {
    const int32_t shape = model.sequence[n];
    const int index = ++taken[shape];
    table[n] = {n, shape, index};
    visit_part_list(model, shape, [&](const auto& list) {
      const auto& part = list.at[index];
      const DecodedAssignment a = decode_assignment(part.code);
      console.record("    " + format_i(n, 3) + "     " + pad_to_width(kShapes[shape].name, 8) + "  " + a.letter() +
                     format_i(a.number, 1) + coordinates(part));
    });
  }
  return true;
}

// Lists the parts and asks which one; nullopt when there is none, the read
// fails or the number is not a running number.
std::optional<PartRef> choose_part(Console& console, const StructureModel& model) {
  RunningTable table;
  if (!write_running_list(console, model, table)) return std::nullopt;
  console.prompt_after_empty_line(" Welches Teil (Lfd. Nr.) >");
  int answer = 0;
  if (!console.read_numbers({answer}) || answer < 1 || answer > model.sequence_length) {
    return std::nullopt;
  }
  return table[answer];
}

void delete_part(Console& console, StructureModel& model, PartRef part) {
  for (int k = part.running; k < model.sequence_length; ++k) model.sequence[k] = model.sequence[k + 1];
  --model.sequence_length;
  visit_part_list(model, part.shape, [&](auto& list) {
    for (int i = part.index; i < list.count; ++i) list.at[i] = list.at[i + 1];
    --list.count;
  });
  console.message(std::string(" *** ") + kShapes[part.shape].name + " gestrichen ***");
  model.modified = true;
}

}  // namespace

void list_or_delete(Console& console, StructureModel& model, bool list_only) {
  if (list_only) {
    RunningTable table;
    write_running_list(console, model, table);
    return;
  }
  if (std::optional<PartRef> part = choose_part(console, model)) {
    delete_part(console, model, *part);
  }
}

void edit_part(Console& console, StructureModel& model) {
  if (std::optional<PartRef> part = choose_part(console, model)) {
    kShapes[part->shape].enter(console, model, part->index);
  }
}

}  // namespace tambri
