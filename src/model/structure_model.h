#pragma once
// The one in-memory description of a field problem: field type, domain, grid,
// geometry parts, value tables, the rasterised occupancy of every node and
// whether it has changed since it was loaded or started. Only fixed arrays and scalars: allocate one
// instance at start-up and work on it in place.
#include <array>
#include <cstdint>
#include <string>

#include "model/capacities.h"
#include "model/field_problem.h"

namespace tambri {

// Shape kind codes of the entry sequence (3 is not used).
inline constexpr int32_t kShapePoint = 1;
inline constexpr int32_t kShapeRectangle = 2;
inline constexpr int32_t kShapeTriangle = 4;
inline constexpr int32_t kShapeCircle = 5;
inline constexpr int32_t kShapeBorder = 6;

// Border sides.
inline constexpr int32_t kSideOben = 1;
inline constexpr int32_t kSideUnten = 2;
inline constexpr int32_t kSideLinks = 3;
inline constexpr int32_t kSideRechts = 4;
inline constexpr int32_t kSideGesamt = 5;

// The tag that opens every structure file. It names the file layout, not the
// program version: the reader refuses a file with another tag, so it changes
// only with the layout, and a later program still reads these files.
inline constexpr const char* kVersionTag = "V4.3 ";

// The coordinates of the lines of one direction, [1..count]; [0] unused.
using GridLines = std::array<double, kMaxLines + 1>;

struct Grid {
  int32_t nx = 0;  // 0: this direction has no discretisation
  int32_t ny = 0;
  GridLines x{};  // x[1..nx]
  GridLines y{};  // y[1..ny]
  int nodes() const { return nx * ny; }
  // Flat node index, 1-based, i running fastest.
  int node(int i, int j) const { return (j - 1) * nx + i; }
};

// The five part types. Each names its shape code and lists its stored fields
// in file order: `fields` calls f once with all of them, so the structure file
// reads and writes a part from this one list, and a new field is added to the
// struct and to its `fields` line.
struct PointPart {
  static constexpr int32_t kShape = kShapePoint;
  double xp = 0, yp = 0;
  int32_t code = 0;
  template <class Part, class F>
  static void fields(Part& p, F&& f) {
    f(p.xp, p.yp, p.code);
  }
};
struct RectanglePart {
  static constexpr int32_t kShape = kShapeRectangle;
  double xlo = 0, ylo = 0, xru = 0, yru = 0;
  int32_t code = 0;
  template <class Part, class F>
  static void fields(Part& p, F&& f) {
    f(p.xlo, p.ylo, p.xru, p.yru, p.code);
  }
};
struct TrianglePart {
  static constexpr int32_t kShape = kShapeTriangle;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0;
  int32_t code = 0;
  template <class Part, class F>
  static void fields(Part& p, F&& f) {
    f(p.x1, p.y1, p.x2, p.y2, p.x3, p.y3, p.code);
  }
};
struct CirclePart {
  static constexpr int32_t kShape = kShapeCircle;
  double xmi = 0, ymi = 0, rad = 0;
  int32_t code = 0;
  template <class Part, class F>
  static void fields(Part& p, F&& f) {
    f(p.xmi, p.ymi, p.rad, p.code);
  }
};
struct BorderPart {
  static constexpr int32_t kShape = kShapeBorder;
  int32_t side = 0;
  int32_t code = 0;
  template <class Part, class F>
  static void fields(Part& p, F&& f) {
    f(p.side, p.code);
  }
};

// A list of parts of one shape; entries [1..count], entry 0 unused.
template <class Part, int Capacity>
struct PartList {
  using PartType = Part;
  static constexpr int kCapacity = Capacity;
  int32_t count = 0;
  std::array<Part, Capacity + 1> at{};
  bool full() const { return count >= Capacity; }
};

struct ValueTables {
  double material0 = 1.0;               // "(Vorbelegung)", kept apart from 1..9
  std::array<double, 10> material{};    // [1..9]
  std::array<double, 10> potential{};   // [1..9]
  std::array<double, 10> excitation{};  // [1..9]
  std::array<int32_t, 10> reserved{};   // [1..9], always 0; fills the file record
  // Material value of number 0..9.
  double material_value(int m) const { return m == 0 ? material0 : material[m]; }
};

struct StructureModel {
  std::string file_name = std::string(12, ' ');    // 12 characters, blank-padded
  std::string output_stem = std::string(12, ' ');  // up to 8 characters, blank-padded to 12
  std::string version_tag = kVersionTag;

  FieldProblem problem = FieldProblem::kElectrostatic;
  double xb = 0, yb = 0, xe = 0, ye = 0;
  Grid grid;

  PartList<PointPart, kMaxShapeParts> points;
  PartList<RectanglePart, kMaxShapeParts> rectangles;
  PartList<TrianglePart, kMaxShapeParts> triangles;
  PartList<CirclePart, kMaxShapeParts> circles;
  PartList<BorderPart, kMaxBorders> borders;

  // Shape codes of all parts in order of entry: slots [1..sequence_length].
  int32_t sequence_length = 0;
  std::array<int32_t, kMaxSequence + 1> sequence{};

  ValueTables tables;

  // Rasterised value 100*e + 10*p + m of every node, index [1..nx*ny].
  std::array<int32_t, kMaxNodes + 1> occupancy{};

  // Set by every change of the grid, the parts or a value table; cleared when a
  // structure is loaded or started and when a calculation has been run.
  bool modified = false;
};

// Reset at every load attempt: no grid, no parts, blank stem, tables to their
// new-problem values except material 0 and the field problem, which keep theirs
// until the file or the new-problem choice sets them.
void reset_for_loading(StructureModel& model);

// Reset of the value tables for a new field problem: materials 0..9 = 1.0,
// potentials and excitations 1..9 = 0.0.
void reset_tables_for_new_problem(StructureModel& model);

// The largest n in 1..count with lines[n] <= value (the line at or below a
// coordinate); 1 when there is none.
int line_at_or_below(const GridLines& lines, int count, double value);

// Output stem of a file name: the characters before the first "." or blank,
// at most 8, blank-padded to 12 characters.
std::string output_stem_of(const std::string& file_name);

}  // namespace tambri
