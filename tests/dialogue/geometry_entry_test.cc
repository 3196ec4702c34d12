#include "dialogue/geometry_entry.h"

#include <gtest/gtest.h>

#include "geometry_screen.h"
#include "model/assignment.h"

namespace tambri {
namespace {

using test::add_part;
using test::geometry_model;
using test::Screen;
using Lines = std::vector<std::string>;
using Dialogue = void (*)(Console&, StructureModel&, int);

TEST(PointEntry, ListsRefusesOutsideRepeatsWrongAnswersAndConfirms) {
  auto m = geometry_model(kProblemE);
  add_part(*m, m->points, kShapePoint, PointPart{0.5, 1.0, 20});
  Screen s("2 0\n1 0\nq\nm\n10\n3\n");
  enter_point(s.console, *m, 0);
  EXPECT_EQ(s.lines(), (Lines{"", "Belegte Punkte:", " Xp        Yp            Art   Nr.",
                              " 5.000E-01 1.000E+00     P     2", "", "Koordinaten  Xp  Yp >2 0", "",
                              "### Punkt außerhalb des Gebietes ###", "", "Koordinaten  Xp  Yp >1 0",
                              "Art: (M)aterial,(P)otential,(E)rregung,(L)eer  >q",
                              "Art: (M)aterial,(P)otential,(E)rregung,(L)eer  >m", "Nummer (0...9)>10",
                              "Nummer (0...9)>3", "Momentaner Wert: 2.500E+00", "",
                              "***  2. Punkt -   2. Geometrieteil ***"}));
  ASSERT_EQ(m->points.count, 2);
  EXPECT_EQ(m->points.at[2].xp, 1.0);  // the domain's own boundary is inside
  EXPECT_EQ(m->points.at[2].yp, 0.0);
  EXPECT_EQ(m->points.at[2].code, 3);
  EXPECT_EQ(m->sequence_length, 2);
  EXPECT_EQ(m->sequence[2], kShapePoint);
  EXPECT_TRUE(m->modified);
}

TEST(RectangleEntry, CornersAreCheckedAndZeroHeightIsAccepted) {
  auto m = geometry_model(kProblemM);
  Screen s("3 3\n0.5 1.5\n0.2 1.5\n0.5 1\n0.5 1.8\ne\n0\n1\n");
  enter_rectangle(s.console, *m, -1);
  EXPECT_EQ(s.lines(), (Lines{"", "Koordinaten:", "Xlo  Ylo >3 3", "", "### Punkt außerhalb des Gebietes ###",
                              "", "Koordinaten:", "Xlo  Ylo >0.5 1.5", "Xru  Yru >0.2 1.5", "",
                              "### Rechteck ohne Fläche ###", "Xru  Yru >0.5 1", "",
                              "### Rechteck ohne Fläche ###", "Xru  Yru >0.5 1.8",
                              "Art: (M)aterial,(P)otential,(E)rregung,(L)eer   >e", "Nummer (1...9)>0",
                              "Nummer (1...9)>1", "Momentaner Wert: 5.000E+00", "",
                              "***  1. Rechteck -   1. Geometrieteil ***"}));
  const RectanglePart& r = m->rectangles.at[1];
  EXPECT_EQ((std::vector<double>{r.xlo, r.ylo, r.xru, r.yru}), (std::vector<double>{0.5, 1.5, 0.5, 1.8}));
  EXPECT_EQ(r.code, 100);
}

TEST(TriangleEntry, VertexOutsideIsAskedAgainAndProblemSHasNoExcitation) {
  auto m = geometry_model(kProblemS);
  Screen s("0 0\n0.5 5\n0.5 1\n1 2\ne\nl\n");
  enter_triangle(s.console, *m, 0);
  EXPECT_EQ(s.lines(), (Lines{"", "Koordinaten:", "X1  Y1 >0 0", "X2  Y2 >0.5 5", "",
                              "### Punkt außerhalb des Gebietes ###", "X2  Y2 >0.5 1", "X3  Y3 >1 2",
                              "Art: (M)aterial,(P)otential,(L)eer >e", "Art: (M)aterial,(P)otential,(L)eer >l",
                              "", "***  1. Dreieck -   1. Geometrieteil ***"}));
  const TrianglePart& t = m->triangles.at[1];  // collinear vertices are accepted
  EXPECT_EQ((std::vector<double>{t.x1, t.y1, t.x2, t.y2, t.x3, t.y3}),
            (std::vector<double>{0, 0, 0.5, 1, 1, 2}));
  EXPECT_EQ(t.code, kEmptyCode);
}

TEST(CircleEntry, NegativeRadiusRepeatsAllRadiusZeroAndOutsideCentreAccepted) {
  auto m = geometry_model(kProblemE);
  Screen s("0.5 1 -0.1\n5 5 0\nm\n0\n");
  enter_circle(s.console, *m, 0);
  EXPECT_EQ(s.lines(), (Lines{"", "Koordinaten:", "Xmi Ymi Rad >0.5 1 -0.1", "", "### Kreis ohne Fläche ###",
                              "", "Koordinaten:", "Xmi Ymi Rad >5 5 0",
                              "Art: (M)aterial,(P)otential,(E)rregung,(L)eer  >m", "Nummer (0...9)>0",
                              "Momentaner Wert: 7.000E+00", "", "***  1. Kreis -   1. Geometrieteil ***"}));
  const CirclePart& c = m->circles.at[1];
  EXPECT_EQ((std::vector<double>{c.xmi, c.ymi, c.rad, double(c.code)}), (std::vector<double>{5, 5, 0, 0}));
}

TEST(BorderEntry, SideLettersAndNoEmptyKind) {
  auto m = geometry_model(kProblemS);
  Screen s("g\nl\ne\np\n2\n");
  enter_border(s.console, *m, 0);
  EXPECT_EQ(s.lines(), (Lines{"", "Rand: (O)ben,(U)nten,(L)inks,(R)echts,(G)esamt  >g",
                              "Art: (M)aterial,(P)otential >l", "Art: (M)aterial,(P)otential >e",
                              "Art: (M)aterial,(P)otential >p", "Nummer (1...9)>2", "Momentaner Wert: 1.000E+02",
                              "", "***  1. Rand -   1. Geometrieteil ***"}));
  EXPECT_EQ(m->borders.at[1].side, kSideGesamt);
  EXPECT_EQ(m->borders.at[1].code, 20);
}

TEST(EveryShapeEntry, ListBeforeTheQuestionsShowsEveryPartOfTheShape) {
  auto m = geometry_model(kProblemE);
  add_part(*m, m->rectangles, kShapeRectangle, RectanglePart{0, 0.01, 1, -2, 900});
  add_part(*m, m->triangles, kShapeTriangle, TrianglePart{0, 0, 1, 0, 0, 1, kEmptyCode});
  add_part(*m, m->circles, kShapeCircle, CirclePart{0.5, 1, 0.25, 4});
  add_part(*m, m->borders, kShapeBorder, BorderPart{kSideRechts, 50});
  const std::vector<std::pair<Dialogue, Lines>> cases = {
      {enter_rectangle, {"Belegte Rechtecke:", " Xlo       Ylo       Xru       Yru           Art   Nr.",
                         " 0.000E+00 1.000E-02 1.000E+00-2.000E+00     E     9"}},
      {enter_triangle, {"Belegte Dreiecke:",
                        " X1        Y1        X2        Y2        X3        Y3            Art   Nr.",
                        " 0.000E+00 0.000E+00 1.000E+00 0.000E+00 0.000E+00 1.000E+00     L     0"}},
      {enter_circle, {"Belegte Kreise:", " Xmi       Ymi       Rad           Art   Nr.",
                      " 5.000E-01 1.000E+00 2.500E-01     M     4"}},
      {enter_border, {"Belegte Ränder:", "Rand       Art   Nr.", "Rechts     P     5"}}};
  for (const auto& [dialogue, expected] : cases) {
    Screen s("x\n");  // a failed read of the first answer ends the dialogue
    dialogue(s.console, *m, 0);
    const Lines screen = s.lines();
    ASSERT_GE(screen.size(), 4u);
    EXPECT_EQ(Lines(screen.begin() + 1, screen.begin() + 4), expected);
  }
}

TEST(EveryShapeEntry, EarlyEndingsStoreNothing) {
  const std::vector<std::pair<Dialogue, const char*>> cases = {
      {enter_point, "x\n"},          {enter_point, "0.5 1\nx\n"},  {enter_point, "0.5 1\np\nabc\n"},
      {enter_point, "0.5 1\np\n1.5\n"}, {enter_rectangle, "0 0\n1x 1\n"}, {enter_triangle, "0 0\n0 1\nx\n"},
      {enter_circle, "0 0 1e999\n"}, {enter_border, "z\n"},         {enter_border, "o\nx\n"}};
  for (int index : {0, 1}) {
    for (const auto& [dialogue, input] : cases) {
      auto m = geometry_model(kProblemE);
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

TEST(EveryShapeEntry, FullListIsRefusedBeforeAnyListAndEndOfInputPropagates) {
  auto m = geometry_model(kProblemE);
  for (int k = 0; k < kMaxShapeParts; ++k) add_part(*m, m->points, kShapePoint, PointPart{});
  for (int k = 0; k < kMaxBorders; ++k) add_part(*m, m->borders, kShapeBorder, BorderPart{1, 0});
  Screen s("");
  enter_point(s.console, *m, 0);
  enter_border(s.console, *m, 0);
  EXPECT_EQ(s.lines(), (Lines{"", "### Zu viele Punkte belegt ###", "", "### Zu viele Ränder belegt ###"}));
  EXPECT_EQ(m->sequence_length, kMaxShapeParts + kMaxBorders);
  EXPECT_THROW(enter_circle(s.console, *m, 0), EndOfInput);
}

TEST(EveryShapeEntry, EditModeOverwritesInPlaceWithoutListCheckOrConfirmation) {
  auto m = geometry_model(kProblemE);
  for (int k = 0; k < kMaxBorders; ++k) add_part(*m, m->borders, kShapeBorder, BorderPart{1, 0});
  Screen s("U\nm\n4\n");
  enter_border(s.console, *m, 4);
  EXPECT_EQ(s.lines(), (Lines{"", "Rand: (O)ben,(U)nten,(L)inks,(R)echts,(G)esamt  >U",
                              "Art: (M)aterial,(P)otential,(E)rregung >m", "Nummer (0...9)>4",
                              "Momentaner Wert: 1.000E+00"}));
  EXPECT_EQ(m->borders.at[4].side, kSideUnten);
  EXPECT_EQ(m->borders.at[4].code, 4);
  EXPECT_EQ(m->borders.count, kMaxBorders);
  EXPECT_EQ(m->sequence_length, kMaxBorders);
  EXPECT_TRUE(m->modified);
}

}  // namespace
}  // namespace tambri
