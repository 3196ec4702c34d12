// Whole-program sessions through CALCUL, on the example structure.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/session.h"

namespace tambri {
namespace {

using test::contains_run;

class CalculSession : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(std::filesystem::path(TAMBRI_SOURCE_DIR) / "examples/kondensa.dat",
                               dir.path() / "kondensa.dat");
  }
  test::TempDir dir;
};

TEST_F(CalculSession, StartQuestionRunsIluBicgAndCalculRebuildsTheSystem) {
  // Load (the name typed), leave GENERATE, Y; then CALCUL again from the main
  // menu, which assembles anew and waits at its prompt.
  const test::SessionResult result =
      test::run_session(dir.path(), {"kondensa.dat", "X", "Y", "C", "W", "X", "X"});
  const std::vector<std::string> lines = result.lines();
  EXPECT_TRUE(contains_run(lines, {"Feldberechnung starten [Y/N]:Y", "*** Matrix ready ***", "",
                                   "working...", "", "*** ILU-BICG ready ***"}));
  EXPECT_TRUE(contains_run(lines, {"TAMBRI>C", "*** Matrix ready ***", "",
                                   "HELP:  R - Potentialberechnung"}));
  EXPECT_TRUE(contains_run(lines, {"CALCUL>W", "", "working...", "", "*** ILU-BICG ready ***"}));
  EXPECT_EQ(result.status, 0);
}

}  // namespace
}  // namespace tambri
