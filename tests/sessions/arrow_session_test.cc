// The arrow picture in whole-program sessions: the small structures of
// problems E and M solved and drawn through RESULTS\PFEIL with PostScript and
// bitmap output on.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/external_tools.h"
#include "support/session.h"
#include "support/small_structures.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

int bitmap_pixel(const std::string& bmp, int x, int y) {
  return static_cast<std::uint8_t>(bmp.at(14 + 40 + 1024 + static_cast<size_t>((629 - y) * 800 + x)));
}

SessionResult arrows_of(const TempDir& dir, int problem, const Lines& commands) {
  write_file(dir / "s.dat", small_structure(problem));
  Lines input = {"s.dat", "X", "Y", "R", "AP", "B", "X"};
  input.insert(input.end(), commands.begin(), commands.end());
  input.insert(input.end(), {"X", "X", "X"});
  return run_session(dir.path(), input);
}

TEST(ArrowSession, FieldBetweenTheBordersWithBothFilesAndTheProblemsPotentialName) {
  TempDir dir;
  // 10 V on the upper border, 0 V on the lower one, 0.04 m apart: 250 V/m
  // everywhere, downwards. The 0.04 x 0.02 window asks for the full window.
  SessionResult r = arrows_of(dir, kProblemE, {"PE", "n", "y", "n", ""});
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(contains_run(r.lines(), {"RESULTS>PE", "Logarithmus bilden [Y/N]:n",
                                       "Volles Zeichenfenster [Y/N]:y", "Min= 2.500E+02", "Max= 2.500E+02",
                                       "Werte ändern [Y/N]:n", "", "", "RESULTS\\PFEIL>X"}))
      << r.screen;
  const std::string bmp = read_file(dir / "s_p.bmp");
  ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + 800 * 630);
  EXPECT_EQ(bitmap_pixel(bmp, 300, 40), 9);   // 10 V: the higher potential
  EXPECT_EQ(bitmap_pixel(bmp, 300, 610), 1);  // 0 V
  EXPECT_EQ(bitmap_pixel(bmp, 300, 300), 15);  // the arrow of node (2, 2) on its way down
  const std::string ps = read_file(dir / "s_p.ps");
  EXPECT_NE(ps.find("(Phi \\(V\\)) "), std::string::npos);
  EXPECT_NE(ps.find("(TAMBRI: Feldstaerke E  \\(V/m\\)     ) "), std::string::npos);

  // Problem M: the flux density round the middle node's current.
  r = arrows_of(dir, kProblemM, {"PB", "y", "n", "n", ""});
  ASSERT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(contains_run(r.lines(), {"Logarithmus bilden [Y/N]:y", "Volles Zeichenfenster [Y/N]:n"})) << r.screen;
  EXPECT_NE(read_file(dir / "s_p.ps").find("(Vz \\(Vs/m\\)) "), std::string::npos);
  if (program_available("gs")) {
    const CommandResult gs = render_postscript((dir / "s_p.ps").string());
    EXPECT_TRUE(rendered_cleanly(gs)) << gs.output;
  }
}

}  // namespace
}  // namespace tambri::test
