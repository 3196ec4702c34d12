// The real executable on a pipe: sessions end with their exit status and
// never hang, the last answer counting without its line end. The options and
// the screens of the main menu are pinned by the scripts under tests/screens/main.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/session.h"

namespace tambri::test {
namespace {

int exit_status(const std::string& input) {
  TempDir dir;
  write_file(dir / "input.txt", input);
  const std::string command =
      "cd '" + dir.path().string() + "' && '" + TAMBRI_BINARY + "' --headless < input.txt > /dev/null 2>&1";
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(CommandLine, PipedSessionsEndWithoutHanging) {
  EXPECT_EQ(exit_status("\nX\n"), 0);
  EXPECT_EQ(exit_status("\n"), 0);                // input ends at TAMBRI>
  EXPECT_EQ(exit_status("neu.dat\nE\nD\n"), 1);   // ends inside GENERATE
  EXPECT_EQ(exit_status("neu.dat\nE\nX\nX"), 0);  // last line without line end
}

}  // namespace
}  // namespace tambri::test
