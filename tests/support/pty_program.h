#pragma once
// A program run on a pseudo-terminal and typed at as a user would: keys go in
// through the terminal (Ctrl-C becomes its SIGINT), the output is read as the
// terminal shows it, escape sequences included.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace tambri::test {

class PtyProgram {
 public:
  // `program` with `args` in `dir`; its environment is only HOME=`home`,
  // TERM=xterm and LANG=C.UTF-8.
  PtyProgram(std::string program, std::vector<std::string> args, const std::string& dir,
             const std::string& home) {
    winsize size{50, 100, 0, 0};
    child_ = forkpty(&master_, nullptr, nullptr, &size);
    if (child_ != 0) return;
    std::string env[] = {"HOME=" + home, "TERM=xterm", "LANG=C.UTF-8"};
    char* envp[] = {env[0].data(), env[1].data(), env[2].data(), nullptr};
    std::vector<char*> argv{program.data()};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (chdir(dir.c_str()) == 0) execve(program.c_str(), argv.data(), envp);
    _exit(127);
  }
  ~PtyProgram() {
    if (child_ > 0) kill(child_, SIGKILL), waitpid(child_, nullptr, 0);
    close(master_);
  }

  void type(const std::string& keys) {
    for (size_t done = 0; done < keys.size();) {
      const ssize_t n = write(master_, keys.data() + done, keys.size() - done);
      if (n <= 0) return;
      done += static_cast<size_t>(n);
    }
  }
  // Waits until `text` appears after the text last waited for; false when it
  // has not within `seconds`.
  bool expect(const std::string& text, double seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (size_t at; (at = output_.find(text, seen_)) == std::string::npos;) {
      if (std::chrono::steady_clock::now() > end) return false;
      read_some();
    }
    seen_ = output_.find(text, seen_) + text.size();
    return true;
  }
  // The exit status (128 + signal when a signal ended it); -1 while it runs.
  int wait_exit(double seconds = 10) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (waitpid(child_, &status, WNOHANG) != child_) {
      if (std::chrono::steady_clock::now() > end) return -1;
      read_some();
    }
    child_ = -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  }
  const std::string& output() const { return output_; }

 private:
  void read_some() {
    pollfd fd{master_, POLLIN, 0};
    char buffer[4096];
    ssize_t n = 0;
    if (poll(&fd, 1, 50) > 0 && (n = read(master_, buffer, sizeof buffer)) > 0) {
      output_.append(buffer, static_cast<size_t>(n));
    } else if (n < 0) {
      usleep(50'000);  // the program has ended and closed the terminal
    }
  }

  pid_t child_ = -1;
  int master_ = -1;
  std::string output_;
  size_t seen_ = 0;
};

}  // namespace tambri::test
