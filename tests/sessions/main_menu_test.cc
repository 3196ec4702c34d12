// The real executable through a pipe: its options and exit statuses. The
// screens of the main menu are pinned by the scripts under tests/screens/main.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/session.h"

namespace tambri::test {
namespace {

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
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

TEST(CommandLine, HelpVersionAndUnknownOptions) {
  const BinaryRun help = run_binary("--help", "");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--headless"), std::string::npos);
  EXPECT_EQ(run_binary("--version", "").out, "tambri 4.3\n");
  const BinaryRun unknown = run_binary("--colour", "");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
}

TEST(CommandLine, PipedSessionsEndWithoutHanging) {
  EXPECT_EQ(run_binary("--headless", "\nX\n").status, 0);
  EXPECT_EQ(run_binary("--headless", "\n").status, 0);                // input ends at TAMBRI>
  EXPECT_EQ(run_binary("--headless", "neu.dat\nE\nD\n").status, 1);   // ends inside GENERATE
  EXPECT_EQ(run_binary("--headless", "neu.dat\nE\nX\nX").status, 0);  // last line without line end
}

}  // namespace
}  // namespace tambri::test
