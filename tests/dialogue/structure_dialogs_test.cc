// The save dialogue where a screen script cannot reach: the file system's
// side of an overwrite, and write errors. Its screens otherwise, and those of
// loading damaged files, are pinned by tests/screens/main and generate.
#include "dialogue/structure_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "model/structure_file.h"
#include "string_screen.h"
#include "support/file_size_limit.h"
#include "support/session.h"

namespace tambri {
namespace {

namespace fs = std::filesystem;

// A 3 x 3 grid with one rectangle.
StructureModel sample(FieldProblem problem, const char* file_name) {
  StructureModel m;
  m.problem = problem;
  m.file_name = file_name;
  m.xe = m.ye = 2.0;
  m.grid.nx = m.grid.ny = 3;
  m.grid.x = m.grid.y = {0, 0.0, 1.0, 2.0};
  m.rectangles.count = m.sequence_length = 1;
  m.rectangles.at[1] = {0, 0, 1, 1, 10};
  m.sequence[1] = kShapeRectangle;
  return m;
}

// Runs the save dialogue in a fresh working directory with the answer lines;
// returns the screen as written, one string.
class StructureDialogs : public ::testing::Test {
 protected:
  static std::string save(const StructureModel& m, const std::string& answers) {
    test::Screen screen(answers);
    save_dialogue(screen.console, m);
    return screen.text();
  }

  test::TempDir dir_;
  test::InDir in_dir_{dir_.path()};
};

TEST_F(StructureDialogs, OverwriteKeepsTheFilesModeAndGoesThroughALink) {
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  test::write_file("a.dat", "alt");
  fs::permissions("a.dat", mode);
  fs::create_directory("echt");
  test::write_file("echt/b.dat", "alt");
  fs::create_symlink("echt/b.dat", "b.dat");
  for (const char* name : {"a.dat       ", "b.dat       "}) {
    EXPECT_EQ(save(sample(FieldProblem::kCurrentFlow, name), "y\n"),
              "\nDatei überschreiben [Y/N]:y\n*** Save ready ***\n");
  }
  const std::string bytes = encode_structure(sample(FieldProblem::kCurrentFlow, ""));
  EXPECT_EQ(test::read_file("a.dat"), bytes);
  EXPECT_EQ(fs::status("a.dat").permissions(), mode);
  EXPECT_TRUE(fs::is_symlink("b.dat"));
  EXPECT_EQ(test::read_file("echt/b.dat"), bytes);
}

TEST_F(StructureDialogs, WriteErrorLeavesTheOldFileAndNoDebris) {
  const std::string old(100, 'o');
  test::write_file("a.dat", old);
  const auto saved_with_limit = [](const char* name, const std::string& answers, const std::string& screen) {
    return test::with_file_size_limit(
        64, [&] { return save(sample(FieldProblem::kMagnetostatic, name), answers) == screen ? 0 : 1; });
  };
  EXPECT_EQ(saved_with_limit("a.dat       ", "y\n", "\nDatei überschreiben [Y/N]:y\n\n### Schreibfehler ###\n"), 0);
  EXPECT_EQ(test::read_file("a.dat"), old);
  EXPECT_EQ(saved_with_limit("neu.dat     ", "", "\n### Schreibfehler ###\n"), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);  // a.dat
}

}  // namespace
}  // namespace tambri
