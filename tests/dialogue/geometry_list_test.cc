#include "dialogue/geometry_list.h"

#include <gtest/gtest.h>

#include "geometry_screen.h"
#include "model/assignment.h"

namespace tambri {
namespace {

using test::add_part;
using test::geometry_model;
using test::Screen;
using Lines = std::vector<std::string>;

const Lines kListHead = {"", "Vorhandene Teilgeometrien:", "Lfd. Nr.   Struktur  Art/Nr. Koordinaten", ""};

Lines with_head(Lines rows) {
  rows.insert(rows.begin(), kListHead.begin(), kListHead.end());
  return rows;
}

TEST(RunningList, OneRowPerPartInOrderOfEntryWithShortTriangleForm) {
  auto m = geometry_model(kProblemE);
  add_part(*m, m->points, kShapePoint, PointPart{0.01, -0.25, 3});
  add_part(*m, m->triangles, kShapeTriangle, TrianglePart{0.01, 0, 0.5, 1, 1, -2, kEmptyCode});
  add_part(*m, m->rectangles, kShapeRectangle, RectanglePart{0, 0, 1, 2, 20});
  add_part(*m, m->circles, kShapeCircle, CirclePart{0.5, 1, 0.25, 100});
  add_part(*m, m->borders, kShapeBorder, BorderPart{kSideGesamt, 10});
  add_part(*m, m->points, kShapePoint, PointPart{1, 2, 0});
  Screen s("");
  list_or_delete(s.console, *m, true);
  EXPECT_EQ(s.lines(), with_head({"     1     Punkt     M3   1.000E-02-2.500E-01",
                                  "     2     Dreieck   L0   1.0E-02 0.0E+00 5.0E-01 1.0E+00 1.0E+00-2.0E+00",
                                  "     3     Rechteck  P2   0.000E+00 0.000E+00 1.000E+00 2.000E+00",
                                  "     4     Kreis     E1   5.000E-01 1.000E+00 2.500E-01",
                                  "     5     Rand      P1   Gesamt",
                                  "     6     Punkt     M0   1.000E+00 2.000E+00"}));
}

// Points p1, p2 and circles c1, c2, c3 entered as p1 c1 p2 c2 c3.
std::unique_ptr<StructureModel> mixed_model() {
  auto m = geometry_model(kProblemE);
  add_part(*m, m->points, kShapePoint, PointPart{0.1, 0, 1});
  add_part(*m, m->circles, kShapeCircle, CirclePart{0.1, 0, 1, 1});
  add_part(*m, m->points, kShapePoint, PointPart{0.2, 0, 2});
  add_part(*m, m->circles, kShapeCircle, CirclePart{0.2, 0, 1, 2});
  add_part(*m, m->circles, kShapeCircle, CirclePart{0.3, 0, 1, 3});
  return m;
}

TEST(DeletePart, LaterPartsMoveUpInTheirListAndInTheRunningList) {
  auto m = mixed_model();
  Screen s("4\n1\n");
  list_or_delete(s.console, *m, false);  // the second circle
  EXPECT_EQ(s.lines().back(), "*** Kreis gestrichen ***");
  list_or_delete(s.console, *m, false);  // the first point
  EXPECT_EQ(s.lines().back(), "*** Punkt gestrichen ***");
  EXPECT_EQ(std::vector<int32_t>(m->sequence.begin() + 1, m->sequence.begin() + 1 + m->sequence_length),
            (std::vector<int32_t>{kShapeCircle, kShapePoint, kShapeCircle}));
  ASSERT_EQ(m->points.count, 1);
  EXPECT_EQ(m->points.at[1].code, 2);
  ASSERT_EQ(m->circles.count, 2);
  EXPECT_EQ(m->circles.at[1].code, 1);
  EXPECT_EQ(m->circles.at[2].code, 3);
  EXPECT_TRUE(m->modified);
}

TEST(DeletePart, LastPartLeavesNoGeometryForListDeleteAndEdit) {
  auto m = geometry_model(kProblemS);
  add_part(*m, m->borders, kShapeBorder, BorderPart{kSideOben, 10});
  Screen s("1\n");  // nothing more may be read
  list_or_delete(s.console, *m, false);
  list_or_delete(s.console, *m, true);
  list_or_delete(s.console, *m, false);
  edit_part(s.console, *m);
  const std::string none = "### Keine Geometrie vorhanden ###";
  EXPECT_EQ(s.lines(), with_head({"     1     Rand      P1   Oben  ", "", "Welches Teil (Lfd. Nr.) >1", "",
                                  "*** Rand gestrichen ***", "", none, "", none, "", none}));
  EXPECT_EQ(m->sequence_length + m->borders.count, 0);
}

TEST(DeleteAndEdit, InvalidRunningNumberEndsSilentlyWithoutChange) {
  for (const char* answer : {"0", "-1", "6", "x", "1.5"}) {
    for (bool editing : {false, true}) {
      auto m = mixed_model();
      Screen s(std::string(answer) + "\n");
      editing ? edit_part(s.console, *m) : list_or_delete(s.console, *m, false);
      EXPECT_EQ(s.lines().back(), std::string("Welches Teil (Lfd. Nr.) >") + answer);
      EXPECT_EQ(m->sequence_length, 5);
      EXPECT_EQ(m->circles.count, 3);
      EXPECT_FALSE(m->modified);
    }
  }
}

TEST(EditPart, RunsTheShapeDialogueInEditModeAndKeepsTheRunningNumber) {
  auto m = mixed_model();
  Screen s("3\n0.25 0.5\np\n1\n");
  edit_part(s.console, *m);  // the second point
  const Lines screen = s.lines();
  EXPECT_EQ(Lines(screen.end() - 6, screen.end()),
            (Lines{"Welches Teil (Lfd. Nr.) >3", "", "Koordinaten  Xp  Yp >0.25 0.5",
                   "Art: (M)aterial,(P)otential,(E)rregung,(L)eer  >p", "Nummer (1...9)>1",
                   "Momentaner Wert: 0.000E+00"}));
  EXPECT_EQ(m->points.at[2].xp, 0.25);
  EXPECT_EQ(m->points.at[2].code, 10);
  EXPECT_EQ(m->sequence_length, 5);
  EXPECT_EQ(m->sequence[3], kShapePoint);
}

}  // namespace
}  // namespace tambri
