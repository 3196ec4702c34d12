// The RESULTS menu in whole-program sessions, for what the whole-screen
// scripts cannot see: the files the pictures leave, written, refused or not
// at all, and the PostScript comment that every entry blanks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/file_size_limit.h"
#include "support/session.h"
#include "support/small_structures.h"
#include "support/vtk_reader.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

// Loads the small structure of problem E in `dir`, solves it, enters RESULTS
// and answers `commands` there; X leaves RESULTS and the program afterwards
// unless `end` is false (the input then ends after the commands).
SessionResult evaluate(const TempDir& dir, const Lines& commands, bool end = true, const Lines& args = {"--headless"}) {
  write_file(dir / "s.dat", small_structure(FieldProblem::kElectrostatic));
  Lines answers = {"s.dat", "X", "Y", "R"};
  answers.insert(answers.end(), commands.begin(), commands.end());
  if (end) answers.insert(answers.end(), {"X", "X"});
  return run_session(dir.path(), answers, args);
}

Lines files(const TempDir& dir) {
  Lines names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Results, TheCommentOfOneVisitIsGoneOnTheNext) {
  TempDir dir;
  // A cut with the comment set, then RESULTS left and entered again and the same cut.
  const SessionResult r = evaluate(dir, {"AB", "P", "K", "Probe (1)", "X", "SP", "x", "0", "n", "n", "",
                                         "X",  "X", "R", "SP",        "x", "0",  "n", "n", "",  "X"});
  EXPECT_EQ(r.status, 0) << r.screen;
  const std::string ps = read_file(dir / "s_s.ps");
  EXPECT_NE(ps.find("(Struktur : s.dat" + std::string(7 + 35 + 2, ' ') + ") "), std::string::npos) << ps;
}

TEST(Results, APictureFileThatCannotBeWrittenOrFinishedLeavesNoNewFile) {
  TempDir dir;
  write_file(dir / "s_s.ps", "alt");
  // Room for the small files of the session, not for the picture's.
  const int status = with_file_size_limit(1024, [&] {
    const SessionResult r = evaluate(dir, {"AP", "X", "SP", "x", "0.01", "n", "n", "", "X"});
    return contains_run(r.lines(), {"Werte ändern [Y/N]:n", "", "", "### Schreibfehler ###", "", "RESULTS\\SCHNITT>X"})
               ? 0
               : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(read_file(dir / "s_s.ps"), "alt");
  EXPECT_EQ(files(dir), (Lines{"history.inp", "s.dat", "s_s.ps", "schnitt.dat"}));
  // The input ends while the cut waits for Return.
  std::filesystem::remove(dir / "s_s.ps");
  EXPECT_EQ(evaluate(dir, {"AP", "X", "SP", "x", "0.01", "n", "n"}, false).status, 1);
  EXPECT_EQ(files(dir), (Lines{"history.inp", "s.dat", "schnitt.dat"}));
}

TEST(Results, CommandLineOptionsAddPngCopiesAndTheVtkFile) {
  const Lines commands = {"AB", "X", "SP", "x", "0.01", "n", "n", "", "X"};
  TempDir dir, plain;
  EXPECT_EQ(evaluate(dir, commands, true, {"--headless", "--png", "--vtk"}).screen, evaluate(plain, commands).screen);
  EXPECT_EQ(files(plain), (Lines{"history.inp", "s.dat", "s_s.bmp", "schnitt.dat"}));  // no PNG, no VTK file
  EXPECT_TRUE(std::filesystem::exists(dir / "s_s.png"));
  // The potential falls linearly from 10 V on the first x line to 0 V on the
  // last, on all 5 x 3 nodes.
  const VtkFile vtk = read_vtk(read_file(dir / "s.vtr"));
  const std::vector<double>& phi = vtk.arrays.at("Phi (V)");
  ASSERT_EQ(phi.size(), 15u);
  for (size_t k = 0; k < 15; ++k) EXPECT_NEAR(phi[k], 10.0 - 2.5 * static_cast<double>(k % 5), 1E-5) << k;
  EXPECT_EQ(vtk.arrays.at("Epsilon (As/Vm)")[0], 8.86E-12);
}

}  // namespace
}  // namespace tambri::test
