// Scripted sessions of the GENERATE menu: start a new problem, build a grid,
// set value tables, change the field type and leave.
#include <gtest/gtest.h>

#include "support/session.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

// Answers that start a new problem (no history.inp in a fresh folder), then the
// given GENERATE commands; X at the main menu ends the program.
Lines new_problem(const std::string& letter, const Lines& commands) {
  Lines input = {"test.dat", letter};
  input.insert(input.end(), commands.begin(), commands.end());
  return input;
}

class GenerateSession : public ::testing::Test {
 protected:
  SessionResult run(const Lines& input) { return run_session(dir.path(), input); }
  TempDir dir;
};

TEST_F(GenerateSession, StartOfANewProblem) {
  SessionResult r = run(new_problem("m", {"X", "X"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains_run(r.lines(), {
      "                    |_____________________________________|",
      "",
      "",
      "Strukturdatei:test.dat",
      "",
      "*** Datei nicht vorhanden ***",
      "",
      "Neues Feldproblem:",
      "Elektrostatisch      - E",
      "Stationär elektrisch - S",
      "Stationär magnetisch - M",
      "Exit                 - X      -->m",
      "",
      "HELP:  A - Anzeige Struktur",
      "       D - Diskretisierung erzeugen",
  })) << r.screen;
  // Without parts there is no structure: no start question, C is refused.
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>X", "", "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
  EXPECT_EQ(read_file(dir / "history.inp"), "test.dat    \r\n");
}

TEST_F(GenerateSession, NewProblemMenuRepeatsOnOtherLettersAndXRefusesTheLoad) {
  SessionResult r = run(new_problem("q", {"x", "c", "r", "x"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains_run(r.lines(), {"Exit                 - X      -->q", "Neues Feldproblem:"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"Exit                 - X      -->x", "", "### Abbruch GENERATE ###"}))
      << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"TAMBRI>c", "", "### Keine Struktur verfügbar ###"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"TAMBRI>r", "", "### Keine Ergebnisse verfügbar ###"})) << r.screen;
}

TEST_F(GenerateSession, ExtentsAndRangeLines) {
  SessionResult r = run(new_problem("E", {"DS", "0 0 0 1", "0,0,0.1,0.2", "XX", "0 0.1 0", "0 0.1 2",
                                          "0.05 0.2 3", "-1 0.1 3", "0.1 0.05 3", "0 0.1 202",
                                          "0 0.1 11", "x", "X", "N", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE>DS",
      "",
      "Strukturabmessungen (m): Xb= 0.000E+00  Yb= 0.000E+00",
      "                          Xe= 0.000E+00  Ye= 0.000E+00",
      "",
      "Neue Werte:  Xb Yb Xe Ye>0 0 0 1",
      "",
      "### Strukturabmessung Null ###",
      "",
      "Neue Werte:  Xb Yb Xe Ye>0,0,0.1,0.2",
      "",
      "GENERATE\\DISKRET>XX",
      "",
      "X-Koordinaten (  2):",
      "",
      " 0.000E+00 1.000E-01",
      "Xbeg Xend Anzahl >0 0.1 0",
      "### Anzahl zu klein ###",
      "Xbeg Xend Anzahl >0 0.1 2",
      "### Anzahl zu klein ###",
      "Xbeg Xend Anzahl >0.05 0.2 3",
      "### Xend außerhalb der Struktur ###",
      "Xbeg Xend Anzahl >-1 0.1 3",
      "### Xbeg außerhalb der Struktur ###",
      "Xbeg Xend Anzahl >0.1 0.05 3",
      "### Xbeg größer/gleich Xend ###",
      "Xbeg Xend Anzahl >0 0.1 202",
      "### Anzahl zu groß ###",
      "Xbeg Xend Anzahl >0 0.1 11",
      "",
      "Neue X-Koordinaten ( 11):",
      "",
      " 0.000E+00 1.000E-02 2.000E-02 3.000E-02 4.000E-02 5.000E-02",
      " 6.000E-02 7.000E-02 8.000E-02 9.000E-02 1.000E-01",
      "",
      "GENERATE\\DISKRET>x",
      "",
      "GENERATE>X",
      "",
      "*** Struktur wurde modifiziert ***",
      "",
      "Speichern [Y/N]:N",
  })) << r.screen;
}

TEST_F(GenerateSession, HomogeneousGrids) {
  SessionResult r = run(new_problem("S", {"dhp", "S", "0 0 1 2", "HP", "202", "2", "201", "X", "X", "N",
                                          "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>dhp", "", "### Strukturabmessung Null ###", "",
                                       "GENERATE\\DISKRET>S"}))
      << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {
      "Punktzahl (max. 201 ) >202", "", "### Punktzahl zu groß ###", "",
      "Punktzahl (max. 201 ) >2", "", "### Punktzahl zu klein ###", "",
      "Punktzahl (max. 201 ) >201", "",
      "*** Äquidistante Diskretisierung: dx= 5.000E-03   dy= 1.000E-02"})) << r.screen;
}

TEST_F(GenerateSession, HomogeneousSpacingChecksBothDirectionsFirst) {
  SessionResult r = run(new_problem("E", {"DS", "0 0 1 2", "HA", "0.6", "0.001", "0.1", "XX", "x",
                                          "X", "X", "N", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE\\DISKRET>HA", "", "Abstand (m) >0.6", "", "### Abstand zu groß ###", "",
      "Abstand (m) >0.001", "", "### Abstand zu klein ###", "", "Abstand (m) >0.1", "",
      "*** Äquidistante Diskretisierung: dx= 1.000E-01  dy= 1.000E-01  mx=  11  ny=  21"}))
      << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"X-Koordinaten ( 11):"})) << r.screen;
}

TEST_F(GenerateSession, ValueTables) {
  SessionResult r = run(new_problem("E", {"M", "3 0.89", "3 0.9", "P", "0 5", "2 -5", "E", "a", "X", "N",
                                          "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE>M", "", "Relative Permittivität:", "Nr.    Eps_rel", "",
      "0      1.000E+00  (Vorbelegung)", "1      1.000E+00"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {
      "Nr.  Wert >3 0.89", "", "### Zu kleiner Wert ###", "", "Nr.  Wert >3 0.9", "", "Neue Werte:",
      "Nr.    Eps_rel", "", "0      1.000E+00  (Vorbelegung)", "1      1.000E+00", "2      1.000E+00",
      "3      9.000E-01"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"Nr.  Wert >0 5", "", "### Falsche Nummer ###"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"2     -5.000E+00"})) << r.screen;
  // A letter at the prompt leaves the table without a word.
  EXPECT_TRUE(contains_run(r.lines(), {"Raumladungsdichten:", "Nr.    Rho (As/m+3)"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"Nr.  Wert >a", "", "GENERATE>X"})) << r.screen;
}

TEST_F(GenerateSession, ConductivityTableAndNoExcitationInProblemS) {
  SessionResult r = run(new_problem("S", {"M", "1 0", "1 1e-20", "E", "X", "N", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {"Nr.  Wert >1 0", "", "### Zu kleiner Wert ###"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"1      1.000E-20"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>E", "", "### Keine Erregung möglich ###"})) << r.screen;
}

TEST_F(GenerateSession, FieldTypeChange) {
  SessionResult r = run(new_problem("E", {"P", "1 7", "T", "e", "T", "z", "M", "P", "x", "X", "N", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE>T", "", "Altes Feldproblem:", "*** Elektrostatisch ***", "Neues Feldproblem:",
      "Elektrostatisch      - E", "Stationär elektrisch - S", "Stationär magnetisch - M      -->e", "",
      "GENERATE>T"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {
      "Stationär magnetisch - M      -->z", "Neues Feldproblem:", "Elektrostatisch      - E",
      "Stationär elektrisch - S", "Stationär magnetisch - M      -->M", "",
      "*** Alle Erregungen, Potentiale und Materialparameter zurückgesetzt ***"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"Konstante Vektorpotentiale:", "Nr.    Vz (Vs/m)", "",
                                       "1      0.000E+00"})) << r.screen;
}

TEST_F(GenerateSession, LeavingAModifiedStructureAsksUntilYOrN) {
  SessionResult r = run(new_problem("E", {"P", "1 1", "X", "q", "", "n", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>X", "", "*** Struktur wurde modifiziert ***", "",
                                       "Speichern [Y/N]:q", "Speichern [Y/N]:", "Speichern [Y/N]:n", "",
                                       "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
}

TEST_F(GenerateSession, SaveNeedsAGridInBothDirections) {
  SessionResult r = run(new_problem("E", {"W", "P", "1 1", "X", "Y", "X", "N", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>W", "", "### Keine Diskretisierung ###", "", "GENERATE>P"}))
      << r.screen;
  // A save requested on leaving that cannot run keeps the user in GENERATE.
  EXPECT_TRUE(contains_run(r.lines(), {"Speichern [Y/N]:Y", "", "### Keine Diskretisierung ###", "",
                                       "GENERATE>X"}))
      << r.screen;
}

TEST_F(GenerateSession, SubMenusTakeTheCarriedLetterAndShowTheirHelpOtherwise) {
  SessionResult r = run(new_problem("E", {"a", "q", "", "B", "X", "S", "dx", "X", "X"}));
  EXPECT_TRUE(contains_run(r.lines(), {
      "GENERATE>a", "*** Anzeige Diskretisierung über Struktur ***", "*** Bildhintergrund schwarz ***",
      "*** Bitmap-Ausgabe deaktiviert ***", "", "Help:  A - Anzeige"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE\\ANZEIGE>q", "", "### Falsche Eingabe ###", "",
                                       "GENERATE\\ANZEIGE>", "", "Help:  A - Anzeige"}))
      << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE\\ANZEIGE>B", "", "*** Bitmap-Ausgabe aktiviert ***", "",
                                       "GENERATE\\ANZEIGE>X", "", "GENERATE>S", "",
                                       "### Keine Diskretisierung ###", "", "GENERATE>dx", "", "GENERATE>X"}))
      << r.screen;
}

TEST_F(GenerateSession, EndOfInputInsideGenerateEndsWithStatusOne) {
  SessionResult r = run(new_problem("E", {"D"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.errors.empty());
  EXPECT_EQ(r.screen.back(), '\n');
}

TEST_F(GenerateSession, EndOfInputAtTheMainMenuEndsWithStatusZero) {
  SessionResult r = run(new_problem("E", {"X"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.lines().back() == "TAMBRI>") << r.screen;
}

}  // namespace
}  // namespace tambri::test
