// What the screens of the entry dialogues cannot show cheaply: that every way
// of ending early stores nothing, in add and in edit mode, and the full lists.
#include "dialogue/geometry_entry.h"

#include <gtest/gtest.h>

#include <memory>

#include "string_screen.h"

namespace tambri {
namespace {

using test::Screen;
using Lines = std::vector<std::string>;
using Dialogue = void (*)(Console&, StructureModel&, int);

// Domain 0 <= x <= 1, 0 <= y <= 2 on the tables of a new problem E.
std::unique_ptr<StructureModel> geometry_model() {
  auto m = std::make_unique<StructureModel>();
  m->problem = FieldProblem::kElectrostatic;
  reset_tables_for_new_problem(*m);
  m->xe = 1.0;
  m->ye = 2.0;
  return m;
}

// Appends a part as the entry dialogue would, without asking.
template <class List, class Part>
void add_part(StructureModel& m, List& list, int32_t shape, const Part& part) {
  list.at[++list.count] = part;
  m.sequence[++m.sequence_length] = shape;
}

TEST(EveryShapeEntry, EarlyEndingsStoreNothing) {
  // The shape's dialogue (Point, Rectangle, Triangle, Circle, Border), then the answers.
  const std::string cases[] = {"Px\n",         "P0.5 1\nx\n",    "P0.5 1\np\nabc\n", "P0.5 1\np\n1.5\n",
                               "R0 0\n1x 1\n", "T0 0\n0 1\nx\n", "C0 0 1e999\n",     "Bz\n",
                               "Bo\nx\n"};
  const Dialogue dialogues[] = {enter_point, enter_rectangle, enter_triangle, enter_circle, enter_border};
  for (int index : {0, 1}) {
    for (const std::string& c : cases) {
      const Dialogue dialogue = dialogues[std::string("PRTCB").find(c[0])];
      const std::string input = c.substr(1);
      auto m = geometry_model();
      add_part(*m, m->points, kShapePoint, PointPart{0.25, 0.25, 1});
      add_part(*m, m->rectangles, kShapeRectangle, RectanglePart{0.25, 0.25, 0.5, 0.5, 1});
      add_part(*m, m->triangles, kShapeTriangle, TrianglePart{0.25, 0.25, 0, 0, 0, 0, 1});
      add_part(*m, m->circles, kShapeCircle, CirclePart{0.25, 0.25, 0.5, 1});
      add_part(*m, m->borders, kShapeBorder, BorderPart{kSideOben, 1});
      Screen s(input);
      dialogue(s.console, *m, index);
      EXPECT_FALSE(m->modified) << input;
      EXPECT_EQ(m->sequence_length, 5) << input;
      EXPECT_EQ(m->points.at[1].xp + m->rectangles.at[1].xlo + m->triangles.at[1].x1 + m->circles.at[1].xmi, 1.0);
      EXPECT_EQ(m->borders.at[1].side, kSideOben);
    }
  }
}

TEST(EveryShapeEntry, FullListIsRefusedBeforeAnyListAndEditStillWorks) {
  auto m = geometry_model();
  for (int k = 0; k < kMaxShapeParts; ++k) add_part(*m, m->points, kShapePoint, PointPart{});
  for (int k = 0; k < kMaxBorders; ++k) add_part(*m, m->borders, kShapeBorder, BorderPart{1, 0});
  Screen s("U\nm\n4\n");
  enter_point(s.console, *m, 0);
  enter_border(s.console, *m, 0);
  enter_border(s.console, *m, kMaxBorders);
  EXPECT_EQ(s.lines(),
            (Lines{"", "### Zu viele Punkte belegt ###", "", "### Zu viele Ränder belegt ###", "",
                   "Rand: (O)ben,(U)nten,(L)inks,(R)echts,(G)esamt  >U", "Art: (M)aterial,(P)otential,(E)rregung >m",
                   "Nummer (0...9)>4", "Momentaner Wert: 1.000E+00"}));
  EXPECT_EQ(m->borders.at[kMaxBorders].side, kSideUnten);
  EXPECT_EQ(m->borders.at[kMaxBorders].code, 4);
  EXPECT_EQ(m->sequence_length, kMaxShapeParts + kMaxBorders);
  EXPECT_THROW(enter_circle(s.console, *m, 0), EndOfInput);
}

}  // namespace
}  // namespace tambri
