// The program at a terminal (a pseudo-terminal): line editing and history of
// the answers, and what Ctrl-C does at a prompt, in a picture's wait and
// during a solver run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/pty_program.h"

namespace tambri {
namespace {

namespace fs = std::filesystem;
using test::PtyProgram;

constexpr const char* kUp = "\x1b[A";
constexpr const char* kLeft = "\x1b[D";
constexpr const char* kBackspace = "\x7f";
constexpr const char* kCtrlC = "\x03";
constexpr const char* kInfo = "tambri@example.org";

// A scratch working folder with the capacitor example and a home of its own.
class Terminal : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tambri_terminal_" + std::to_string(getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "home");
    fs::copy_file(fs::path(TAMBRI_SOURCE_DIR) / "examples" / "kondensa.dat", dir_ / "kondensa.dat");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::unique_ptr<PtyProgram> start() {
    return std::make_unique<PtyProgram>(TAMBRI_BINARY, std::vector<std::string>{"--headless"}, dir_.string(),
                                        (dir_ / "home").string());
  }
  // Loads the example and goes on to the main menu without a calculation.
  static void to_main_menu(PtyProgram& tambri) {
    ASSERT_TRUE(tambri.expect("Strukturdatei"));
    tambri.type("kondensa.dat\r");
    ASSERT_TRUE(tambri.expect("GENERATE>"));
    tambri.type("X\r");
    ASSERT_TRUE(tambri.expect("Feldberechnung starten [Y/N]:"));
    tambri.type("N\r");
    ASSERT_TRUE(tambri.expect("TAMBRI>"));
  }

  fs::path dir_;
};

// Waits until the line editor has shown `prompt` again from the line's start:
// only then are keys taken as editing keys (before, the terminal itself would
// take Backspace as it stores a line typed ahead).
bool editing_at(PtyProgram& tambri, const std::string& prompt) { return tambri.expect("\r" + prompt); }

TEST_F(Terminal, UpRecallsAnswersOfThisRunAndTheLastAndEditedLinesAreReadAsEdited) {
  {
    auto tambri = start();
    to_main_menu(*tambri);
    tambri->type("Q\r");
    ASSERT_TRUE(tambri->expect(kInfo));
    ASSERT_TRUE(editing_at(*tambri, "TAMBRI>"));
    tambri->type(std::string(kUp) + "\r");
    ASSERT_TRUE(tambri->expect(kInfo)) << tambri->output();
    ASSERT_TRUE(editing_at(*tambri, "TAMBRI>"));
    // "XZ", back one, rub out the X, type Q: "QZ" shows the information; the
    // unedited line would end the program.
    tambri->type(std::string("XZ") + kLeft + kBackspace + "Q\r");
    ASSERT_TRUE(tambri->expect(kInfo)) << tambri->output();
    tambri->type("X\r");
    EXPECT_EQ(tambri->wait_exit(), 0);
  }
  // The next run, without a remembered structure: an empty answer would end
  // GENERATE; the oldest answer of the last run, recalled, loads the example.
  fs::remove(dir_ / "history.inp");
  auto tambri = start();
  ASSERT_TRUE(editing_at(*tambri, "Strukturdatei:"));
  for (int k = 0; k < 10; ++k) tambri->type(kUp);
  tambri->type("\r");
  EXPECT_TRUE(tambri->expect("*** Input ready ***")) << tambri->output();
}

TEST_F(Terminal, CtrlCDropsTheLineEndsAPictureAndKeepsTheChangedStructure) {
  auto tambri = start();
  ASSERT_TRUE(tambri->expect("Strukturdatei"));
  tambri->type("kondensa.dat\r");
  ASSERT_TRUE(tambri->expect("GENERATE>"));
  tambri->type("P\r");
  ASSERT_TRUE(tambri->expect("Wert >"));
  tambri->type("1 200\r");
  ASSERT_TRUE(tambri->expect("GENERATE>"));
  tambri->type("AA\r");
  ASSERT_TRUE(tambri->expect("<Return>"));
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("GENERATE\\ANZEIGE>")) << tambri->output();
  tambri->type("X\r");
  ASSERT_TRUE(tambri->expect("GENERATE>"));
  ASSERT_TRUE(editing_at(*tambri, "GENERATE>"));
  tambri->type("abc");
  ASSERT_TRUE(tambri->expect("abc"));
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("\n(Ende mit X)")) << tambri->output();
  ASSERT_TRUE(tambri->expect("GENERATE>"));
  tambri->type("X\r");
  EXPECT_TRUE(tambri->expect("*** Struktur wurde modifiziert ***")) << tambri->output();
  EXPECT_TRUE(tambri->expect("Speichern [Y/N]:"));
}

TEST_F(Terminal, CtrlCStopsALongSorRunAndTwiceAtOnePromptEndsTheProgram) {
  auto tambri = start();
  to_main_menu(*tambri);
  // SOR with an error bound no run can meet and a limit no one waits for.
  for (const char* answer : {"C", "L", "4", "SI", "2000000000", "X", "SR", "-1", "X", "R"}) {
    tambri->type(std::string(answer) + "\r");
  }
  ASSERT_TRUE(tambri->expect("working...")) << tambri->output();
  usleep(300'000);
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("### Abbruch SOR:  Rel. Fehler:", 20)) << tambri->output();
  ASSERT_TRUE(tambri->expect("CALCUL>"));
  tambri->type("X\r");
  ASSERT_TRUE(tambri->expect("TAMBRI>"));
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("(Ende mit X)"));
  tambri->type(kCtrlC);
  EXPECT_EQ(tambri->wait_exit(), 130) << tambri->output();
}

}  // namespace
}  // namespace tambri
