// The program at a (pseudo-)terminal: line editing and history of the
// answers, and Ctrl-C at a prompt, in a picture's wait and in a solver run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/pty_program.h"

namespace tambri {
namespace {

namespace fs = std::filesystem;
using test::PtyProgram;

const std::string kUp = "\x1b[A", kLeft = "\x1b[D", kBackspace = "\x7f", kCtrlC = "\x03";
constexpr const char* kInfo = "tambri@example.org";

// A scratch working folder with the capacitor example, and a home of its own.
class Terminal : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "home");
    fs::copy_file(fs::path(TAMBRI_SOURCE_DIR) / "examples/kondensa.dat", dir_ / "kondensa.dat");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::unique_ptr<PtyProgram> start() {
    return std::make_unique<PtyProgram>(TAMBRI_BINARY, std::vector<std::string>{"--headless"}, dir_,
                                        dir_ / "home");
  }
  // Answers, each once its prompt is up.
  static void answer(PtyProgram& tambri, std::initializer_list<std::pair<const char*, const char*>> steps) {
    for (auto [prompt, line] : steps) {
      ASSERT_TRUE(tambri.expect(prompt)) << tambri.output();
      tambri.type(std::string(line) + "\r");
    }
  }
  // Keys are taken as editing keys only once the line editor has drawn the
  // prompt again from the line's start (before, the terminal itself would take
  // Backspace while it keeps a line typed ahead).
  static bool editing_at(PtyProgram& tambri, const std::string& prompt) { return tambri.expect("\r" + prompt); }

  const fs::path dir_ = fs::temp_directory_path() /
                        ("tambri_terminal_" + std::to_string(getpid()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(Terminal, UpRecallsAnswersOfThisRunAndTheLastAndEditedLinesAreReadAsEdited) {
  {
    auto tambri = start();
    answer(*tambri, {{"Strukturdatei", "kondensa.dat"}, {"GENERATE>", "X"}, {"starten [Y/N]:", "N"}, {"TAMBRI>", "Q"}});
    ASSERT_TRUE(tambri->expect(kInfo) && editing_at(*tambri, "TAMBRI>"));
    tambri->type(kUp + "\r");
    ASSERT_TRUE(tambri->expect(kInfo) && editing_at(*tambri, "TAMBRI>")) << tambri->output();
    // "XZ", back one, rub out the X, type Q: "QZ" shows the information (as
    // typed, the line would end the program).
    tambri->type("XZ" + kLeft + kBackspace + "Q\r");
    ASSERT_TRUE(tambri->expect(kInfo)) << tambri->output();
    answer(*tambri, {{"TAMBRI>", "X"}});
    EXPECT_EQ(tambri->wait_exit(), 0);
  }
  // Without a remembered structure an empty answer ends GENERATE; the oldest
  // answer of the last run, recalled, loads the example.
  fs::remove(dir_ / "history.inp");
  auto tambri = start();
  ASSERT_TRUE(editing_at(*tambri, "Strukturdatei:"));
  for (int k = 0; k < 10; ++k) tambri->type(kUp);
  tambri->type("\r");
  EXPECT_TRUE(tambri->expect("*** Input ready ***")) << tambri->output();
}

TEST_F(Terminal, CtrlCDropsTheLineEndsAPictureAndKeepsTheChangedStructure) {
  auto tambri = start();
  answer(*tambri, {{"Strukturdatei", "kondensa.dat"}, {"GENERATE>", "P"}, {"Wert >", "1 200"}, {"GENERATE>", "AA"}});
  ASSERT_TRUE(tambri->expect("<Return>"));
  tambri->type(kCtrlC);
  answer(*tambri, {{"GENERATE\\ANZEIGE>", "X"}});
  ASSERT_TRUE(editing_at(*tambri, "GENERATE>"));
  tambri->type("abc");
  ASSERT_TRUE(tambri->expect("abc"));
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("\r\n(Ende mit X)\r\n")) << tambri->output();
  answer(*tambri, {{"GENERATE>", "X"}});
  EXPECT_TRUE(tambri->expect("*** Struktur wurde modifiziert ***")) << tambri->output();
  EXPECT_TRUE(tambri->expect("Speichern [Y/N]:"));
}

TEST_F(Terminal, CtrlCStopsALongSorRunAndTwiceAtOnePromptEndsTheProgram) {
  auto tambri = start();
  // SOR with an error bound no run can meet and a limit no one waits for.
  answer(*tambri, {{"Strukturdatei", "kondensa.dat"}, {"GENERATE>", "X"}, {"starten [Y/N]:", "N"}, {"TAMBRI>", "C"},
                   {"CALCUL>", "L"}, {"Auswahl", "4"}, {"CALCUL>", "SI"}, {"Iterationszahl =", "2000000000"},
                   {"--->", "R"}, {"Rel. Fehler =", "-1"}, {"--->", "X"}, {"CALCUL>", "R"}});
  ASSERT_TRUE(tambri->expect("working..."));
  usleep(300'000);
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("### Abbruch SOR:  Rel. Fehler:")) << tambri->output();
  answer(*tambri, {{"CALCUL>", "X"}});
  ASSERT_TRUE(editing_at(*tambri, "TAMBRI>"));
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("(Ende mit X)"));
  tambri->type(kCtrlC);
  EXPECT_EQ(tambri->wait_exit(), 130) << tambri->output();
}

}  // namespace
}  // namespace tambri
