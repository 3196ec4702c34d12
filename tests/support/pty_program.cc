#include "support/pty_program.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace tambri::test {
namespace {

// Whether the program has ended, leaving it to be waited for.
bool ended(pid_t child) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

PtyProgram::PtyProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& dir, const std::string& home) {
  winsize size{};
  size.ws_row = 50;
  size.ws_col = 100;
  child_ = forkpty(&master_, nullptr, nullptr, &size);
  if (child_ == 0) {
    std::vector<std::string> env = {"HOME=" + home, "TERM=xterm", "LANG=C.UTF-8",
                                    std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin")};
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    if (chdir(dir.c_str()) == 0) execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
}

PtyProgram::~PtyProgram() {
  if (child_ > 0 && waitpid(child_, nullptr, WNOHANG) == 0) {
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
}

void PtyProgram::type(std::string_view keys) {
  while (!keys.empty()) {
    const ssize_t n = write(master_, keys.data(), keys.size());
    if (n <= 0) return;
    keys.remove_prefix(static_cast<size_t>(n));
  }
}

bool PtyProgram::read_some(int timeout_ms) {
  pollfd fd{master_, POLLIN, 0};
  if (poll(&fd, 1, timeout_ms) <= 0) return false;
  char buffer[4096];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;  // EIO once the program has ended
  output_.append(buffer, static_cast<size_t>(n));
  return true;
}

bool PtyProgram::expect(std::string_view text, double seconds) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const size_t at = output_.find(text, seen_);
    if (at != std::string::npos) {
      seen_ = at + text.size();
      return true;
    }
    if (seconds_since(start) > seconds) return false;
    if (!read_some(50) && ended(child_)) {
      // Ended: what it wrote last is all there is.
      while (read_some(0)) {
      }
      if (output_.find(text, seen_) == std::string::npos) return false;
    }
  }
}

int PtyProgram::wait_exit(double seconds) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    read_some(50);
    int status = 0;
    if (waitpid(child_, &status, WNOHANG) == child_) {
      child_ = -1;
      return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    if (seconds_since(start) > seconds) return -1;
  }
}

}  // namespace tambri::test
