// The RESULTS menu in whole-program sessions: a small structure of each
// field problem is loaded, solved at once and evaluated.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/external_tools.h"
#include "support/file_size_limit.h"
#include "support/session.h"
#include "support/small_structures.h"
#include "support/vtk_reader.h"
#include "text/fortran_format.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kMainHelp = {"HELP:  T - Tabellenausgabe",      "       C - Äquicolordarstellung",
                         "       G - Gebirgsdarstellung",    "       I - Isoliniendarstellung",
                         "       P - Pfeildarstellung",      "       S - Schnittdarstellung",
                         "       Z - Zoom",                  "       A - PostScript/Bitmap-Ausgabe",
                         "       X - Exit"};

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Loads the structure of `problem` in `dir`, solves it, enters RESULTS and
// answers `commands` there; X leaves RESULTS and the program afterwards.
SessionResult evaluate_in(const TempDir& dir, int problem, const Lines& commands) {
  write_file(dir / "s.dat", small_structure(problem));
  return run_session(dir.path(), concat({{"s.dat", "X", "Y", "R"}, commands, {"X", "X"}}));
}

class Results : public ::testing::Test {
 protected:
  SessionResult evaluate(int problem, const Lines& commands) { return evaluate_in(dir, problem, commands); }
  // The screen from the RESULTS entry on.
  static Lines results_part(const SessionResult& r) {
    Lines lines = r.lines();
    auto at = std::find(lines.begin(), lines.end(), "TAMBRI>R");
    return Lines(at, lines.end());
  }
  TempDir dir;
};

TEST_F(Results, EntryComputesTheFieldsAndShowsTheMainHelp) {
  const SessionResult r = evaluate(kProblemE, {"", "H", "Q"});
  EXPECT_EQ(r.status, 0);
  const Lines expected = concat({{"TAMBRI>R", "*** Felder ready ***", ""}, kMainHelp, {"", "RESULTS>", ""}, kMainHelp,
                                 {"", "RESULTS>H", ""}, kMainHelp,
                                 {"", "RESULTS>Q", "", "### Falsche Eingabe ###", "", "RESULTS>X"}});
  const Lines lines = results_part(r);
  ASSERT_GE(lines.size(), expected.size()) << r.screen;
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<long>(expected.size())), expected);
}

TEST_F(Results, EachProblemOffersItsOwnQuantitiesTablesAndArrows) {
  struct Case {
    int problem;
    Lines quantities, table_first, table_last, arrows;
  };
  const Case cases[] = {
      {kProblemE,
       {"Help: P  - Potential", "      E  - Betrag der Feldstärke", "      EX - x-Komp. von Feldstärke",
        "      EY - y-Komp. von Feldstärke", "      D  - Betrag der Verschiebungsflußdichte",
        "      DX - x-Komp. von Verschiebungsflußdichte", "      DY - y-Komp. von Verschiebungsflußdichte",
        "      WE - Energiedichte", "      X  - zum Hauptmenue"},
       {"Help:  U  - Strukturbelegung", "       K  - Epsilon", "       P  - Potential"},
       {"       WE - Energiedichte", "       Q  - Ladungsberechnung", "       X  - zum Hauptmenue"},
       {"Help: E - Feldstärke", "      D - Verschiebungsflußdichte", "      X - zum Hauptmenue"}},
      {kProblemS,
       {"Help: P  - Potential", "      E  - Betrag der Feldstärke", "      EX - x-Komp. von Feldstärke",
        "      EY - y-Komp. von Feldstärke", "      S  - Betrag der Stromdichte",
        "      SX - x-Komp. von Stromdichte", "      SY - y-Komp. von Stromdichte",
        "      PV - Verlustleistungsdichte", "      X  - zum Hauptmenue"},
       {"Help:  U  - Strukturbelegung", "       K  - Kappa", "       P  - Potential"},
       {"       PV - Verlustleistungsdichte", "       I  - Stromberechnung", "       X  - zum Hauptmenue"},
       {"Help: E - Feldstärke", "      S - Stromdichte", "      X - zum Hauptmenue"}},
      {kProblemM,
       {"Help: V  - Vektorpotential", "      H  - Betrag der Feldstärke", "      HX - x-Komp. von Feldstärke",
        "      HY - y-Komp. von Feldstärke", "      B  - Betrag der Flußdichte",
        "      BX - x-Komp. von Flußdichte", "      BY - y-Komp. von Flußdichte", "      WM - Energiedichte",
        "      X  - zum Hauptmenue"},
       {"Help:  U  - Strukturbelegung", "       P  - Permeabilität", "       V  - Vektorpotential"},
       {"       WM - Energiedichte", "       F  - Flußberechnung", "       X  - zum Hauptmenue"},
       {"Help: H - Feldstärke", "      B - Flußdichte", "      X - zum Hauptmenue"}},
  };
  for (const Case& c : cases) {
    TempDir fresh;
    const SessionResult r = evaluate_in(fresh, c.problem, {"C", "X", "I", "X", "T", "X", "P", "X"});
    const Lines lines = r.lines();
    EXPECT_TRUE(contains_run(lines, concat({{"RESULTS>C", ""}, c.quantities, {"", "RESULTS\\COLOR>X"}}))) << r.screen;
    EXPECT_TRUE(contains_run(lines, concat({{"RESULTS>I", ""}, c.quantities, {"", "RESULTS\\ISO>X"}}))) << r.screen;
    EXPECT_TRUE(contains_run(lines, concat({{"RESULTS>T", ""}, c.table_first}))) << r.screen;
    EXPECT_TRUE(contains_run(lines, concat({c.table_last, {"", "RESULTS\\TABELLE>X"}}))) << r.screen;
    EXPECT_TRUE(contains_run(lines, concat({{"RESULTS>P", ""}, c.arrows, {"", "RESULTS\\PFEIL>X"}}))) << r.screen;
  }
}

TEST_F(Results, TablesCarryTheirTitlesAndTheMagneticPermeabilityAnswersToKAndP) {
  const SessionResult r = evaluate(kProblemM, {"TK", "", "P", "", "H", "", "X"});
  const std::string screen = r.screen;
  // Both letters print the permeability: mu0 times Mue_rel 1 at every node.
  size_t first = screen.find("Permeabilität (Vs/Am)");
  ASSERT_NE(first, std::string::npos) << screen;
  EXPECT_NE(screen.find("Permeabilität (Vs/Am)", first + 1), std::string::npos) << screen;
  EXPECT_NE(screen.find("Maximum:  1.257E-06"), std::string::npos) << screen;
  EXPECT_NE(screen.find("Feldstärke H  (A/m)"), std::string::npos) << screen;
}

TEST_F(Results, TheCutIsWrittenToSchnittDatAndMatchesThePotentialTable) {
  // Along x on the middle y line: the potential falls from 10 V to 0 in steps of 2.5 V.
  const SessionResult r = evaluate(kProblemE, {"SP", "x", "0.015", "n", "n", "", "X", "TP", "tabelle.txt", "X"});
  EXPECT_EQ(r.status, 0) << r.screen;
  EXPECT_EQ(read_file(dir / "schnitt.dat"),
            "  0.000E+00  1.000E+01\n"
            "  1.000E-02  7.500E+00\n"
            "  2.000E-02  5.000E+00\n"
            "  3.000E-02  2.500E+00\n"
            "  4.000E-02  0.000E+00\n");
  EXPECT_TRUE(contains_run(r.lines(), {"RESULTS>SP", "X-Bereich: 0.000E+00 bis 4.000E-02",
                                       "Y-Bereich: 0.000E+00 bis 2.000E-02", "Abszisse (x oder y):x",
                                       "Y-Koordinate:0.015", "Logarithmus bilden [Y/N]:n", "Min= 0.000E+00",
                                       "Max= 1.000E+01", "Werte ändern [Y/N]:n"}))
      << r.screen;
  // The table's column of y line 2 holds the same values.
  std::istringstream table(read_file(dir / "tabelle.txt"));
  Lines column;
  for (std::string line; std::getline(table, line);) {
    if (line.size() >= 35 && line[0] == ' ' && line[3] >= '1' && line[3] <= '5') column.push_back(line.substr(24, 11));
  }
  EXPECT_EQ(column, (Lines{"  1.000E+01", "  7.500E+00", "  5.000E+00", "  2.500E+00", "  0.000E+00"}));
}

TEST_F(Results, CutRefusalsAndTheLogarithmOfExactZeros) {
  write_file(dir / "schnitt.dat", "alt\n");
  // EZ is no quantity; z repeats the abscissa question, 0.5 lies outside,
  // and a letter ends the cut without touching the file.
  SessionResult r = evaluate(kProblemE, {"SEZ", "X"});
  EXPECT_TRUE(contains_run(r.lines(), {"RESULTS>SEZ", "", "### Falsche Eingabe ###", "", "RESULTS\\SCHNITT>X"}))
      << r.screen;
  r = evaluate(kProblemE, {"SEX", "z", "y", "0.5", "a", "X"});
  EXPECT_TRUE(contains_run(r.lines(), {"Abszisse (x oder y):z", "Abszisse (x oder y):y", "X-Koordinate:0.5", "",
                                       "### X-Koordinate außerhalb des Darstellungsbereiches ###",
                                       "X-Koordinate:a", "", "RESULTS\\SCHNITT>X"}))
      << r.screen;
  EXPECT_EQ(read_file(dir / "schnitt.dat"), "alt\n");
  // Ey is exactly 0 along the upper border, where every node holds 10 V:
  // its logarithm is -15, the span is widened, and a reversed range is
  // refused until it is not.
  r = evaluate(kProblemE, {"SEY", "y", "0", "y", "y", "5", "1", "1", "5", "", "X"});
  EXPECT_EQ(read_file(dir / "schnitt.dat").substr(0, 23), "  0.000E+00 -1.500E+01\n");
  EXPECT_TRUE(contains_run(r.lines(), {"Min=-1.500E+01", "Max=-1.500E+01", "Werte ändern [Y/N]:y", "Min=5", "Max=1",
                                       "", "### Max. kleiner Min. ###", "Min=1", "Max=5"}))
      << r.screen;
}

TEST_F(Results, ZoomSnapsToTheLinesBelowAndRefusesEmptyRectangles) {
  const Lines cut_range_of = {"x", "0.01", "n", "n", ""};
  const SessionResult r = evaluate(
      kProblemE, concat({{"ZZ", "0.015 0.001", "0.035 0.019", "X", "SP"}, cut_range_of,
                         {"X", "ZZ", "0.03 0", "0.01 0.02", "V", "Z", "0.001 0", "0.009 0.02", "Z", "a", "X", "SP"},
                         cut_range_of, {"X"}}));
  const Lines lines = r.lines();
  // Snapped to the lines at or below the corners: x 0.01 .. 0.03, y 0 .. 0.01.
  EXPECT_TRUE(contains_run(lines, {"RESULTS>SP", "X-Bereich: 1.000E-02 bis 3.000E-02",
                                   "Y-Bereich: 0.000E+00 bis 1.000E-02"}))
      << r.screen;
  // Reversed: refused and unchanged; within one cell: refused and the full grid.
  EXPECT_TRUE(contains_run(lines, {"RESULTS>ZZ", "Linke obere Ecke (Xlo Ylo):0.03 0",
                                   "Rechte untere Ecke (Xru Yru):0.01 0.02", "", "### Keine Darstellungsfläche ###"}))
      << r.screen;
  EXPECT_TRUE(contains_run(lines, {"RESULTS\\ZOOM>Z", "Linke obere Ecke (Xlo Ylo):0.001 0",
                                   "Rechte untere Ecke (Xru Yru):0.009 0.02", "", "### Keine Darstellungsfläche ###",
                                   "", "RESULTS\\ZOOM>Z", "Linke obere Ecke (Xlo Ylo):a", "", "RESULTS\\ZOOM>X"}))
      << r.screen;
  EXPECT_TRUE(contains_run(lines, {"RESULTS>SP", "X-Bereich: 0.000E+00 bis 4.000E-02",
                                   "Y-Bereich: 0.000E+00 bis 2.000E-02"}))
      << r.screen;
}

TEST_F(Results, OutputSettingsAndTheCommentThatEveryEntryBlanks) {
  const SessionResult r = evaluate(kProblemE, {"A", "P", "F", "B", "H", "Q", "K", "Probe (1)", "X", "SP", "x", "0",
                                               "n", "n", "", "X", "X", "R", "SP", "x", "0", "n", "n", "", "X"});
  const Lines lines = r.lines();
  EXPECT_TRUE(contains_run(lines, {"RESULTS>A", "*** PostScript-Ausgabe deaktiviert ***",
                                   "*** PostScript-Ausgabe farbig ***", "*** Bitmap-Ausgabe deaktiviert ***",
                                   "*** Bildhintergrund schwarz ***", "",
                                   "Help: P - PS-Ausgabe aktivieren/deaktivieren"}))
      << r.screen;
  EXPECT_TRUE(contains_run(lines, {"RESULTS\\PS>P", "", "*** PostScript-Ausgabe aktiviert ***", "", "RESULTS\\PS>F",
                                   "", "*** PostScript-Ausgabe s/w ***", "", "RESULTS\\PS>B", "",
                                   "*** Bitmap-Ausgabe aktiviert ***", "", "RESULTS\\PS>H", "",
                                   "*** Bildhintergrund weiß ***", "", "RESULTS\\PS>Q", "", "### Falsche Eingabe ###",
                                   "", "Help: P - PS-Ausgabe aktivieren/deaktivieren"}))
      << r.screen;
  EXPECT_TRUE(contains_run(lines, {"RESULTS\\PS>K", "Kommentar (max.35 Zeichen):Probe (1)", "", "RESULTS\\PS>X"}))
      << r.screen;
  EXPECT_TRUE(std::filesystem::exists(dir / "s_s.bmp"));
  // The second cut, after leaving and entering RESULTS again, has a blank comment.
  const std::string ps = read_file(dir / "s_s.ps");
  EXPECT_NE(ps.find("(Struktur : s.dat" + std::string(7 + 35 + 2, ' ') + ") "), std::string::npos) << ps;
}

TEST_F(Results, GhostscriptRendersEveryCutPicture) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  struct Case {
    Lines answers;
  };
  const Case cases[] = {
      {{"x", "0.01", "n", "n", ""}},                   // colour
      {{"y", "0.02", "y", "n", ""}},                   // logarithmic
      {{"x", "0.01", "n", "y", "2", "8", ""}},         // narrowed: the curve runs along both edges
      {{"x", "0.01", "n", "y", "-20", "30", ""}},      // widened
  };
  for (bool grey : {false, true}) {
    for (const Case& c : cases) {
      Lines commands = {"AP"};
      if (grey) commands.push_back("F");
      commands.insert(commands.end(), {"K", "(Klammer) \\ Test", "X", "SP"});
      commands.insert(commands.end(), c.answers.begin(), c.answers.end());
      commands.push_back("X");
      const SessionResult r = evaluate(kProblemE, commands);
      ASSERT_EQ(r.status, 0) << r.screen;
      const CommandResult gs = render_postscript((dir / "s_s.ps").string());
      EXPECT_TRUE(rendered_cleanly(gs)) << gs.output << read_file(dir / "s_s.ps");
    }
  }
}

TEST_F(Results, APictureFileThatCannotBeWrittenIsReportedAndTheOldOneStays) {
  write_file(dir / "s_s.ps", "alt");
  // Room for the small files of the session, not for the picture's.
  const int status = with_file_size_limit(1024, [&] {
    const SessionResult r = evaluate(kProblemE, {"AP", "X", "SP", "x", "0.01", "n", "n", "", "X"});
    return contains_run(r.lines(), {"Werte ändern [Y/N]:n", "", "", "### Schreibfehler ###", "",
                                    "RESULTS\\SCHNITT>X"})
               ? 0
               : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(read_file(dir / "s_s.ps"), "alt");
  Lines names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Lines{"history.inp", "s.dat", "s_s.ps", "schnitt.dat"}));
}

TEST_F(Results, AnUnfinishedPictureLeavesNoFile) {
  // The input ends while the cut waits for Return.
  write_file(dir / "s.dat", small_structure(kProblemE));
  const SessionResult r = run_session(dir.path(), {"s.dat", "X", "Y", "R", "AP", "X", "SP", "x", "0.01", "n", "n"});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "s_s.ps"));
  EXPECT_TRUE(std::filesystem::exists(dir / "schnitt.dat"));
}

TEST_F(Results, CommandLineOptionsAddPngCopiesAndTheVtkFile) {
  write_file(dir / "s.dat", small_structure(kProblemE));
  const Lines answers = {"s.dat", "X", "Y", "R", "AB", "X", "SP", "x", "0.01", "n", "n", "", "X", "TP", "t.txt", "X", "X", "X"};
  TempDir without_options;
  write_file(without_options / "s.dat", small_structure(kProblemE));
  const SessionResult plain = run_session(without_options.path(), answers);
  EXPECT_TRUE(std::filesystem::exists(without_options / "s_s.bmp"));
  EXPECT_FALSE(std::filesystem::exists(without_options / "s_s.png"));
  EXPECT_FALSE(std::filesystem::exists(without_options / "s.vtr"));
  const SessionResult with = run_session(dir.path(), answers, {"--headless", "--png", "--vtk"});
  EXPECT_EQ(with.screen, plain.screen);  // the transcript is the same
  EXPECT_TRUE(std::filesystem::exists(dir / "s_s.png"));
  // The file's potential agrees with the table, node by node, to the table's digits.
  const VtkFile vtk = read_vtk(read_file(dir / "s.vtr"));
  EXPECT_EQ(vtk.whole_extent, "0 4 0 2 0 0");
  const std::vector<double>& phi = vtk.arrays.at("Phi (V)");
  ASSERT_EQ(phi.size(), 15u);
  std::istringstream table(read_file(dir / "t.txt"));
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.size() < 46 || line[0] != ' ' || line[3] < '1' || line[3] > '5') continue;
    const int i = line[3] - '0';
    for (int j = 1; j <= 3; ++j) {
      EXPECT_EQ(line.substr(14 + 11 * (j - 1), 10), format_e10(phi[static_cast<size_t>((j - 1) * 5 + i - 1)]))
          << i << "," << j;
    }
    ++rows;
  }
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(vtk.arrays.at("Epsilon (As/Vm)")[0], 8.86E-12);
}

TEST_F(Results, PathIntegralDialogueRefusesAndReportsTheUsedLines) {
  const SessionResult r = evaluate(kProblemE, {"TQ", "0.05 0", "0.01 0.005", "0 0.02", "0.01 0.005", "0.03 0.02",
                                               "", "Q", "0.01 0", "0.01 0.02", "", "X"});
  const Lines lines = r.lines();
  EXPECT_TRUE(contains_run(lines, {"RESULTS>TQ", "Eingabe Integrationsweg (Rechteck oder Linie)",
                                   "Linke obere Ecke   (Xlo Ylo):0.05 0", "### Rechteck außerhalb der Struktur ###",
                                   "Linke obere Ecke   (Xlo Ylo):0.01 0.005", "Rechte untere Ecke (Xru Yru):0 0.02",
                                   "### Keine Fläche oder Linie ###", "Rechte untere Ecke (Xru Yru):0.01 0.005",
                                   "### Keine Fläche oder Linie ###", "Rechte untere Ecke (Xru Yru):0.03 0.02", ""}))
      << r.screen;
  EXPECT_TRUE(contains_run(lines, {"Eingabe Integrationsweg (Rechteck oder Linie)",
                                   "Linke obere Ecke   (Xlo Ylo): 1.000E-02 5.000E-03",
                                   "Rechte untere Ecke (Xru Yru): 3.000E-02 2.000E-02", "",
                                   "Verwendete Koordinaten (m):", "( 1.000E-02, 0.000E+00)+-----+",
                                   "                       +-----+( 3.000E-02, 2.000E-02)", ""}))
      << r.screen;
  // The line of constant x at x = 0.01 crosses the uniform field of 250 V/m
  // over the whole width: Q' = eps0 * 250 V/m * 0.02 m.
  EXPECT_TRUE(contains_run(lines, {"", "*** Integration auf x-Linie ***", "", "Verwendete Koordinaten (m):",
                                   "( 1.000E-02, 0.000E+00)+-----+",
                                   "                       +-----+( 1.000E-02, 2.000E-02)", "",
                                   "Q' = 4.430E-11 As/m", "", "", "RESULTS\\TABELLE>X"}))
      << r.screen;
}

}  // namespace
}  // namespace tambri::test
