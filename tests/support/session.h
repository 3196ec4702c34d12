#pragma once
// Scripted sessions: feed answer lines to the real dialogue, get the screen.
#include <filesystem>
#include <string>
#include <vector>

namespace tambri::test {

// A fresh empty folder that is removed again; sessions run with it as the
// working directory.
class TempDir {
 public:
  TempDir();
  // ... holding a copy of the example structure `example` ("kondensa.dat").
  explicit TempDir(const std::string& example);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Makes `dir` the working directory while it lives, then restores the one before.
struct InDir {
  explicit InDir(const std::filesystem::path& dir) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InDir() { std::filesystem::current_path(previous); }
  std::filesystem::path previous;
};

struct SessionResult {
  std::string screen;  // stdout as written, echoed input included
  std::string errors;  // stderr
  int status = 0;
  std::vector<std::string> lines() const;  // split_lines(screen)
};

// The text split at its line feeds (a trailing line feed does not add a line).
std::vector<std::string> split_lines(const std::string& text);

// Runs the program in-process in `dir` with the given input lines (each ended by
// a line feed) and headless; the working directory is restored afterwards.
SessionResult run_session(const std::filesystem::path& dir, const std::vector<std::string>& input,
                          const std::vector<std::string>& args = {"--headless"});

// True when `lines` contains `expected` as a contiguous run of lines.
bool contains_run(const std::vector<std::string>& lines, const std::vector<std::string>& expected);

// Reads or writes a whole file as bytes.
std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tambri::test
