#include "dialogue/calcul_menu.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/solve_fixture.h"
#include "support/session.h"

namespace tambri {
namespace {

using test::contains_run;

// A CALCUL visit on a console of string streams, with a fixed clock. The
// model: 3 x 2 nodes, spacing 1, conductivity 1; 4 V at (1, 1), 0 V at (3, 2).
struct Calcul {
  explicit Calcul(int problem = kProblemS) {
    model->tables.potential[1] = 4.0;
    test::set_block(*model, 1, 1, 1, 1, 10);
    test::set_block(*model, 3, 3, 2, 2, 20);
    model->problem = problem;
  }
  std::vector<std::string> run(const std::string& input, bool start_immediately = false) {
    std::istringstream in(input);
    std::ostringstream out;
    Console console(in, out, true);
    run_calcul_menu(console, *model, settings, *arrays, start_immediately,
                    [] { return LocalDateTime{5, 3, 2026, 9, 5, 3}; });
    console.finish();
    raw = out.str();
    std::vector<std::string> lines;
    std::istringstream split(raw);
    for (std::string line; std::getline(split, line);) lines.push_back(line);
    return lines;
  }
  std::unique_ptr<StructureModel> model = test::make_model(kProblemS, {0, 1, 2}, {0, 1});
  SolverSettings settings;
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();
  std::string raw;
};

// Screen lines: the carriage-control character of a record is not shown.
const std::vector<std::string> kHelpStart{"", "HELP:  R - Potentialberechnung",
                                          "       L - Lösungsverfahren ändern"};

TEST(CalculEntry, ImmediateStartRunsIluBicgWithTheDefaults) {
  Calcul c;
  c.settings.solver = kSolverSor;
  c.settings.omega = 1.8;
  EXPECT_EQ(c.run("", true), (std::vector<std::string>{"*** Matrix ready ***", "", "working...", "",
                                                      "*** ILU-BICG ready ***"}));
  EXPECT_EQ(c.settings.solver, kSolverSor);
  EXPECT_EQ(c.settings.omega, kOmegaDefault);
  EXPECT_NEAR(c.arrays->solution.potential[2], 24.0 / 11, 1e-5);
}

TEST(CalculEntry, NotesComeBeforeTheAssemblyWhichNeedsTwoLinesEachWay) {
  Calcul c;
  c.model = test::make_model(kProblemE, {0, 1}, {0, 1});
  EXPECT_EQ(c.run("X\n"),
            (std::vector<std::string>{"", "*** Keine konstanten Potentiale vorhanden ***", "", "",
                                      "*** Alle Potentiale liegen auf Null ***", "",
                                      "*** Matrix ready ***", kHelpStart[0], kHelpStart[1],
                                      kHelpStart[2], "       W - Weiteriterieren",
                                      "       T - Tabellenausgabe", "       S - Setzen von Parametern",
                                      "       X - Exit", "", "CALCUL>X"}));
  c.model->grid.ny = 1;
  c.arrays->matrix.mitte[1] = 123.0;
  EXPECT_EQ(c.run("X\n"), (std::vector<std::string>{"", "### Keine Diskretisierung ###"}));
  EXPECT_EQ(c.arrays->matrix.mitte[1], 123.0);
}

TEST(CalculMenu, SettingsDialogueAndTheResetOnReentry) {
  Calcul c;
  const std::vector<std::string> screen = c.run("SI\n250\nR\nabc\n1e-9\nQ\nO\n1.8\nX\nX\n");
  EXPECT_TRUE(contains_run(screen, {"CALCUL>SI", "", "Ausgabe des relativen Fehlers: N",
                                    "Iterationszahl:  500", "Omega: 1.55",
                                    "Rel. Abbruchfehler:  1.000E-06", "Iterationszahl =250", "",
                                    "Ausgabe des relativen Fehlers: N", "Iterationszahl:  250"}));
  EXPECT_TRUE(contains_run(screen, {"Änderung:  A - Ausgabe", "           I - Iterationszahl",
                                    "           O - Omega", "           R - Rel. Fehler",
                                    "           X - zum Hauptmenue", "--->R", "Rel. Fehler =abc",
                                    "Rel. Fehler =1e-9"}));
  EXPECT_TRUE(contains_run(screen, {"--->Q", "", "### Falsche Eingabe ###", "Änderung:  A - Ausgabe"}));
  EXPECT_EQ(c.settings.omega, 1.8);
  EXPECT_EQ(c.settings.relative_error, 1e-9);
  EXPECT_TRUE(contains_run(c.run("S\nX\nX\n"), {"Iterationszahl:  500", "Omega: 1.55"}));
}

TEST(CalculMenu, SolverChoiceKeepsOnBlankLeavesOnXAndRefusesSeven) {
  Calcul c;
  const std::vector<std::string> screen = c.run("L\n\nL\nX\nL\n7\n3\nQ\nX\n");
  EXPECT_TRUE(contains_run(screen, {"CALCUL>L", "Lösungsverfahren:  1 - ILU-BICG",
                                    "                   2 - ILU-CG", "                   3 - SLOR",
                                    "                   4 - SOR", "                   X - zum Hauptmenue",
                                    "Auswahl (1):", kHelpStart[0], kHelpStart[1]}));
  EXPECT_TRUE(contains_run(screen, {"Auswahl (1):X", "", "CALCUL>L"}));
  EXPECT_TRUE(contains_run(screen, {"Auswahl (1):7", "", "### Falsche Eingabe ###",
                                    "Lösungsverfahren:  1 - ILU-BICG"}));
  EXPECT_TRUE(contains_run(screen, {"Auswahl (1):3", kHelpStart[0], kHelpStart[1]}));
  EXPECT_TRUE(contains_run(screen, {"CALCUL>Q", "", "### Falsche Eingabe ###", "", "CALCUL>X"}));
  EXPECT_EQ(c.settings.solver, kSolverSlor);
}

TEST(CalculMenu, ProgressLinesOverwriteEachOtherAndLimitZeroAborts) {
  Calcul c;
  c.settings.solver = kSolverSlor;
  c.settings.show_progress = true;
  const std::vector<std::string> screen = c.run("SI\n2\nX\nW\nL\n4\nSI\n0\nX\nR\nX\n");
  // The empty line after " working..." is the first one overwritten; SLOR's
  // first sweep changes nodes 2..5 by 100 %, the first of them counts.
  EXPECT_NE(c.raw.find("working...\n\r /  Iteration:   1   Rel. Fehler: 1.000E+00 am Punkt x,y(  2,  1) ***"
                       "\r -  Iteration:   2   Rel. Fehler:"),
            std::string::npos);
  EXPECT_NE(c.raw.find("***\n\n### Abbruch SLOR:  Rel. Fehler:"), std::string::npos);
  EXPECT_TRUE(contains_run(screen, {"CALCUL>R", "*** Matrix ready ***", "", "working...", "", "",
                                    "### Abbruch SOR:  Rel. Fehler: 0.000E+00 ###"}));
}

TEST(CalculTables, ProblemMHasThePermeabilityUnderPAndNoK) {
  Calcul c(kProblemM);
  const std::vector<std::string> screen = c.run("T\n\nK\nP\n\nX\nX\n");
  EXPECT_TRUE(contains_run(screen, {"CALCUL>T", "", "CALCUL\\TABELLE>", "",
                                    "Help:  U  - Strukturbelegung", "       P  - Permeabilität",
                                    "       R  - rechte Seite Gl.-System",
                                    "       M  - Koeffizientenmatrix", "       X  - zum Hauptmenue"}));
  EXPECT_TRUE(contains_run(screen, {"CALCUL\\TABELLE>K", "", "### Falsche Eingabe ###"}));
  EXPECT_TRUE(contains_run(screen, {
      "Ausgabedatei (<Return> Terminal):",
      "*** TAMBRI ***             Permeabilität (Vs/Am)          5- 3-2026    9: 5: 3"}));
  EXPECT_TRUE(contains_run(screen, {"  1 0.00E+00  1.257E-06  1.257E-06"}));
}

TEST(CalculTables, OccupancyByShortcutAndTheMatrixStar) {
  Calcul c;
  const std::vector<std::string> screen = c.run("TU\n\nM\n\nE\n2 1\n0 5\nX\nX\nX\n");
  EXPECT_TRUE(contains_run(screen, {"  1 0.00E+00  1.000E+01  0.000E+00"}));
  const std::string above = std::string(23, ' ') + " 5.000E-01", bar = std::string(28, ' ') + "|";
  EXPECT_TRUE(contains_run(screen, {"CALCUL\\TABELLE>M", "Ausgabedatei (<Return> Terminal):",
                                    "A - alle Elemente", "E - einzelne Elemente", "--->E", "",
                                    "Element (X - Ende) ix jy =2 1", "", above, bar,
                                    std::string(9, ' ') + " 0.000E+00 - -2.000E+00 -  1.000E+00",
                                    std::string(24, ' ') + "(  2,  1)", bar, above, "",
                                    "Element (X - Ende) ix jy =0 5",
                                    "### Element existiert nicht ###", "",
                                    "Element (X - Ende) ix jy =X", "", "CALCUL\\TABELLE>X"}));
}

TEST(CalculTables, MatrixListReplacesAFileWithoutAQuestion) {
  test::TempDir dir;
  test::write_file(dir / "matrix.txt", "alt\n");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  Calcul().run("TM\nmatrix.txt\nA\nX\nX\n");
  std::filesystem::current_path(previous);
  const std::string expected =
      "\n  Element Links      Oben       Mitte      Unten      Rechts\n\n"
      "      1   0.000E+00  0.000E+00  1.000E+00  0.000E+00  0.000E+00\n"
      "      2   0.000E+00  5.000E-01 -2.000E+00  5.000E-01  1.000E+00\n";
  EXPECT_EQ(test::read_file(dir / "matrix.txt").substr(0, expected.size()), expected);
}

}  // namespace
}  // namespace tambri
