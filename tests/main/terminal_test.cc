// The program at a (pseudo-)terminal: line editing and history of the
// answers, and Ctrl-C at a prompt, in a picture's wait and in a solver run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "support/child_process.h"
#include "support/session.h"

namespace tambri {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program run on a pseudo-terminal and typed at as a user would: keys go
// in through the terminal (Ctrl-C becomes its SIGINT), the output is read as
// the terminal shows it, escape sequences included. Its environment is only
// HOME=`home`, TERM=xterm and LANG=C.UTF-8.
class PtyProgram : public test::Child {
 public:
  PtyProgram(const fs::path& dir, const fs::path& home)
      : Child("cd '" + dir.string() + "' && exec env -i HOME='" + home.string() +
                  "' TERM=xterm LANG=C.UTF-8 '" TAMBRI_BINARY "' --headless",
              true) {}
  void type(const std::string& keys) { write_input(keys); }
  // Waits until `text` appears after the text last waited for; false when it
  // has not within ten seconds.
  bool expect(const std::string& text) {
    for (const auto end = std::chrono::steady_clock::now() + 10s; output_.find(text, seen_) == std::string::npos;) {
      if (std::chrono::steady_clock::now() > end) return false;
      if (!read_terminal(output_)) usleep(50'000);  // the program has ended and closed the terminal
    }
    seen_ = output_.find(text, seen_) + text.size();
    return true;
  }
  // The exit status (128 + signal when a signal ended it); -1 while it runs.
  int wait_exit() { return Child::wait_exit(10s).value_or(-1); }
  std::string output_;

 private:
  size_t seen_ = 0;
};

const std::string kUp = "\x1b[A", kLeft = "\x1b[D", kBackspace = "\x7f", kCtrlC = "\x03";
constexpr const char* kInfo = "tambri@example.org";

// A scratch working folder with the capacitor example, and a home of its own.
class Terminal : public ::testing::Test {
 protected:
  Terminal() { fs::create_directories(dir / "home"); }
  std::unique_ptr<PtyProgram> start() { return std::make_unique<PtyProgram>(dir.path(), dir / "home"); }
  // Answers, each once its prompt is up.
  static void answer(PtyProgram& tambri, std::initializer_list<std::pair<const char*, const char*>> steps) {
    for (auto [prompt, line] : steps) {
      ASSERT_TRUE(tambri.expect(prompt)) << tambri.output_;
      tambri.type(std::string(line) + "\r");
    }
  }
  // Keys are taken as editing keys only once the line editor has drawn the
  // prompt again from the line's start and taken the terminal out of its line
  // mode (before, the terminal itself would take Backspace while it keeps a
  // line typed ahead).
  static bool editing_at(PtyProgram& tambri, const std::string& prompt) {
    return tambri.expect("\r" + prompt) && test::eventually([&] { return !tambri.terminal_canonical(); }, 10s);
  }

  test::TempDir dir{"kondensa.dat"};
};

TEST_F(Terminal, UpRecallsAnswersOfThisRunAndTheLastAndEditedLinesAreReadAsEdited) {
  {
    auto tambri = start();
    answer(*tambri, {{"Strukturdatei", "kondensa.dat"}, {"GENERATE>", "X"}, {"starten [Y/N]:", "N"}, {"TAMBRI>", "Q"}});
    ASSERT_TRUE(tambri->expect(kInfo) && editing_at(*tambri, "TAMBRI>"));
    tambri->type(kUp + "\r");
    ASSERT_TRUE(tambri->expect(kInfo) && editing_at(*tambri, "TAMBRI>")) << tambri->output_;
    // "XZ", back one, rub out the X, type Q: "QZ" shows the information (as
    // typed, the line would end the program).
    tambri->type("XZ" + kLeft + kBackspace + "Q\r");
    ASSERT_TRUE(tambri->expect(kInfo)) << tambri->output_;
    answer(*tambri, {{"TAMBRI>", "X"}});
    EXPECT_EQ(tambri->wait_exit(), 0);
  }
  // Without a remembered structure an empty answer ends GENERATE; the oldest
  // answer of the last run, recalled, loads the example.
  fs::remove(dir / "history.inp");
  auto tambri = start();
  ASSERT_TRUE(editing_at(*tambri, "Strukturdatei:"));
  for (int k = 0; k < 10; ++k) tambri->type(kUp);
  tambri->type("\r");
  EXPECT_TRUE(tambri->expect("*** Input ready ***")) << tambri->output_;
}

// Ctrl-C drops a line being typed, ends a picture's wait (the structure
// changed before stays changed) and stops a long SOR run; twice at one prompt
// it ends the program.
TEST_F(Terminal, CtrlCDropsTheLineEndsAPictureOrASolverRunAndTwiceEndsTheProgram) {
  auto tambri = start();
  answer(*tambri, {{"Strukturdatei", "kondensa.dat"}, {"GENERATE>", "P"}, {"Wert >", "1 200"}, {"GENERATE>", "AA"}});
  ASSERT_TRUE(tambri->expect("<Return>"));
  tambri->type(kCtrlC);
  answer(*tambri, {{"GENERATE\\ANZEIGE>", "X"}});
  ASSERT_TRUE(editing_at(*tambri, "GENERATE>"));
  tambri->type("abc");
  ASSERT_TRUE(tambri->expect("abc"));
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("\r\n(Ende mit X)\r\n")) << tambri->output_;
  answer(*tambri, {{"GENERATE>", "X"}});
  ASSERT_TRUE(tambri->expect("*** Struktur wurde modifiziert ***")) << tambri->output_;
  // SOR with an error bound no run can meet and a limit no one waits for.
  answer(*tambri, {{"Speichern [Y/N]:", "N"}, {"starten [Y/N]:", "N"}, {"TAMBRI>", "C"}, {"CALCUL>", "L"}});
  answer(*tambri, {{"Auswahl", "4"}, {"CALCUL>", "SI"}, {"Iterationszahl =", "2000000000"}, {"--->", "R"}});
  answer(*tambri, {{"Rel. Fehler =", "-1"}, {"--->", "X"}, {"CALCUL>", "R"}});
  ASSERT_TRUE(tambri->expect("working..."));
  usleep(300'000);
  tambri->type(kCtrlC);
  ASSERT_TRUE(tambri->expect("### Abbruch SOR:  Rel. Fehler:")) << tambri->output_;
  answer(*tambri, {{"CALCUL>", "X"}});
  ASSERT_TRUE(editing_at(*tambri, "TAMBRI>"));
  tambri->type(kCtrlC);  // the hint came once, above: a new prompt only
  ASSERT_TRUE(tambri->expect("\r\n") && editing_at(*tambri, "TAMBRI>")) << tambri->output_;
  tambri->type(kCtrlC);
  EXPECT_EQ(tambri->wait_exit(), 130) << tambri->output_;
}

}  // namespace
}  // namespace tambri
