#include "solve/calcul_menu.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/session.h"
#include "solve_fixture.h"

namespace tambri {
namespace {

using test::contains_run;
using test::make_model;
using test::set_code;

// A CALCUL visit on a console of string streams, with a fixed clock.
struct Calcul {
  explicit Calcul(std::unique_ptr<StructureModel> m) : model(std::move(m)) {}

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

  std::unique_ptr<StructureModel> model;
  SolverSettings settings;
  std::unique_ptr<FieldArrays> arrays = std::make_unique<FieldArrays>();
  std::string raw;
};

// 3 x 2 nodes, spacing 1, problem S with conductivity 1; 4 V at node (1, 1),
// 0 V at node (3, 2).
Calcul tiny(int problem = kProblemS) {
  auto model = make_model(problem, {0, 1, 2}, {0, 1});
  model->tables.potential[1] = 4.0;
  set_code(*model, 1, 1, 10);
  set_code(*model, 3, 2, 20);
  return Calcul(std::move(model));
}

// Screen lines: the carriage-control character of each record is not shown.
const std::vector<std::string> kHelp{"",
                                     "HELP:  R - Potentialberechnung",
                                     "       L - Lösungsverfahren ändern",
                                     "       W - Weiteriterieren",
                                     "       T - Tabellenausgabe",
                                     "       S - Setzen von Parametern",
                                     "       X - Exit"};

TEST(CalculEntry, ImmediateStartRunsIluBicgWithTheDefaults) {
  Calcul c = tiny();
  c.settings.solver = kSolverSor;
  c.settings.omega = 1.8;
  EXPECT_EQ(c.run("", true), (std::vector<std::string>{"*** Matrix ready ***", "", "working...", "",
                                                      "*** ILU-BICG ready ***"}));
  EXPECT_EQ(c.settings.solver, kSolverSor);
  EXPECT_EQ(c.settings.omega, kOmegaDefault);
  EXPECT_NEAR(c.arrays->solution.potential[2], 24.0 / 11, 1e-5);
}

TEST(CalculEntry, PotentialNotesComeBeforeTheAssembly) {
  Calcul c(make_model(kProblemE, {0, 1}, {0, 1}));
  EXPECT_EQ(c.run("X\n"), (std::vector<std::string>{
                              "", "*** Keine konstanten Potentiale vorhanden ***", "", "",
                              "*** Alle Potentiale liegen auf Null ***", "", "*** Matrix ready ***",
                              kHelp[0], kHelp[1], kHelp[2], kHelp[3], kHelp[4], kHelp[5], kHelp[6], "",
                              "CALCUL>X"}));
}

TEST(CalculEntry, GridWithoutTwoLinesInEachDirectionIsNotAssembled) {
  Calcul c(make_model(kProblemE, {0, 1, 2}, {0}));
  c.arrays->matrix.mitte[1] = 123.0;
  EXPECT_EQ(c.run("X\n"), (std::vector<std::string>{"", "### Keine Diskretisierung ###"}));
  EXPECT_EQ(c.arrays->matrix.mitte[1], 123.0);
}

TEST(CalculMenu, SettingsShortcutAsksAtOnceAndParametersResetOnReentry) {
  Calcul c = tiny();
  const std::vector<std::string> screen = c.run("SI\n250\nO\n1.8\nX\nX\n");
  EXPECT_TRUE(contains_run(screen, {"CALCUL>SI", "", "Ausgabe des relativen Fehlers: N",
                                    "Iterationszahl:  500", "Omega: 1.55",
                                    "Rel. Abbruchfehler:  1.000E-06", "Iterationszahl =250", "",
                                    "Ausgabe des relativen Fehlers: N", "Iterationszahl:  250"}));
  EXPECT_TRUE(contains_run(screen, {"Änderung:  A - Ausgabe", "           I - Iterationszahl",
                                    "           O - Omega", "           R - Rel. Fehler",
                                    "           X - zum Hauptmenue", "--->O", "Omega =1.8", "",
                                    "Ausgabe des relativen Fehlers: N", "Iterationszahl:  250",
                                    "Omega: 1.80"}));
  EXPECT_EQ(c.settings.omega, 1.8);

  EXPECT_TRUE(contains_run(c.run("S\nX\nX\n"), {"Iterationszahl:  500", "Omega: 1.55"}));
}

TEST(CalculMenu, SettingsRepeatAWrongNumberAndRefuseAWrongLetter) {
  Calcul c = tiny();
  const std::vector<std::string> screen = c.run("SR\nabc\n1e-9\nQ\nA\nY\nX\nX\n");
  EXPECT_TRUE(contains_run(screen, {"Rel. Fehler =abc", "Rel. Fehler =1e-9"}));
  EXPECT_TRUE(contains_run(screen, {"--->Q", "", "### Falsche Eingabe ###", "Änderung:  A - Ausgabe"}));
  EXPECT_TRUE(contains_run(screen, {"Ausgabe [Y/N] =Y", "", "Ausgabe des relativen Fehlers: Y"}));
  EXPECT_EQ(c.settings.relative_error, 1e-9);
  EXPECT_TRUE(c.settings.show_progress);
}

TEST(CalculMenu, SolverChoiceKeepsOnBlankLeavesOnXAndRefusesSeven) {
  Calcul c = tiny();
  const std::vector<std::string> list{"Lösungsverfahren:  1 - ILU-BICG", "                   2 - ILU-CG",
                                      "                   3 - SLOR", "                   4 - SOR",
                                      "                   X - zum Hauptmenue"};
  const std::vector<std::string> screen = c.run("L\n\nL\nX\nL\n7\n3\nX\n");
  std::vector<std::string> keep{"CALCUL>L"};
  keep.insert(keep.end(), list.begin(), list.end());
  keep.insert(keep.end(), {"Auswahl (1):", kHelp[0], kHelp[1]});
  EXPECT_TRUE(contains_run(screen, keep));
  EXPECT_TRUE(contains_run(screen, {"Auswahl (1):X", "", "CALCUL>L"}));
  EXPECT_TRUE(contains_run(screen, {"Auswahl (1):7", "", "### Falsche Eingabe ###", list[0]}));
  EXPECT_TRUE(contains_run(screen, {"Auswahl (1):3", kHelp[0], kHelp[1]}));
  EXPECT_EQ(c.settings.solver, kSolverSlor);
}

TEST(CalculMenu, IterationLimitZeroAbortsTheNextRun) {
  Calcul c = tiny();
  c.settings.solver = kSolverSor;
  const std::vector<std::string> screen = c.run("SI\n0\nX\nR\nW\nX\n");
  EXPECT_TRUE(contains_run(screen, {"CALCUL>R", "*** Matrix ready ***", "", "working...", "", "",
                                    "### Abbruch SOR:  Rel. Fehler: 0.000E+00 ###"}));
  EXPECT_TRUE(contains_run(screen, {"CALCUL>W", "", "working...", "", "",
                                    "### Abbruch SOR:  Rel. Fehler: 0.000E+00 ###"}));
}

TEST(CalculMenu, WrongLetterGivesTheMessageWithoutTheHelp) {
  Calcul c = tiny();
  EXPECT_TRUE(contains_run(c.run("Q\nX\n"), {"CALCUL>Q", "", "### Falsche Eingabe ###", "", "CALCUL>X"}));
}

TEST(CalculProgress, LinesOverwriteEachOtherWithTheirMarks) {
  Calcul c = tiny();
  c.settings.solver = kSolverSlor;
  c.settings.show_progress = true;
  c.run("SI\n2\nX\nW\nL\n4\nW\nX\n");
  // SLOR's first sweep changes nodes 2..5 by 100 %, the first of them wins.
  // The empty line after " working..." is the first one overwritten.
  EXPECT_NE(c.raw.find("working...\n\r /  Iteration:   1   Rel. Fehler: 1.000E+00 am Punkt x,y(  2,  1) ***"
                       "\r -  Iteration:   2   Rel. Fehler:"),
            std::string::npos);
  EXPECT_NE(c.raw.find("\r*** Iteration:   1   Rel. Fehler:"), std::string::npos);
  EXPECT_NE(c.raw.find("\n\n### Abbruch SLOR:  Rel. Fehler:"), std::string::npos);
}

TEST(CalculTables, ProblemMHasThePermeabilityUnderPAndNoK) {
  Calcul c = tiny(kProblemM);
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
  Calcul c = tiny();
  const std::vector<std::string> screen = c.run("TU\n\nM\n\nE\n2 1\n0 5\nX\nX\nX\n");
  EXPECT_TRUE(contains_run(screen, {"  1 0.00E+00  1.000E+01  0.000E+00"}));
  const std::string b23(23, ' ');
  EXPECT_TRUE(contains_run(screen, {"CALCUL\\TABELLE>M", "Ausgabedatei (<Return> Terminal):",
                                    "A - alle Elemente", "E - einzelne Elemente", "--->E", "",
                                    "Element (X - Ende) ix jy =2 1", "", b23 + " 5.000E-01",
                                    std::string(28, ' ') + "|",
                                    std::string(9, ' ') + " 0.000E+00 - -2.000E+00 -  1.000E+00",
                                    std::string(24, ' ') + "(  2,  1)", std::string(28, ' ') + "|",
                                    b23 + " 5.000E-01", "", "Element (X - Ende) ix jy =0 5",
                                    "### Element existiert nicht ###", "",
                                    "Element (X - Ende) ix jy =X", "", "CALCUL\\TABELLE>X"}));
}

TEST(CalculTables, MatrixListGoesIntoAFileThatIsReplaced) {
  test::TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  test::write_file("matrix.txt", "alt\n");
  Calcul c = tiny();
  c.run("TM\nmatrix.txt\nA\nX\nX\n");
  std::filesystem::current_path(previous);
  const std::filesystem::path path = dir / "matrix.txt";
  const std::string expected =
      "\n  Element Links      Oben       Mitte      Unten      Rechts\n\n"
      "      1   0.000E+00  0.000E+00  1.000E+00  0.000E+00  0.000E+00\n"
      "      2   0.000E+00  5.000E-01 -2.000E+00  5.000E-01  1.000E+00\n";
  EXPECT_EQ(test::read_file(path).substr(0, expected.size()), expected);
}

}  // namespace
}  // namespace tambri
