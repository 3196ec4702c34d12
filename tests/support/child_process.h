#pragma once
// Programs run in the background by the window and terminal tests, and
// waiting for what they do.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace tambri::test {

// True once `condition` holds, tried every 50 ms until `timeout` has passed.
inline bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  for (const auto end = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < end;) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

// A shell command (which execs its program) in the background, its stdin a
// pipe, or (`terminal`) on a 50 x 100 pseudo-terminal whose keys are what we
// write and whose screen is what we read; killed and reaped when the object
// goes.
class Child {
 public:
  explicit Child(const std::string& command, bool terminal = false) {
    int in[2];
    const winsize size{50, 100, 0, 0};
    if (terminal) pid_ = forkpty(&fd_, nullptr, nullptr, &size);
    else if (pipe2(in, O_CLOEXEC) == 0) pid_ = fork();
    else return;
    if (pid_ == 0) {
      if (!terminal) dup2(in[0], 0);
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    if (!terminal) close(in[0]), fd_ = in[1];
  }
  ~Child() { kill_now(), close(fd_); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  // Writes to its stdin (or types at its terminal), and on a pipe ends its
  // input after the `last` piece.
  void write_input(const std::string& text, bool last = false) {
    EXPECT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    if (last) close(fd_), fd_ = open("/dev/null", O_WRONLY | O_CLOEXEC);
  }
  // The terminal's output, added to `screen`, for up to 50 ms; false once the
  // program has ended and closed the terminal.
  bool read_terminal(std::string& screen) {
    pollfd fd{fd_, POLLIN, 0};
    char buffer[4096];
    ssize_t n = 0;
    if (poll(&fd, 1, 50) > 0 && (n = read(fd_, buffer, sizeof buffer)) > 0) screen.append(buffer, size_t(n));
    return n >= 0;
  }
  // Whether its terminal is in the line discipline's canonical mode (or no
  // terminal is there to ask).
  bool terminal_canonical() const {
    termios mode{};
    return tcgetattr(fd_, &mode) != 0 || (mode.c_lflag & ICANON) != 0;
  }
  void kill_now() {
    if (pid_ > 0 && !status_) kill(pid_, SIGKILL), wait_exit(std::chrono::seconds(10));
  }
  // Exit status (128 + the signal that ended it) once it has ended within
  // `timeout`, else nothing.
  std::optional<int> wait_exit(std::chrono::milliseconds timeout) {
    eventually(
        [&] {
          int status = 0;
          if (!status_ && waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
          }
          return status_.has_value();
        },
        timeout);
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
  std::optional<int> status_;
};

}  // namespace tambri::test
