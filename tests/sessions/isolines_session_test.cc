// The isoline picture from the RESULTS menu in whole-program sessions, on the
// small structures: 10 V on the first x line, 0 V on the last.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/external_tools.h"
#include "support/session.h"
#include "support/small_structures.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

Lines concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Lines file_lines(const std::filesystem::path& path) {
  Lines lines;
  std::istringstream in(read_file(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Loads the structure of `problem`, solves it, enters RESULTS, answers
// `commands` there, then leaves RESULTS and the program.
SessionResult evaluate_in(const TempDir& dir, int problem, const Lines& commands) {
  write_file(dir / "s.dat", small_structure(problem));
  return run_session(dir.path(), concat({{"s.dat", "X", "Y", "R"}, commands, {"X", "X"}}));
}

TEST(IsolineSession, PotentialFromZeroToTenVoltsInTheMenu) {
  TempDir dir;
  const SessionResult r = evaluate_in(dir, kProblemE, {"AP", "X", "IP", "N", "N", "N", "N", "N", "N", "N", "", "X"});
  ASSERT_EQ(r.status, 0) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"RESULTS>IP", "", "Logarithmus bilden [Y/N]:N", "",
                                       "Volles Zeichenfenster [Y/N]:N", "", "Diskretisierungslinien [Y/N]:N", "",
                                       "Rasterlinien [Y/N]:N", "", "Farbig ausfüllen [Y/N]:N", "", "Min= 0.000E+00",
                                       "Max= 1.000E+01", "", "Werte ändern [Y/N]:N", "",
                                       "Eingabe einzelner Werte [Y/N]:N", "", "", "RESULTS\\ISO>X"}))
      << r.screen;
  const Lines page = file_lines(dir / "s_i.ps");
  EXPECT_NE(std::find(page.begin(), page.end(), "(Struktur : s" + std::string(11 + 35 + 2, ' ') + ") "),
            page.end());
  // The labels 10, 9, ..., 0 in this order, the last exactly zero.
  auto at = page.begin();
  for (const char* label : {"1.0E+01", "9.0E+00", "8.0E+00", "7.0E+00", "6.0E+00", "5.0E+00", "4.0E+00",
                            "3.0E+00", "2.0E+00", "1.0E+00", "0.0E+00"}) {
    at = std::find(at, page.end(), std::string("( ") + label + ") ");
    ASSERT_NE(at, page.end()) << label;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "s_i.bmp"));
}

TEST(IsolineSession, GhostscriptRendersEveryIsolinePictureInColourAndGrey) {
  TAMBRI_REQUIRE_PROGRAM("gs");
  struct Case {
    int problem;
    Lines answers;
  };
  const Case cases[] = {
      {kProblemE, {"IP", "N", "Y", "N", "N", "Y", "N", "N", ""}},         // filled, full window
      {kProblemE, {"IP", "N", "N", "Y", "N", "N", "N", ""}},              // discretisation lines
      {kProblemM, {"IB", "Y", "N", "N", "Y", "Y", "N", "N", ""}},         // magnitude, logarithmic, raster, filled
      {kProblemE, {"IP", "N", "N", "N", "N", "Y", "Y", "2", "7.5", ""}},  // changed range
      {kProblemS, {"IP", "N", "N", "N", "N", "Y", "N", "Y", "3", "6", "x"}},  // single values ended early
  };
  for (bool grey : {false, true}) {
    for (const Case& c : cases) {
      TempDir dir;
      Lines commands = {"AP", "B"};
      if (grey) commands.push_back("F");
      commands.insert(commands.end(), {"K", "(Klammer) \\ Test", "X"});
      commands.insert(commands.end(), c.answers.begin(), c.answers.end());
      commands.push_back("X");
      const SessionResult r = evaluate_in(dir, c.problem, commands);
      ASSERT_EQ(r.status, 0) << r.screen;
      EXPECT_EQ(r.screen.find("Falsche Eingabe"), std::string::npos) << r.screen;  // the answers fit the dialogue
      const CommandResult gs = render_postscript((dir / "s_i.ps").string());
      EXPECT_TRUE(rendered_cleanly(gs)) << gs.output << r.screen;
      EXPECT_EQ(std::filesystem::exists(dir / "s_i.bmp"), c.answers.back() != "x") << r.screen;
    }
  }
}

}  // namespace
}  // namespace tambri
