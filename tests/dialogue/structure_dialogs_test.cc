// The load and save dialogues where a screen script cannot reach: damaged
// structure files, the file system's side of an overwrite, and write errors.
// Their screens otherwise are pinned by tests/screens/main and generate.
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

// Runs one dialogue in a fresh working directory with the answer lines;
// returns the screen as written, one string.
class StructureDialogs : public ::testing::Test {
 protected:
  StructureDialogs() : previous_(fs::current_path()) { fs::current_path(dir_.path()); }
  ~StructureDialogs() override { fs::current_path(previous_); }

  template <class Dialogue>
  static std::string screen_of(const std::string& answers, Dialogue dialogue) {
    test::Screen screen(answers);
    dialogue(screen.console);
    return screen.text();
  }
  static std::string save(const StructureModel& m, const std::string& answers) {
    return screen_of(answers, [&](Console& c) { save_dialogue(c, m); });
  }

  test::TempDir dir_;
  fs::path previous_;
};

TEST_F(StructureDialogs, DamagedFilesAreRefusedWithTheirMessageAndNotRemembered) {
  const std::string good = encode_structure(sample(FieldProblem::kMagnetostatic, ""));
  std::string foreign = good;
  foreign[3] = '5';  // V5.3
  const size_t after_record6 = 1 + 7 + 54 + 26 + 26 + 256 + 26;
  const std::string head = "\nStrukturdatei:s.dat\n\n*** Feldproblem: Stationär magnetisch ***\n\n";
  const std::pair<std::string, std::string> cases[] = {
      {foreign,
       "\nStrukturdatei:s.dat\n\n### Eingabedatei nicht unter V4.3  erstellt ###\n"
       "### Neueingabe erforderlich ###\n\n"},
      {good.substr(0, after_record6) + "\x82", head + "### Strukturdatei zu kurz ###\n"},
      {good.substr(0, 70), head + "### Fehler in Strukturdatei ###\n"},  // ends inside record 3
  };
  StructureModel model;
  for (const auto& [bytes, screen] : cases) {
    test::write_file("s.dat", bytes);
    model = StructureModel{};
    LoadOutcome outcome = LoadOutcome::kLoaded;
    EXPECT_EQ(screen_of("s.dat\n", [&](Console& c) { outcome = load_dialogue(c, model); }), screen);
    EXPECT_EQ(outcome, LoadOutcome::kRefused);
    EXPECT_FALSE(fs::exists(kHistoryFile));
  }
  EXPECT_EQ(model.grid.nx, 3);  // the records before the damage were taken
}

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
