#include "dialogue/geometry_entry.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "model/assignment.h"
#include "model/part_lists.h"
#include "text/fortran_format.h"
#include "text/text_width.h"

namespace tambri {
namespace {

// The kind question: its prompt depends on the field problem (problem S has
// no excitations), and a border cannot be Leer.
struct KindQuestion {
  const char* prompt_s;
  const char* prompt_em;
  bool offers_empty;
};

constexpr KindQuestion kKinds{" Art: (M)aterial,(P)otential,(L)eer >",
                              " Art: (M)aterial,(P)otential,(E)rregung,(L)eer  >", true};
constexpr KindQuestion kRectangleKinds{" Art: (M)aterial,(P)otential,(L)eer >",
                                       " Art: (M)aterial,(P)otential,(E)rregung,(L)eer   >", true};
constexpr KindQuestion kBorderKinds{" Art: (M)aterial,(P)otential >", " Art: (M)aterial,(P)otential,(E)rregung >",
                                    false};

// What the five dialogues do differently; the steps themselves are shared.
template <class List>
struct ShapeEntry {
  List& list;
  const char* name;  // in the confirmation " *** nn. <name> - nnn. Geometrieteil ***"
  const char* too_many;
  const char* list_title;
  const char* list_header;
  const KindQuestion& kinds;
};

struct Position {
  double x, y;
};

bool all_finite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// A value too large for a double counts as a failed read, so no infinite
// coordinate or radius ever reaches the model.
std::optional<Position> read_position(Console& console) {
  double x = 0, y = 0;
  if (!console.read_numbers({x, y}) || !all_finite({x, y})) return std::nullopt;
  return Position{x, y};
}

bool in_domain(const StructureModel& model, Position p) {
  return model.xb <= p.x && p.x <= model.xe && model.yb <= p.y && p.y <= model.ye;
}

// What is written before a coordinate prompt, again at every repetition.
enum class Lead { None, EmptyLine, Heading };

void write_lead(Console& console, Lead lead) {
  if (lead == Lead::None) return;
  console.empty_line();
  if (lead == Lead::Heading) console.record(" Koordinaten:");
}

// Asks until the position lies in the closed domain; nullopt on a failed read.
std::optional<Position> ask_position(Console& console, const StructureModel& model, Lead lead,
                                     std::string_view prompt) {
  for (;;) {
    write_lead(console, lead);
    console.prompt(prompt);
    std::optional<Position> p = read_position(console);
    if (!p || in_domain(model, *p)) return p;
    console.message(" ### Punkt außerhalb des Gebietes ###");
  }
}

// --- geometry questions, one per shape; false ends the dialogue ---

bool ask_geometry(Console& console, const StructureModel& model, PointPart& part) {
  std::optional<Position> p = ask_position(console, model, Lead::EmptyLine, " Koordinaten  Xp  Yp >");
  if (!p) return false;
  part.xp = p->x;
  part.yp = p->y;
  return true;
}

bool ask_geometry(Console& console, const StructureModel& model, RectanglePart& part) {
  std::optional<Position> lo = ask_position(console, model, Lead::Heading, " Xlo  Ylo >");
  if (!lo) return false;
  for (;;) {
    std::optional<Position> ru = ask_position(console, model, Lead::None, " Xru  Yru >");
    if (!ru) return false;
    // Zero height or width is allowed: such a rectangle marks one grid line.
    if (ru->x >= lo->x && ru->y >= lo->y) {
      part = {lo->x, lo->y, ru->x, ru->y, 0};
      return true;
    }
    console.message(" ### Rechteck ohne Fläche ###");
  }
}

bool ask_geometry(Console& console, const StructureModel& model, TrianglePart& part) {
  std::optional<Position> v1 = ask_position(console, model, Lead::Heading, " X1  Y1 >");
  if (!v1) return false;
  std::optional<Position> v2 = ask_position(console, model, Lead::None, " X2  Y2 >");
  if (!v2) return false;
  std::optional<Position> v3 = ask_position(console, model, Lead::None, " X3  Y3 >");
  if (!v3) return false;
  part = {v1->x, v1->y, v2->x, v2->y, v3->x, v3->y, 0};
  return true;
}

bool ask_geometry(Console& console, const StructureModel&, CirclePart& part) {
  for (;;) {
    write_lead(console, Lead::Heading);
    console.prompt(" Xmi Ymi Rad >");
    double x = 0, y = 0, rad = 0;
    if (!console.read_numbers({x, y, rad}) || !all_finite({x, y, rad})) return false;
    if (rad >= 0) {
      part = {x, y, rad, 0};
      return true;
    }
    console.message(" ### Kreis ohne Fläche ###");
  }
}

bool ask_geometry(Console& console, const StructureModel&, BorderPart& part) {
  console.prompt_after_empty_line(" Rand: (O)ben,(U)nten,(L)inks,(R)echts,(G)esamt  >");
  const char letter = console.read_letter();
  constexpr std::string_view kSideLetters = "OULRG";  // sides 1..5
  const size_t at = kSideLetters.find(letter);
  if (at == std::string_view::npos) return false;
  part.side = static_cast<int32_t>(at) + 1;
  return true;
}

// --- the columns of the dialogue's own list, one per shape ---

std::string list_columns(const PointPart& p) { return format_e10(p.xp) + format_e10(p.yp); }
std::string list_columns(const RectanglePart& r) {
  return format_e10(r.xlo) + format_e10(r.ylo) + format_e10(r.xru) + format_e10(r.yru);
}
std::string list_columns(const TrianglePart& t) {
  return format_e10(t.x1) + format_e10(t.y1) + format_e10(t.x2) + format_e10(t.y2) + format_e10(t.x3) +
         format_e10(t.y3);
}
std::string list_columns(const CirclePart& c) { return format_e10(c.xmi) + format_e10(c.ymi) + format_e10(c.rad); }
std::string list_columns(const BorderPart& b) { return pad_to_width(border_side_name(b.side), 6); }

template <class List>
void write_list(Console& console, const ShapeEntry<List>& shape) {
  console.empty_line();
  console.record(shape.list_title);
  console.record(shape.list_header);
  for (int i = 1; i <= shape.list.count; ++i) {
    const auto& part = shape.list.at[i];
    const DecodedAssignment a = decode_assignment(part.code);
    console.record(" " + list_columns(part) + "     " + a.letter() + "     " + format_i(a.number, 1));
  }
}

double current_value(const ValueTables& tables, PartKind kind, int number) {
  switch (kind) {
    case PartKind::Material: return tables.material_value(number);
    case PartKind::Potential: return tables.potential[number];
    case PartKind::Excitation: return tables.excitation[number];
    case PartKind::Empty: break;
  }
  return 0.0;
}

// The kind and number questions; nullopt when the dialogue ends without storing.
std::optional<int32_t> ask_assignment(Console& console, const StructureModel& model, const KindQuestion& question) {
  const bool excitations = traits_of(model.problem).has_excitations;
  PartKind kind;
  for (;;) {
    console.prompt(excitations ? question.prompt_em : question.prompt_s);
    const char letter = console.read_letter();
    if (letter == 'X') return std::nullopt;
    if (letter == 'L' && question.offers_empty) return kEmptyCode;
    if (letter == 'M') kind = PartKind::Material;
    else if (letter == 'P') kind = PartKind::Potential;
    else if (letter == 'E' && excitations) kind = PartKind::Excitation;
    else continue;
    break;
  }
  const int lowest = kind == PartKind::Material ? 0 : 1;
  int number = 0;
  do {
    console.prompt(lowest == 0 ? " Nummer (0...9)>" : " Nummer (1...9)>");
    if (!console.read_numbers({number})) return std::nullopt;
  } while (number < lowest || number > 9);
  console.record(" Momentaner Wert:" + format_e10(current_value(model.tables, kind, number)));
  return encode_assignment(kind, number);
}

// The one dialogue all five shapes share.
template <class List>
void enter_part(Console& console, StructureModel& model, int index, const ShapeEntry<List>& shape) {
  List& list = shape.list;
  const bool adding = index < 1;
  if (!adding && index > list.count) return;  // no such part: nothing to edit
  if (adding) {
    if (list.full()) {
      console.message(shape.too_many);
      return;
    }
    if (list.count > 0) write_list(console, shape);
  }

  typename List::PartType part{};  // working copy
  if (!ask_geometry(console, model, part)) return;
  const std::optional<int32_t> code = ask_assignment(console, model, shape.kinds);
  if (!code) return;
  part.code = *code;

  model.modified = true;
  if (!adding) {
    list.at[index] = part;
    return;
  }
  list.at[++list.count] = part;
  model.sequence[++model.sequence_length] = shape_of(list);
  console.message(" *** " + format_i(list.count, 2) + ". " + shape.name + " - " + format_i(model.sequence_length, 3) +
                  ". Geometrieteil ***");
}

}  // namespace

const char* border_side_name(int32_t side) {
  static constexpr const char* kNames[] = {"Oben", "Unten", "Links", "Rechts", "Gesamt"};
  return side >= kSideOben && side <= kSideGesamt ? kNames[side - 1] : "";
}

void enter_point(Console& console, StructureModel& model, int index) {
  enter_part(console, model, index,
             ShapeEntry<decltype(model.points)>{.list = model.points,
                                                .name = "Punkt",
                                                .too_many = " ### Zu viele Punkte belegt ###",
                                                .list_title = " Belegte Punkte:",
                                                .list_header = "  Xp        Yp            Art   Nr.",
                                                .kinds = kKinds});
}

void enter_rectangle(Console& console, StructureModel& model, int index) {
  enter_part(
      console, model, index,
      ShapeEntry<decltype(model.rectangles)>{.list = model.rectangles,
                                             .name = "Rechteck",
                                             .too_many = " ### Zu viele Rechtecke belegt ###",
                                             .list_title = " Belegte Rechtecke:",
                                             .list_header = "  Xlo       Ylo       Xru       Yru           Art   Nr.",
                                             .kinds = kRectangleKinds});
}

void enter_triangle(Console& console, StructureModel& model, int index) {
  enter_part(
      console, model, index,
      ShapeEntry<decltype(model.triangles)>{.list = model.triangles,
                                            .name = "Dreieck",
                                            .too_many = " ### Zu viele Dreiecke belegt ###",
                                            .list_title = " Belegte Dreiecke:",
                                            .list_header = "  X1        Y1        X2        Y2        X3        Y3"
                                                           "            Art   Nr.",
                                            .kinds = kKinds});
}

void enter_circle(Console& console, StructureModel& model, int index) {
  enter_part(console, model, index,
             ShapeEntry<decltype(model.circles)>{.list = model.circles,
                                                 .name = "Kreis",
                                                 .too_many = " ### Zu viele Kreise belegt ###",
                                                 .list_title = " Belegte Kreise:",
                                                 .list_header = "  Xmi       Ymi       Rad           Art   Nr.",
                                                 .kinds = kKinds});
}

void enter_border(Console& console, StructureModel& model, int index) {
  enter_part(console, model, index,
             ShapeEntry<decltype(model.borders)>{.list = model.borders,
                                                 .name = "Rand",
                                                 .too_many = " ### Zu viele Ränder belegt ###",
                                                 .list_title = " Belegte Ränder:",
                                                 .list_header = " Rand       Art   Nr.",
                                                 .kinds = kBorderKinds});
}

}  // namespace tambri
