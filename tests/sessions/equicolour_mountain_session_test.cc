// The equicolour and mountain pictures reached through the RESULTS menu in a
// whole-program session on the small structure of problem E.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/external_tools.h"
#include "support/session.h"
#include "support/small_structures.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

TEST(EquicolourMountainSession, LettersDrawThePicturesAndTheirFilesAtOnce) {
  TempDir dir;
  write_file(dir / "s.dat", small_structure(kProblemE));
  const SessionResult r = run_session(dir.path(), {"s.dat", "X", "Y", "R", "AP", "B", "X",
                                                   "CE", "N", "N", "", "X",
                                                   "GP", "N", "N", "Y", "", "X", "X", "X"});
  ASSERT_EQ(r.status, 0) << r.screen;
  const Lines lines = r.lines();
  EXPECT_TRUE(contains_run(lines, {"RESULTS>CE", "Logarithmus bilden [Y/N]:N", "Volles Zeichenfenster [Y/N]:N", "",
                                   "", "RESULTS\\COLOR>X"}))
      << r.screen;
  EXPECT_TRUE(contains_run(lines, {"RESULTS>GP", "Logarithmus bilden [Y/N]:N", "Min= 0.000E+00", "Max= 1.000E+01",
                                   "Wertebereich vergrößern [Y/N]:N", "Einfärben [Y/N]:Y", "", "",
                                   "RESULTS\\GEBIRGE>X"}))
      << r.screen;
  for (const char* name : {"s_c.ps", "s_c.bmp", "s_g.ps", "s_g.bmp"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  }
  // The equicolour page names the output stem, the mountain page the structure file.
  EXPECT_NE(read_file(dir / "s_c.ps").find("(Struktur : s" + std::string(11 + 35 + 2, ' ') + ") "), std::string::npos);
  EXPECT_NE(read_file(dir / "s_g.ps").find("(Struktur : s.dat" + std::string(7 + 35 + 2, ' ') + ") "),
            std::string::npos);
  TAMBRI_REQUIRE_PROGRAM("gs");
  for (const char* name : {"s_c.ps", "s_g.ps"}) {
    const CommandResult gs = render_postscript((dir / name).string());
    EXPECT_TRUE(rendered_cleanly(gs)) << name << gs.output;
  }
}

}  // namespace
}  // namespace tambri::test
