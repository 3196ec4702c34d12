// The main program: banner, main menu, guards, information screen, command
// line and the end of input. Menus are driven through a structure-less start
// (X at the new-problem menu refuses the load).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/session.h"

namespace tambri::test {
namespace {

using Lines = std::vector<std::string>;

// Start without a structure: the load is refused and the main menu follows.
Lines refused_start(const Lines& commands) {
  Lines input = {"", };
  input.insert(input.end(), commands.begin(), commands.end());
  return input;
}

TEST(MainMenu, BannerAndFirstMenu) {
  TempDir dir;
  SessionResult r = run_session(dir.path(), refused_start({"X"}));
  EXPECT_EQ(r.status, 0);
  const Lines expected = {
      "",
      "                     _____________________________________",
      "                    |             TAMBRI  V4.3            |",
      "                    |     2D-Numerische Feldberechnung    |",
      "                    |    Frei für Lehre und Forschung     |",
      "                    |_____________________________________|",
      "",
      "",
      "Strukturdatei:",
      "",
      "### Abbruch GENERATE ###",
      "",
      "HELP:  G - Generierung/Modifizierung Struktur",
      "       C - Feldberechnung",
      "       R - Ergebnisauswertung",
      "       Q - Info",
      "       X - Exit",
      "",
      "TAMBRI>X",
  };
  EXPECT_EQ(r.lines(), expected) << r.screen;
}

TEST(MainMenu, WrongLettersBlankAnswersAndGuards) {
  TempDir dir;
  SessionResult r = run_session(dir.path(), refused_start({"ä", "", "c", "R", "q", "x"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains_run(r.lines(), {"TAMBRI>ä", "", "### Falsche Eingabe ###", "", "TAMBRI>", "",
                                       "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"TAMBRI>c", "", "### Keine Struktur verfügbar ###", "",
                                       "HELP:  G - Generierung/Modifizierung Struktur"}))
      << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"TAMBRI>R", "", "### Keine Ergebnisse verfügbar ###"})) << r.screen;
  EXPECT_TRUE(contains_run(r.lines(), {"TAMBRI>q", "", "      TAMBRI V4.3", "",
                                       "      Hinweise und Fragen bitte an:", ""}))
      << r.screen;
  EXPECT_EQ(r.lines().back(), "TAMBRI>x");
}

TEST(MainMenu, EndOfInputOutsideTheMainMenuIsStatusOne) {
  TempDir dir;
  SessionResult r = run_session(dir.path(), {});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.lines().back(), "Strukturdatei:");
  EXPECT_NE(r.errors.find('\n'), std::string::npos);
}

// The real executable: options and exit statuses through a pipe.
struct BinaryRun {
  std::string out;
  int status;
};

BinaryRun run_binary(const std::string& args, const std::string& input) {
  TempDir dir;
  write_file(dir / "input.txt", input);
  const std::string command = "cd '" + dir.path().string() + "' && '" + TAMBRI_BINARY + "' " + args +
                              " < input.txt 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  BinaryRun run{"", -1};
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

TEST(CommandLine, HelpVersionAndUnknownOptions) {
  BinaryRun help = run_binary("--help", "");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--headless"), std::string::npos);
  BinaryRun version = run_binary("--version", "");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tambri 4.3\n");
  BinaryRun unknown = run_binary("--colour", "");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
}

TEST(CommandLine, PipedSessionsEndWithoutHanging) {
  EXPECT_EQ(run_binary("--headless", "\nX\n").status, 0);
  EXPECT_EQ(run_binary("--headless", "\n").status, 0);           // input ends at TAMBRI>
  EXPECT_EQ(run_binary("--headless", "neu.dat\nE\nD\n").status, 1);  // ends inside GENERATE
  EXPECT_EQ(run_binary("--headless", "neu.dat\nE\nX\nX").status, 0);  // last line without line end
}

}  // namespace
}  // namespace tambri::test
