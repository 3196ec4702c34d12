#pragma once
// Runs a piece of a test in a child process whose files may not grow beyond
// a limit, so that writing them fails the way a full device makes it fail.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace tambri::test {

// Runs `body` in a forked child with RLIMIT_FSIZE = `limit` bytes and returns
// the child's exit status (body's result, or -1 when it did not exit).
inline int with_file_size_limit(rlim_t limit, const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead of killing
    const rlimit rl{limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tambri::test
