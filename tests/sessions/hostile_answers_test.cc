// Answers no user means to give: overlong lines, binary bytes, broken UTF-8,
// numbers beyond the double range, and the input ending at any prompt of a
// session that visits every menu. The program must answer each as wrong input
// and go on, or end with its documented status, and never hang.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/session.h"
#include "support/small_structures.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

// One session through GENERATE and its sub-menus, CALCUL with its settings
// and tables, and RESULTS with tables, a path integral, zoom, output and a cut.
const Lines kLongSession = {"s.dat",     "A", "A",  "N",  "",       "B",         "X",  "D", "S",  "0 0 0.04 0.02",
                            "X",         "S", "T",  "X",  "M",      "1 3",       "X",  "N", "Y",  "C",
                            "S",         "I", "40", "X",  "T",      "U",         "",   "M", "",   "A",
                            "X",         "L", "2",  "R",  "X",      "R",         "TP", "",  "TQ", "0.01 0",
                            "0.03 0.02", "",  "X",  "ZZ", "0.01 0", "0.03 0.02", "V",  "X", "AP", "K",
                            "Text",      "X", "SE", "x",  "0.01",   "y",         "n",  "",  "X",  "X",
                            "Q",         "X"};

// Runs the answers in a fresh folder holding the small structure s.dat.
SessionResult answered(const Lines& answers) {
  TempDir dir;
  write_file(dir / "s.dat", small_structure(FieldProblem::kElectrostatic));
  return run_session(dir.path(), answers);
}

TEST(HostileAnswers, TheInputMayEndAtEveryPrompt) {
  for (size_t n = 0; n <= kLongSession.size(); ++n) {
    const SessionResult r = answered(Lines(kLongSession.begin(), kLongSession.begin() + n));
    // 0 only when the input ended at the main menu's own prompt, or with X there.
    const bool at_main_menu = r.screen.size() >= 7 && r.screen.substr(r.screen.size() - 8) == "TAMBRI>\n";
    EXPECT_EQ(r.status, at_main_menu || n == kLongSession.size() ? 0 : 1) << "after " << n << " answers";
    if (n < kLongSession.size()) {
      EXPECT_NE(r.errors.find("Eingabe"), std::string::npos) << "after " << n;
    }
  }
  // The whole session really visits the menus it is meant to.
  const SessionResult r = answered(kLongSession);
  for (const char* line : {"GENERATE\\ANZEIGE>X", "GENERATE\\DISKRET>X", "GENERATE\\STRUKTUR>X", "Iterationszahl =40",
                           "CALCUL\\TABELLE>X", "RESULTS\\ZOOM>X", "RESULTS\\PS>X", "RESULTS\\SCHNITT>X", "TAMBRI>X"}) {
    EXPECT_TRUE(contains_run(r.lines(), {line})) << line << "\n" << r.screen;
  }
}

// Overlong lines, NUL and broken UTF-8 are wrong answers like any other; a
// number beyond the double range fails the reading and ends the path
// integral; the iteration limit asks again until a number comes.
TEST(HostileAnswers, OverlongBinaryAndBrokenAnswersAreWrongAnswersLikeAnyOther) {
  const std::string huge(4 << 20, 'Q'), digits(1 << 20, '7'), nul("\0X", 2), broken = "\xC3(\xFF\xFE";
  const SessionResult r =
      answered({"s.dat", huge, nul, broken, "X",  "Y",           "C",  "S", "I", "\x01\x02", "4\xC3",
                "20",    "X",  "X", "R",    "TQ", digits + " 0", huge, "X", "X", "X"});
  EXPECT_EQ(r.status, 0);
  const Lines lines = r.lines();
  const std::string wrong = "### Falsche Eingabe ###";
  for (const Lines& run :
       {Lines{"GENERATE>" + huge, "", wrong}, Lines{"GENERATE>" + nul, "", wrong},
        Lines{"GENERATE>" + broken, "", wrong},
        Lines{"Iterationszahl =\x01\x02", "Iterationszahl =4\xC3", "Iterationszahl =20"},
        Lines{"Linke obere Ecke   (Xlo Ylo):" + digits + " 0", "", "RESULTS\\TABELLE>" + huge, "", wrong}}) {
    EXPECT_TRUE(contains_run(lines, run)) << run.front().substr(0, 40);
  }
}

}  // namespace
}  // namespace tambri::test
