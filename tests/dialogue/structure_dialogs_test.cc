#include "dialogue/structure_dialogs.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "core/rasterise.h"
#include "model/structure_file.h"
#include "support/session.h"

namespace tambri {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A 3 x 3 grid with one rectangle that covers nodes and one that covers none.
StructureModel sample(int32_t problem) {
  StructureModel m;
  m.problem = problem;
  m.xe = m.ye = 2.0;
  m.grid.nx = m.grid.ny = 3;
  m.grid.x = {0, 0.0, 1.0, 2.0};
  m.grid.y = {0, 0.0, 1.0, 2.0};
  m.tables.material0 = 2.5;
  m.tables.potential[1] = 100.0;
  m.rectangles.count = 2;
  m.rectangles.at[1] = {0, 0, 1, 1, 10};
  m.rectangles.at[2] = {0.2, 0.2, 0.3, 0.3, 1};
  m.sequence_length = 2;
  m.sequence[1] = m.sequence[2] = kShapeRectangle;
  return m;
}

// Every test runs in a fresh working directory.
class StructureDialogs : public ::testing::Test {
 protected:
  StructureDialogs() : previous_(fs::current_path()) { fs::current_path(dir_.path()); }
  ~StructureDialogs() override { fs::current_path(previous_); }

  // Runs one dialogue with the answer lines; returns the screen as written.
  template <class Dialogue>
  static std::string screen_of(const std::string& answers, Dialogue dialogue) {
    std::istringstream in(answers);
    std::ostringstream out;
    Console console(in, out, true);
    dialogue(console);
    console.finish();
    return out.str();
  }
  static Lines lines_of(const std::string& screen) {
    test::SessionResult result;
    result.screen = screen;
    return result.lines();
  }

  Lines load(const std::string& answers) {
    return lines_of(screen_of(answers, [&](Console& c) { outcome_ = load_dialogue(c, model_); }));
  }
  static Lines save(const StructureModel& m, const std::string& answers) {
    return lines_of(screen_of(answers, [&](Console& c) { save_dialogue(c, m); }));
  }

  // The save dialogue in a child process whose files may not grow beyond
  // `limit` bytes, so that writing fails; returns the child's screen.
  static Lines save_with_file_size_limit(const StructureModel& m, const std::string& answers, rlim_t limit) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) ADD_FAILURE() << "pipe";
    const pid_t child = fork();
    if (child == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit rl{limit, limit};
      setrlimit(RLIMIT_FSIZE, &rl);
      const std::string screen = screen_of(answers, [&](Console& c) { save_dialogue(c, m); });
      _exit(write(pipe_fds[1], screen.data(), screen.size()) == static_cast<ssize_t>(screen.size()) ? 0 : 1);
    }
    close(pipe_fds[1]);
    std::string screen;
    char buffer[4096];
    for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0;) screen.append(buffer, static_cast<size_t>(n));
    close(pipe_fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return lines_of(screen);
  }

  static Lines files() {
    Lines names;
    for (const fs::directory_entry& e : fs::directory_iterator(".")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir_;
  fs::path previous_;
  StructureModel model_;
  LoadOutcome outcome_ = LoadOutcome::kRefused;
  bool refused() const { return outcome_ == LoadOutcome::kRefused; }
};

TEST_F(StructureDialogs, DamagedFilesAreRefusedWithTheirMessage) {
  const std::string good = encode_structure(sample(kProblemM));
  std::string foreign = good;
  foreign[3] = '5';  // V5.3
  const size_t after_record6 = 1 + 7 + 54 + 26 + 26 + 256 + 26;
  const std::string damaged = good.substr(0, 70);  // ends inside record 3
  struct Case {
    std::string bytes;
    Lines tail;
  };
  for (const Case& c : {
           Case{foreign, {"", "### Eingabedatei nicht unter V4.3  erstellt ###", "### Neueingabe erforderlich ###", ""}},
           Case{good.substr(0, after_record6) + "\x82",
                {"", "*** Feldproblem: Stationär magnetisch ***", "", "### Strukturdatei zu kurz ###"}},
           Case{damaged, {"", "*** Feldproblem: Stationär magnetisch ***", "", "### Fehler in Strukturdatei ###"}},
       }) {
    test::write_file("s.dat", c.bytes);
    model_ = StructureModel{};
    Lines expected = {"", "Strukturdatei:s.dat"};
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(load("s.dat\n"), expected);
    EXPECT_TRUE(refused());
    EXPECT_FALSE(fs::exists(kHistoryFile));
  }
  EXPECT_EQ(model_.grid.nx, 3);  // the records before the damage were taken
}

TEST_F(StructureDialogs, SaveWritesANewFileThatLoadsBackIdentically) {
  StructureModel original = sample(kProblemE);
  original.file_name = "neu.dat     ";
  EXPECT_EQ(save(original, ""), (Lines{"*** Save ready ***"}));
  EXPECT_EQ(test::read_file("neu.dat"), encode_structure(original));
  EXPECT_EQ(files(), (Lines{"neu.dat"}));

  load("neu.dat\n");
  EXPECT_EQ(encode_structure(model_), encode_structure(original));
  rasterise(original);
  EXPECT_EQ(model_.occupancy, original.occupancy);
}

TEST_F(StructureDialogs, OverwriteKeepsTheFilesModeAndGoesThroughALink) {
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  test::write_file("a.dat", "alt");
  fs::permissions("a.dat", mode);
  fs::create_directory("echt");
  test::write_file("echt/b.dat", "alt");
  fs::create_symlink("echt/b.dat", "b.dat");
  StructureModel m = sample(kProblemS);
  for (const char* name : {"a.dat       ", "b.dat       "}) {
    m.file_name = name;
    EXPECT_EQ(save(m, "y\n"), (Lines{"", "Datei überschreiben [Y/N]:y", "*** Save ready ***"}));
  }
  EXPECT_EQ(test::read_file("a.dat"), encode_structure(m));
  EXPECT_EQ(fs::status("a.dat").permissions(), mode);
  EXPECT_TRUE(fs::is_symlink("b.dat"));
  EXPECT_EQ(test::read_file("echt/b.dat"), encode_structure(m));
}

TEST_F(StructureDialogs, NamesThatCannotBeOpenedSaveNothingOrAskForAnother) {
  fs::create_directory("a.dat");
  StructureModel m = sample(kProblemS);
  m.file_name = "a.dat       ";
  EXPECT_EQ(save(m, "y\n"), (Lines{"", "Datei überschreiben [Y/N]:y", "", "### Fehler bei Dateieröffnung ###"}));
  EXPECT_TRUE(fs::is_directory("a.dat"));
  // A name in no folder has nothing to overwrite: another name is asked for at once.
  m.file_name = "kein/a.dat  ";
  EXPECT_EQ(save(m, "b.dat\n"),
            (Lines{"", "### Fehler bei Dateieröffnung ###", "Neue Strukturdatei:b.dat", "*** Save ready ***"}));
  EXPECT_EQ(test::read_file("b.dat"), encode_structure(m));
}

TEST_F(StructureDialogs, WriteErrorLeavesTheOldFileAndNoDebris) {
  const std::string old(100, 'o');
  test::write_file("a.dat", old);
  StructureModel m = sample(kProblemM);
  m.file_name = "a.dat       ";
  EXPECT_EQ(save_with_file_size_limit(m, "y\n", 64),
            (Lines{"", "Datei überschreiben [Y/N]:y", "", "### Schreibfehler ###"}));
  EXPECT_EQ(test::read_file("a.dat"), old);
  EXPECT_EQ(files(), (Lines{"a.dat"}));

  m.file_name = "neu.dat     ";
  EXPECT_EQ(save_with_file_size_limit(m, "", 64), (Lines{"", "### Schreibfehler ###"}));
  EXPECT_EQ(files(), (Lines{"a.dat"}));
}

}  // namespace
}  // namespace tambri
