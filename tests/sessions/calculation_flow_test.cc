// The road of one typical use through the main program: load the remembered
// example, start the calculation from GENERATE, and the start question only
// after changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/session.h"

namespace tambri::test {
namespace {

class CalculationFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples" / "kondensa.dat",
                               dir / "kondensa.dat");
    write_file(dir / "history.inp", "kondensa.dat\r\n");
  }
  TempDir dir;
};

TEST_F(CalculationFlow, RememberedFileThenImmediateStart) {
  SessionResult r = run_session(dir.path(), {"", "X", "Y", "X"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains_run(r.lines(), {
      "Strukturdatei (kondensa.dat):", "", "*** Feldproblem: Elektrostatisch ***", "*** Input ready ***", "",
      "HELP:  A - Anzeige Struktur"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"GENERATE>X", "", "Feldberechnung starten [Y/N]:Y", "*** Matrix ready ***",
                                       "", "working...", "", "*** ILU-BICG ready ***", "",
                                       "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
}

TEST_F(CalculationFlow, StartQuestionOnlyAfterAChange) {
  SessionResult r = run_session(dir.path(), {"", "X", "n", "C", "X", "G", "X", "G", "P", "1 50", "X", "N", "j",
                                             "X"});
  EXPECT_EQ(r.status, 0);
  const std::vector<std::string> lines = r.lines();
  // n at the first question, then C and X: results are available now.
  EXPECT_TRUE(contains_run(lines, {"Feldberechnung starten [Y/N]:n", "", "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
  // G and X without a change: straight back to the main menu.
  EXPECT_TRUE(contains_run(lines, {"TAMBRI>G", "", "HELP:  A - Anzeige Struktur"})) << r.screen;
  EXPECT_TRUE(contains_run(lines, {"GENERATE>X", "", "HELP:  G - Generierung/Modifizierung Struktur"})) << r.screen;
  // After a change of a value table the question comes again; j is not yes.
  EXPECT_TRUE(contains_run(lines, {"Speichern [Y/N]:N", "", "Feldberechnung starten [Y/N]:j", "",
                                   "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
}

TEST_F(CalculationFlow, AnotherNameAtTheRememberedPromptStartsANewProblem) {
  SessionResult r = run_session(dir.path(), {"neu.dat", "m", "X", "X"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains_run(r.lines(), {"Strukturdatei (kondensa.dat):neu.dat", "", "*** Datei nicht vorhanden ***",
                                       "", "Neues Feldproblem:"}))
      << r.screen;
  EXPECT_EQ(read_file(dir / "history.inp"), "neu.dat     \r\n");
}

}  // namespace
}  // namespace tambri::test
