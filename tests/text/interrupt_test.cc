// SIGINT with its default action (piped input) while a file is replaced: the
// program ends only after the new content is in place, leaving no temporary
// file beside it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/session.h"
#include "text/files.h"

namespace fs = std::filesystem;

TEST(Interrupt, SigintDuringAReplacementEndsTheProgramOnlyAfterTheRename) {
  const tambri::test::TempDir dir;
  const std::string target = (dir / "table.dat").string();
  tambri::test::write_file(target, "old\n");

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGINT, SIG_DFL);
    tambri::PendingFile file(target);
    file.write("first half\n");
    raise(SIGINT);
    file.write("second half\n");
    file.commit(/*sync=*/false);
    _exit(0);  // not reached: the held signal ends the child after the rename
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  EXPECT_EQ(tambri::test::read_file(target), "first half\nsecond half\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}
