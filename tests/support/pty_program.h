#pragma once
// A program run on a pseudo-terminal, typed at as a user would: the keys go
// in through the terminal (so Ctrl-C is the terminal's SIGINT), and the
// output is read as the terminal shows it, escape sequences included.
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace tambri::test {

class PtyProgram {
 public:
  // Starts `program` with `args` in `dir`, with only HOME=`home`, TERM=xterm,
  // LANG=C.UTF-8 and PATH in its environment.
  PtyProgram(const std::string& program, const std::vector<std::string>& args, const std::string& dir,
             const std::string& home);
  ~PtyProgram();  // ends the program when it still runs
  PtyProgram(const PtyProgram&) = delete;
  PtyProgram& operator=(const PtyProgram&) = delete;

  void type(std::string_view keys);
  // Waits until `text` appears in the output after the last text waited for;
  // false after `seconds` without it.
  bool expect(std::string_view text, double seconds = 10);
  // The exit status (128 + signal when a signal ended it), or -1 when it
  // still runs after `seconds`.
  int wait_exit(double seconds = 10);
  const std::string& output() const { return output_; }

 private:
  bool read_some(int timeout_ms);

  pid_t child_ = -1;
  int master_ = -1;
  std::string output_;
  size_t seen_ = 0;  // output up to here was matched already
};

}  // namespace tambri::test
