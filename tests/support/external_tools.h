#pragma once
// Running the external programs some graphics tests need (Ghostscript, Xvfb,
// xwd). A missing program skips such a test on a developer's machine but fails
// it in CI, where .ci/install-deps must have installed it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tambri::test {

inline bool program_available(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct CommandResult {
  int status;  // exit status, or -1 when it did not exit normally
  std::string output;
};

// Runs a shell command and collects its standard output and error.
inline CommandResult run_command(const std::string& command) {
  CommandResult result{-1, {}};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

// Ghostscript renders the file into bounding boxes: one "%%BoundingBox:"
// line per page, and an error message for a file it cannot read.
inline CommandResult render_postscript(const std::string& path) {
  return run_command("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox '" + path + "'");
}

inline bool rendered_cleanly(const CommandResult& gs) {
  return gs.status == 0 && gs.output.find("Error") == std::string::npos &&
         gs.output.find("%%BoundingBox:") != std::string::npos;
}

}  // namespace tambri::test

#define TAMBRI_REQUIRE_PROGRAM(name)                                        \
  do {                                                                      \
    if (!::tambri::test::program_available(name)) {                         \
      if (std::getenv("CI")) FAIL() << (name) << " is not installed";       \
      GTEST_SKIP() << (name) << " is not installed (run .ci/install-deps)"; \
    }                                                                       \
  } while (0)
